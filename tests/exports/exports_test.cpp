// What every built module shows the dynamic loader, read with readelf: the
// symbols it exports and at which version, the version node it defines, the
// host operations it binds and to which library, the libraries it needs, and
// every function of its symbol table. Modules are found by listing this platform's
// folder and its kernels/ subfolder, so modules added later are covered too.
#include "build_paths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

#if defined(__LP64__)
constexpr bool wide = true;
const char *const platform = "glnxa64";
const char *const extension = ".mexa64";
#else
constexpr bool wide = false;
const char *const platform = "glnx86";
const char *const extension = ".mexglx";
#endif

struct ModuleFile {
    std::string folder; // the platform folder, as the build names it
    std::string name;   // the command or kernel name
    std::string file;   // its file name
    std::string path;
    bool kernel_only;
};

void PrintTo(const ModuleFile &m, std::ostream *os) {
    *os << m.path;
}

// The modules of one platform folder (and of its kernels/ subfolder).
std::vector<ModuleFile> discover_in(const std::string &folder, const std::string &ext) {
    std::vector<ModuleFile> found;
    const fs::path root = fs::path(WAVELET_BUILD_DIR) / folder;
    for (const bool kernel_only : {false, true}) {
        const fs::path dir = kernel_only ? root / "kernels" : root;
        std::error_code ec;
        for (const auto &entry : fs::directory_iterator(dir, ec)) {
            if (!entry.is_regular_file() || entry.path().extension() != ext) continue;
            found.push_back({folder, entry.path().stem().string(), entry.path().filename().string(),
                             entry.path().string(), kernel_only});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto &a, const auto &b) { return a.path < b.path; });
    return found;
}

std::vector<ModuleFile> discover() {
    return discover_in(platform, extension);
}

// What each platform's loader requires of a module: the file format
// llvm-objdump names, the array-creation entry a command binds (the others
// it must not bind), whether the kernel-only modules are delivered there,
// and the commands that have no module there.
struct Platform {
    std::string folder, ext, format, create;
    bool kernel_modules;
    std::set<std::string> moduleless;
};
const std::vector<Platform> platforms = {
    {"glnxa64", ".mexa64", "elf64-x86-64", "mxCreateDoubleMatrix_700", true, {}},
    {"glnx86", ".mexglx", "elf32-i386", "mxCreateDoubleMatrix", true, {}},
    {"aarch64", ".mexa64", "elf64-littleaarch64", "mxCreateDoubleMatrix_700", false, {}},
    {"win64", ".mexw64", "coff-x86-64", "mxCreateDoubleMatrix_730", false, {}},
    {"maci", ".mexmaci", "mach-o 32-bit i386", "mxCreateDoubleMatrix", true, {}},
    {"maci64",
     ".mexmaci64",
     "mach-o 64-bit x86-64",
     "mxCreateDoubleMatrix_730",
     false,
     {"MeldGrid_WR"}},
    {"maca64", ".mexmaca64", "mach-o arm64", "mxCreateDoubleMatrix_730", false, {}},
    {"octave/mex", ".mex", "elf64-x86-64", "", false, {}},
};

const Platform &platform_of(const ModuleFile &m) {
    for (const auto &p : platforms)
        if (p.folder == m.folder) return p;
    return platforms.front();
}

// Every platform folder the build made (those the filter keeps); the i386
// build reads its own folder only.
std::vector<ModuleFile> discover_everywhere(bool (*keep)(const Platform &) = nullptr) {
    std::vector<ModuleFile> all;
    for (const auto &p : platforms)
        if ((wide || p.folder == platform) && (keep == nullptr || keep(p)))
            for (const auto &m : discover_in(p.folder, p.ext)) all.push_back(m);
    return all;
}

// A module's test name: its path below the build folder, in word characters.
std::string test_name(const ModuleFile &m) {
    std::string name = m.path.substr(std::string(WAVELET_BUILD_DIR).size() + 1);
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

std::string run(const std::string &command) {
    std::string text;
    FILE *p = popen(command.c_str(), "r");
    if (p == nullptr) return text;
    char buf[4096];
    size_t got;
    while ((got = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, got);
    pclose(p);
    return text;
}

std::string readelf(const std::string &options, const std::string &path) {
    return run(std::string(READELF_PATH) + " -W " + options + " '" + path + "' 2>&1");
}

std::vector<std::string> lines_of(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> fields_of(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> f;
    for (std::string w; in >> w;) f.push_back(w);
    return f;
}

struct DynamicSymbol {
    std::string name;
    std::string version;  // "" when unversioned
    bool default_version; // name@@version
    bool defined;
    bool absolute;
    int version_index = 0; // the "(N)" readelf gives an undefined symbol
};

std::vector<DynamicSymbol> dynamic_symbols(const std::string &path) {
    std::vector<DynamicSymbol> syms;
    static const std::regex row(R"(^\s*\d+:\s)");
    for (const auto &line : lines_of(readelf("--dyn-syms", path))) {
        if (!std::regex_search(line, row)) continue;
        const auto f = fields_of(line);
        if (f.size() < 8) continue; // the null symbol
        DynamicSymbol s;
        std::string name = f[7];
        const size_t at = name.find('@');
        s.default_version = name.compare(at == std::string::npos ? 0 : at, 2, "@@") == 0;
        if (at != std::string::npos) {
            s.version = name.substr(at + (s.default_version ? 2 : 1));
            name.resize(at);
        }
        s.name = name;
        s.defined = f[6] != "UND";
        s.absolute = f[6] == "ABS";
        if (f.size() > 8 && f[8].size() > 2 && f[8].front() == '(')
            s.version_index = std::stoi(f[8].substr(1));
        syms.push_back(s);
    }
    return syms;
}

struct Versions {
    std::string base;                     // the BASE definition
    std::vector<std::string> defined;     // every other definition
    std::map<int, std::string> needed_in; // version index -> library
    std::map<int, std::string> needed_as; // version index -> version name
};

Versions versions(const std::string &path) {
    Versions v;
    static const std::regex def(R"(Flags:\s+(\S+)\s+Index:\s+\d+\s+Cnt:\s+\d+\s+Name:\s+(\S+))");
    static const std::regex file(R"(Version:\s+\d+\s+File:\s+(\S+))");
    static const std::regex need(R"(Name:\s+(\S+)\s+Flags:\s+\S+\s+Version:\s+(\d+))");
    std::string library;
    for (const auto &line : lines_of(readelf("-V", path))) {
        std::smatch m;
        if (std::regex_search(line, m, def)) {
            if (m[1] == "BASE")
                v.base = m[2];
            else
                v.defined.push_back(m[2]);
        } else if (std::regex_search(line, m, file)) {
            library = m[1];
        } else if (std::regex_search(line, m, need)) {
            v.needed_in[std::stoi(m[2])] = library;
            v.needed_as[std::stoi(m[2])] = m[1];
        }
    }
    return v;
}

std::vector<std::string> needed_libraries(const std::string &path) {
    std::vector<std::string> libs;
    static const std::regex needed(R"(\(NEEDED\)\s+Shared library:\s+\[([^\]]+)\])");
    for (const auto &line : lines_of(readelf("-d", path))) {
        std::smatch m;
        if (std::regex_search(line, m, needed)) libs.push_back(m[1]);
    }
    return libs;
}

bool host_operation(const std::string &name) {
    return name.rfind("mx", 0) == 0 || name.rfind("mex", 0) == 0;
}

void expect_host_calls(const std::set<std::string> &calls, const std::string &create);

class Exports : public ::testing::TestWithParam<ModuleFile> {};

TEST_P(Exports, OnlyTheEntriesAtVersionMEX) {
    const ModuleFile &mod = GetParam();
    const Versions v = versions(mod.path);
    std::set<std::string> exported;
    for (const auto &s : dynamic_symbols(mod.path)) {
        if (!s.defined) continue;
        // The version node itself appears as an absolute symbol of its name.
        if (s.absolute && std::count(v.defined.begin(), v.defined.end(), s.name)) continue;
        exported.insert(s.name + (s.default_version ? "@@" : "@") + s.version);
    }
    const std::set<std::string> want =
        mod.kernel_only ? std::set<std::string>{"mexVersion@@MEX"}
                        : std::set<std::string>{"mexFunction@@MEX", "mexVersion@@MEX"};
    EXPECT_EQ(exported, want);
}

TEST_P(Exports, VersionNodeNamedAfterTheFile) {
    const ModuleFile &mod = GetParam();
    const Versions v = versions(mod.path);
    EXPECT_EQ(v.base, mod.file);
    EXPECT_EQ(v.defined, std::vector<std::string>{"MEX"});
}

TEST_P(Exports, HostOperationsBoundAtV7) {
    const ModuleFile &mod = GetParam();
    const Versions v = versions(mod.path);
    std::set<std::string> host_calls;
    for (const auto &s : dynamic_symbols(mod.path)) {
        if (s.defined) continue;
        const auto lib = v.needed_in.find(s.version_index);
        const std::string from = lib == v.needed_in.end() ? "" : lib->second;
        if (host_operation(s.name)) {
            host_calls.insert(s.name);
            EXPECT_EQ(s.version, "v7.0") << s.name;
            EXPECT_EQ(from, s.name.rfind("mex", 0) == 0 ? "libmex.so" : "libmx.so") << s.name;
        } else if (!s.version.empty()) {
            // Anything else comes from the C or mathematics library only: no
            // C++ runtime, no compiler support library.
            EXPECT_TRUE(std::regex_match(from, std::regex(R"(lib[cm]\.so\.\d+)")))
                << s.name << "@" << s.version << " from " << from;
        }
    }
    if (mod.kernel_only) {
        // A kernel never calls the host.
        EXPECT_TRUE(host_calls.empty()) << *host_calls.begin();
        return;
    }
    expect_host_calls(host_calls, platform_of(mod).create);
}

// A command binds the host operations every gateway calls and the platform's
// array-creation entry, and no other creation entry.
void expect_host_calls(const std::set<std::string> &calls, const std::string &create) {
    for (const char *other :
         {"mxCreateDoubleMatrix", "mxCreateDoubleMatrix_700", "mxCreateDoubleMatrix_730"})
        if (other != create) {
            EXPECT_EQ(calls.count(other), 0u) << "binds " << other;
        }
    for (const std::string &always : {create, std::string("mxGetM"), std::string("mxGetN"),
                                      std::string("mxGetPr"), std::string("mexErrMsgTxt")})
        EXPECT_EQ(calls.count(always), 1u) << "does not bind " << always;
}

TEST_P(Exports, NeedsOnlyTheHostAndTheCLibraries) {
    const ModuleFile &mod = GetParam();
    const auto libs = needed_libraries(mod.path);
    std::multiset<std::string> kinds;
    for (const auto &lib : libs) {
        if (std::regex_match(lib, std::regex(R"(libm\.so(\.\d+)?)")))
            kinds.insert("libm");
        else if (std::regex_match(lib, std::regex(R"(libc\.so(\.\d+)?)")))
            kinds.insert("libc");
        else
            kinds.insert(lib);
    }
    EXPECT_EQ(kinds,
              (std::multiset<std::string>{"libc", "libm", "libmat.so", "libmex.so", "libmx.so"}));
}

// This build's own modules, loaded into the stand-in host.
class Loaded : public ::testing::TestWithParam<ModuleFile> {};

TEST_P(Loaded, VersionQueryAnswers) {
    const ModuleFile &mod = GetParam();
    const standin::Module m(mod.path);
    ASSERT_TRUE(m.loaded()) << m.load_error();
    EXPECT_EQ(m.version(), "MATLAB R14 native");
    EXPECT_EQ(m.has_gateway(), !mod.kernel_only);
}

std::string objdump(const std::string &options, const std::string &path) {
    return run(std::string(OBJDUMP_PATH) + " " + options + " '" + path + "' 2>&1");
}

// What a Windows or macOS loader reads of a module: the entries it exports,
// the host operations it binds, and the libraries it needs (a Windows DLL's
// names, a Mach-O bundle's install names), C names without Mach-O's leading
// underscore.
struct Binds {
    std::set<std::string> exports, host_calls, other_calls, libraries;
};

Binds bindings(const ModuleFile &mod) {
    Binds b;
    auto bare = [](std::string name) { return name.erase(0, name.rfind('_', 0) == 0); };
    if (mod.folder == "win64") {
        // The export table's rows end in the name; each "DLL Name:" opens the
        // names imported from that DLL.
        static const std::regex dll(R"(^\s*DLL Name: (\S+)$)"), row(R"(^\s+\d+\s+(\S+)$)"),
            exported(R"(^\s+\d+\s+0x[0-9a-f]+\s+(\S+)$)");
        std::string from;
        bool exports = false;
        for (const auto &line : lines_of(objdump("-p", mod.path))) {
            std::smatch m;
            if (line.rfind("Export Table:", 0) == 0) {
                exports = true;
            } else if (std::regex_match(line, m, dll)) {
                from = m[1];
                b.libraries.insert(from);
            } else if (exports && std::regex_match(line, m, exported)) {
                b.exports.insert(m[1]);
            } else if (!exports && !from.empty() && std::regex_match(line, m, row)) {
                (from == "libmx.dll" || from == "libmex.dll" ? b.host_calls : b.other_calls)
                    .insert(m[1]);
            }
        }
        return b;
    }
    const std::string nm = std::string(NM_PATH) + " --format=just-symbols ";
    for (const auto &name : lines_of(run(nm + "-g --defined-only '" + mod.path + "'")))
        b.exports.insert(bare(name));
    for (const auto &name : lines_of(run(nm + "-u '" + mod.path + "'")))
        (host_operation(bare(name)) ? b.host_calls : b.other_calls).insert(bare(name));
    static const std::regex dylib(R"(^\s+(\S+) \(compatibility)");
    for (const auto &line : lines_of(objdump("--macho --dylibs-used", mod.path))) {
        std::smatch m;
        if (std::regex_search(line, m, dylib)) b.libraries.insert(m[1]);
    }
    return b;
}

// Every module, whatever its platform: the format and processor of its
// platform, and no fused multiply-add instruction anywhere (each product and
// each sum rounds on its own).
class Loaders : public ::testing::TestWithParam<ModuleFile> {};

TEST_P(Loaders, FormatAndArithmeticOfItsPlatform) {
    const ModuleFile &mod = GetParam();
    const Platform &p = platform_of(mod);
    EXPECT_NE(objdump("-f", mod.path).find("file format " + p.format + "\n"), std::string::npos)
        << "not " << p.format;
    const std::string code = objdump("-d", mod.path);
    std::smatch m;
    EXPECT_FALSE(
        std::regex_search(code, m, std::regex(R"(\s(v?fn?m(add|sub)[0-9a-z]*|fml[as])[ .\t])")))
        << "holds " << m[1];
    // The i386 macOS sums round to double in SSE2 registers: x87 arithmetic
    // there would round differently (the x87 stack only carries floor's
    // result, which loads and stores do not round).
    if (p.folder == "maci") {
        EXPECT_FALSE(std::regex_search(
            code, m, std::regex(R"(\s(fi?(add|sub|subr|mul|div|divr)p?)[lsq]?\s)")))
            << "holds x87 arithmetic: " << m[1];
    }
}

// A Windows DLL (PE32+) exports only mexFunction and imports by name from
// the host's libmx.dll and libmex.dll and from Windows' own KERNEL32.dll and
// msvcrt.dll: never a compiler runtime DLL. A macOS bundle exports only its
// entry (no version query) and binds the host's libraries where MATLAB
// keeps them (beside the module on i386, through the run path elsewhere),
// with no C++ runtime.
class Bindings : public ::testing::TestWithParam<ModuleFile> {};

TEST_P(Bindings, AsTheLoaderExpects) {
    const ModuleFile &mod = GetParam();
    const Platform &p = platform_of(mod);
    const bool windows = p.folder == "win64";
    const Binds b = bindings(mod);
    std::set<std::string> libraries;
    if (windows) {
        const std::string header = objdump("-p", mod.path);
        EXPECT_NE(header.find("(PE32+)"), std::string::npos);
        EXPECT_NE(header.find("\tDLL\n"), std::string::npos) << "not a DLL";
        EXPECT_EQ(b.exports, std::set<std::string>{"mexFunction"});
        for (const auto &lib : b.libraries)
            EXPECT_TRUE(
                std::regex_match(lib, std::regex("lib(mx|mex)\\.dll|KERNEL32\\.dll|msvcrt\\.dll")))
                << "needs " << lib;
        libraries = {"libmx.dll", "libmex.dll"};
    } else {
        EXPECT_NE(objdump("--macho --private-header", mod.path).find(" BUNDLE "), std::string::npos)
            << "not a bundle";
        EXPECT_EQ(b.exports, std::set<std::string>{mod.kernel_only ? "mexVersion" : "mexFunction"});
        for (const auto &name : b.other_calls)
            EXPECT_FALSE(std::regex_search(name, std::regex("^(_Z|__cxa|__gxx)")))
                << "needs the C++ runtime symbol " << name;
        for (const auto &lib : b.libraries)
            EXPECT_FALSE(std::regex_search(lib, std::regex(R"(libc\+\+|libstdc\+\+)"))) << lib;
        const std::string dir = p.folder == "maci" ? "@loader_path/" : "@rpath/";
        if (!mod.kernel_only)
            for (const char *lib : {"libmx", "libmex", "libmat"})
                libraries.insert(dir + lib + ".dylib");
    }
    for (const auto &lib : libraries) EXPECT_EQ(b.libraries.count(lib), 1u) << "lacks " << lib;
    if (mod.kernel_only)
        EXPECT_TRUE(b.host_calls.empty()) << *b.host_calls.begin();
    else
        expect_host_calls(b.host_calls, p.create);
    if (windows) {
        const std::set<std::string> allowed = {"mxGetM",         "mxGetN",       "mxGetPr",
                                               "mxIsDouble",     "mxIsComplex",  "mxIsSparse",
                                               "mxDestroyArray", "mexErrMsgTxt", p.create};
        for (const auto &name : b.host_calls) EXPECT_EQ(allowed.count(name), 1u) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Everywhere, Loaders, ::testing::ValuesIn(discover_everywhere()),
                         [](const auto &info) { return test_name(info.param); });
// The ELF modules' bindings are read with readelf (Exports, above); the i386
// build reads its own folder only, so it has none of these.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Bindings);
INSTANTIATE_TEST_SUITE_P(WindowsAndMacOS, Bindings,
                         ::testing::ValuesIn(discover_everywhere([](const Platform &p) {
                             return p.format.find("elf") != 0;
                         })),
                         [](const auto &info) { return test_name(info.param); });

// The kernels and routines each command module holds; a kernel-only module
// holds its own kernel alone.
const std::map<std::string, std::set<std::string>> command_holds = {
    {"SinkCoarse", {"downlo"}},
    {"SinkDetail", {"mirrorfilt", "downhi"}},
    {"RaiseCoarse", {"uplo"}},
    {"RaiseDetail", {"mirrorfilt", "uphi"}},
    {"SiftGrid_WR", {"mirrorfilt", "downlo", "downhi", "strided", "dpwt2"}},
    {"MeldGrid_WR", {"mirrorfilt", "uplo", "uphi", "strided", "idpwt2"}},
    {"SiftSignal_WR", {"mirrorfilt", "downlo", "downhi", "dpwt"}},
    {"MeldSignal_WR", {"mirrorfilt", "upsum", "idpwt"}},
};

// What a function in a module's symbol table belongs to, from its name with
// clones, return type, namespace and arguments taken off: a kernel or
// routine of the deliverables (with its plain loops, vector forms and their
// helpers), or one of the kinds every module may hold ("gateway",
// "dispatch", "shared" vector and sum helpers, "runtime" of the compiler
// and C library). An empty answer is a function nobody has placed.
std::string owner_of(std::string name) {
    name = std::regex_replace(name, std::regex(R"( \[clone [^\]]*\])"), "");
    name = std::regex_replace(name, std::regex(R"(@@?\S+$)"), "");
    // The call frame, its templates (return type first) among them.
    if (std::regex_search(name, std::regex(R"(^(\S+ )?frame::)"))) return "gateway";
    name = std::regex_replace(name, std::regex(R"(^\S+ \(anonymous namespace\)::)"), "");
    name = std::regex_replace(name, std::regex(R"(\(anonymous namespace\)::)"), "");
    name = name.substr(0, name.find_first_of("(<"));
    name = name.substr(0, name.find(".constprop"));
    name = name.substr(0, name.find(".part"));
    static const std::vector<std::pair<std::regex, std::string>> rules = {
        // The vector sums, the signal adaptor and the memory helpers serve
        // every kernel and transform; the grid passes and their plan serve
        // both grid transforms. Each layer keeps its helpers in a namespace
        // of its own, so what a helper is called does not matter here.
        {std::regex("(tiles|signal_lanes)::.*"), "shared"},
        {std::regex("grid::.*"), "grid"},
        {std::regex("mirrorfilt|mirrorsymmfilt|downlopbs|downhipbs|uplopbs|uphipbs"), ""},
        {std::regex("(downlo|downhi|uplo|uphi)(_.*)?"), ""},
        {std::regex("upsum(_(plain|sse2|avx2|avx512|neon))?"), "upsum"},
        {std::regex("dpwt|idpwt"), ""},
        {std::regex("idpwt2(_.*)?"), "idpwt2"},
        {std::regex("dpwt2(_.*)?"), "dpwt2"},
        {std::regex("unpackdouble|packdouble|copydouble|adddouble"), "strided"},
        {std::regex("mexFunction|mexVersion"), "gateway"},
        {std::regex("simd_variant|simd_best_variant|simd_force_variant|detect"), "dispatch"},
        {std::regex("sum_forward|sum_backward|wrap_index|advance_index|copy_lanes|load|store|"
                    "stream|put|stream_fence|vector_aligned|lanes"),
         "shared"},
        {std::regex(
             "_init|_fini|frame_dummy|deregister_tm_clones|register_tm_clones|call_weak_fn|__.*"),
         "runtime"},
    };
    for (const auto &[pattern, owner] : rules) {
        std::smatch m;
        if (!std::regex_match(name, m, pattern)) continue;
        if (!owner.empty()) return owner;
        // A kernel's own name, or its name before a form's suffix.
        return name.substr(0, name.find('_'));
    }
    return "";
}

// The functions a module defines, demangled, from its symbol table (ELF,
// PE or Mach-O alike). Mach-O gives C names one more leading underscore.
std::vector<std::string> defined_functions(const std::string &path) {
    const bool mach_o = path.find(".mexmac") != std::string::npos;
    std::vector<std::string> names;
    static const std::regex row(R"(^\S*\s+([TtWw])\s+(.+)$)");
    for (const auto &line :
         lines_of(run(std::string(NM_PATH) + " -C --defined-only '" + path + "' 2>&1"))) {
        std::smatch m;
        if (!std::regex_match(line, m, row)) continue;
        std::string name = m[2];
        if (mach_o && name.find('(') == std::string::npos && name.rfind('_', 0) == 0)
            name.erase(0, 1);
        names.push_back(name);
    }
    return names;
}

// Every function in the module's symbol table, vector forms and helpers
// included, belongs to what the deliverable holds or to the kinds every
// module may hold, and every kernel and routine the deliverable holds is
// there. On Windows and macOS the C runtime linked into a module, and the
// host operations' import stubs, are C functions of no deliverable.
class Holdings : public ::testing::TestWithParam<ModuleFile> {};

TEST_P(Holdings, ExactlyItsKernelsAndRoutines) {
    const ModuleFile &mod = GetParam();
    std::set<std::string> want;
    if (mod.kernel_only) {
        want = {mod.name};
    } else {
        const auto it = command_holds.find(mod.name);
        if (it == command_holds.end()) GTEST_SKIP() << "no assignment known for " << mod.name;
        want = it->second;
        // The 80-bit build adds the branches as doubles, apart from its sums.
        if (mod.name == "MeldSignal_WR" && mod.path.find("/glnx86/") != std::string::npos)
            want = {"mirrorfilt", "uplo", "uphi", "idpwt"};
    }
    const bool elf = mod.path.find(".mexw64") == std::string::npos &&
                     mod.path.find(".mexmac") == std::string::npos;
    const auto functions = defined_functions(mod.path);
    ASSERT_FALSE(functions.empty()) << "no symbol table: modules keep theirs";
    const std::set<std::string> anywhere = {"gateway", "dispatch", "shared", "runtime"};
    std::set<std::string> held;
    for (const auto &name : functions) {
        std::string owner = owner_of(name);
        if (owner.empty() && !elf && name.find('(') == std::string::npos) owner = "runtime";
        EXPECT_FALSE(owner.empty()) << "unplaced function " << name;
        if (owner == "grid") {
            EXPECT_TRUE(want.count("dpwt2") || want.count("idpwt2")) << name;
        } else if (!owner.empty() && !anywhere.count(owner)) {
            EXPECT_TRUE(want.count(owner)) << "holds " << name << " of " << owner;
        }
        held.insert(owner);
    }
    for (const auto &item : want) EXPECT_TRUE(held.count(item)) << "lacks " << item;
}

INSTANTIATE_TEST_SUITE_P(ExportsEverywhere, Holdings, ::testing::ValuesIn(discover_everywhere()),
                         [](const auto &info) { return test_name(info.param); });

// The MATLAB-interface modules this program's readelf reads as this build's
// own: the Linux folder, and arm64 Linux, which takes the x86-64 Linux format
// and exports.
INSTANTIATE_TEST_SUITE_P(Modules, Exports,
                         ::testing::ValuesIn(discover_everywhere([](const Platform &p) {
                             return p.folder == platform || p.folder == "aarch64";
                         })),
                         [](const auto &info) { return test_name(info.param); });
INSTANTIATE_TEST_SUITE_P(Modules, Loaded, ::testing::ValuesIn(discover()),
                         [](const auto &info) { return test_name(info.param); });

// The listings above must not pass by finding nothing: every platform folder
// the build made holds every command that has a module there, and the
// kernel-only modules where they are delivered.
TEST(ModuleFolders, HoldEveryDeliverable) {
    for (const auto &p : platforms) {
        if (!wide && p.folder != platform) continue;
        if (!fs::exists(fs::path(WAVELET_BUILD_DIR) / p.folder)) {
            EXPECT_NE(p.folder, platform) << "this build's own folder is missing";
            continue;
        }
        std::set<std::string> commands, kernels;
        for (const auto &m : discover_in(p.folder, p.ext))
            (m.kernel_only ? kernels : commands).insert(m.name);
        for (const auto &[name, holds] : command_holds)
            EXPECT_EQ(commands.count(name), p.moduleless.count(name) ? 0u : 1u)
                << p.folder << " " << name;
        // The kernel-only modules the build delivers, as it names them.
        std::istringstream names(KERNEL_MODULES);
        for (std::string k; std::getline(names, k, ',');)
            EXPECT_EQ(kernels.count(k), p.kernel_modules ? 1u : 0u) << p.folder << " " << k;
    }
}

} // namespace
