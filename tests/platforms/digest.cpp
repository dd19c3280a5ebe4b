// wavelet_digest: a fingerprint of every result this build computes.
//
//   wavelet_digest BUILD_DIR [TABLE]
//   wavelet_digest --write BUILD_DIR TABLE
//
// Runs each kernel and transform on fixed inputs (made here from integer
// arithmetic alone, so every platform starts from the same bits) with every
// vector variant the processor runs, requires each variant to give exactly
// the bits of the plain loops, and prints one 64-bit hash of the bits per
// routine. Two builds that print the same lines computed the same bits. The first line names the
// variants compared, and is left out when builds for different processors are compared.
//
// TABLE is the committed table of fixed inputs: every command on every kind
// of input (sizes 1 to 1024, rows and columns, filters of 0 to 20 taps and
// longer than the signal, every kind of level), each line the input and the
// digest of the result's bits, one column for the 64-bit builds and one for
// the i386 build (whose sums follow the 80-bit rule). Each call must give
// its digest; a changed one is named. --write fills this build's column.
#include "kernels/periodic/periodic.h"
#include "kernels/simd/simd.h"
#include "session.h"
#include "transform2d/transform2d.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Vec = std::vector<double>;

uint64_t next(uint64_t &state) { // splitmix64
    uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// Doubles of both signs over 25 binades with full mantissas: an integer of
// 53 bits scaled by an exact power of two.
Vec values(size_t count, uint64_t seed) {
    Vec v(count);
    for (double &x : v) {
        const uint64_t r = next(seed);
        const double mantissa = static_cast<double>(r >> 11) * 0x1p-53;
        const int scale = static_cast<int>(r & 31) % 25 - 12;
        x = std::ldexp((r >> 5) & 1 ? -mantissa : mantissa, scale);
    }
    return v;
}

uint64_t hash_bits(uint64_t h, const double *x, size_t count) { // FNV-1a over the bytes
    for (size_t i = 0; i < count; ++i) {
        uint64_t b;
        std::memcpy(&b, &x[i], sizeof b);
        for (int k = 0; k < 8; ++k) {
            h ^= (b >> (8 * k)) & 0xff;
            h *= 0x100000001b3ULL;
        }
    }
    return h;
}
constexpr uint64_t hash_start = 0xcbf29ce484222325ULL;

const Vec daub4 = {0.48296291314453416, 0.8365163037378079, 0.2241438680420134,
                   -0.12940952255126037};

// The filters: two lengths people use, and arbitrary ones up to 30 taps.
std::vector<Vec> filters() {
    return {{0.7071067811865476, 0.7071067811865476},
            daub4,
            values(3, 1003),
            values(8, 1008),
            values(13, 1013),
            values(20, 1020),
            values(30, 1030)};
}

Vec mirror(const Vec &h) {
    Vec g(h.size());
    mirrorfilt(h.data(), g.data(), static_cast<int32_t>(h.size()));
    return g;
}

// One routine's output for one input, computed with the variant in use.
using Run = std::function<Vec()>;

bool failed = false;

// Hashes the outputs of the cases under the plain loops after checking that
// every other variant gives the same bits.
void report(const char *routine, const std::vector<Run> &cases) {
    uint64_t h = hash_start;
    for (size_t k = 0; k < cases.size(); ++k) {
        simd_force_variant(simd_plain);
        const Vec want = cases[k]();
        for (int v = simd_plain + 1; v <= simd_best_variant(); ++v) {
            simd_force_variant(v);
            const Vec got = cases[k]();
            if (got.size() != want.size() ||
                std::memcmp(got.data(), want.data(), got.size() * sizeof(double)) != 0) {
                std::fprintf(stderr, "%s, case %zu: variant %d differs from the plain loops\n",
                             routine, k, v);
                failed = true;
            }
        }
        h = hash_bits(h, want.data(), want.size());
    }
    simd_force_variant(-1);
    std::printf("routine %s %016llx\n", routine, static_cast<unsigned long long>(h));
}

void kernels() {
    const std::vector<Vec> fs = filters();
    std::vector<Run> lo, hi, up_lo, up_hi, sum;
    uint64_t seed = 1;
    for (int32_t n : {2, 4, 6, 16, 38, 64, 250, 1024, 4098}) {
        for (const Vec &h : fs) {
            const Vec x = values(size_t(n), seed++), y = values(size_t(n), seed++);
            const auto m = static_cast<int32_t>(h.size());
            const Vec g = mirror(h);
            lo.push_back([=] {
                Vec out(size_t(n) / 2);
                downlo(x.data(), n, h.data(), m, out.data());
                return out;
            });
            hi.push_back([=] {
                Vec out(size_t(n) / 2);
                downhi(x.data(), n, g.data(), m, out.data());
                return out;
            });
            up_lo.push_back([=] {
                Vec out(2 * size_t(n));
                uplo(x.data(), n, h.data(), m, out.data());
                return out;
            });
            up_hi.push_back([=] {
                Vec out(2 * size_t(n));
                uphi(x.data(), n, g.data(), m, out.data());
                return out;
            });
            sum.push_back([=] {
                Vec out(2 * size_t(n));
                upsum(x.data(), y.data(), n, g.data(), h.data(), m, out.data());
                return out;
            });
        }
    }
    report("downlo", lo);
    report("downhi", hi);
    report("uplo", up_lo);
    report("uphi", up_hi);
    report("upsum", sum);
}

void grids() {
    const std::vector<Vec> fs = filters();
    std::vector<Run> forward, inverse;
    uint64_t seed = 500;
    for (int32_t J : {1, 2, 4, 6, 8, 9}) {
        const int32_t n = int32_t(1) << J;
        for (const Vec &h : fs) {
            // The largest grid with the short filters only, to keep the
            // emulated builds quick.
            if (J == 9 && h.size() > 8) continue;
            const Vec src = values(size_t(n) * size_t(n), seed++);
            const Vec g = mirror(h);
            const auto m = static_cast<int32_t>(h.size());
            for (int32_t L : {0, J / 2, J - 1}) {
                forward.push_back([=] {
                    Vec out(src.size()), work(3 * size_t(n));
                    dpwt2(src.data(), n, n, L, J, g.data(), h.data(), m, out.data(), work.data());
                    return out;
                });
                inverse.push_back([=] {
                    Vec out(src.size()), work(4 * size_t(n));
                    idpwt2(src.data(), n, n, L, J, g.data(), h.data(), m, out.data(), work.data());
                    return out;
                });
            }
        }
    }
    report("dpwt2", forward);
    report("idpwt2", inverse);
}

// One input of the table: its text names it completely.
struct Case {
    std::string command;
    size_t rows, cols;
    size_t taps;
    double level; // the grid commands' level
    uint64_t seed;

    std::string text() const {
        char buf[160];
        std::snprintf(buf, sizeof buf, "%s %zux%zu taps=%zu level=%.17g seed=%llu", command.c_str(),
                      rows, cols, taps, level, static_cast<unsigned long long>(seed));
        return buf;
    }
};

std::vector<Case> table_cases() {
    std::vector<Case> cases;
    uint64_t seed = 1;
    for (const char *c : {"SinkCoarse", "SinkDetail", "RaiseCoarse", "RaiseDetail"})
        for (size_t n : {1, 2, 4, 8, 16, 64, 256, 1024})
            for (bool row : {true, false})
                for (size_t m : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{4}, size_t{7},
                                 size_t{8}, size_t{13}, size_t{20}, n + 3})
                    // cppcheck-suppress useStlAlgorithm
                    cases.push_back({c, row ? 1 : n, row ? n : 1, m, 0, seed++});
    for (const char *c : {"SiftGrid_WR", "MeldGrid_WR"})
        for (size_t J : {0, 1, 2, 3, 5, 7}) {
            const size_t n = size_t{1} << J;
            const double j = static_cast<double>(J);
            for (double level : {-2.0, 0.0, 0.49, 1.0, 1.5, std::floor(j / 2), j, j + 3})
                for (size_t m : {size_t{0}, size_t{1}, size_t{2}, size_t{4}, size_t{8}, size_t{13},
                                 size_t{20}, 2 * n + 1})
                    // cppcheck-suppress useStlAlgorithm
                    cases.push_back({c, n, n, m, level, seed++});
        }
    // The signal commands: one row, one column, and matrices of signals
    // (none, one and several columns).
    struct Shape {
        size_t rows, cols;
    };
    for (const char *c : {"SiftSignal_WR", "MeldSignal_WR"})
        for (const Shape s : {Shape{1, 1}, Shape{1, 8}, Shape{16, 1}, Shape{1, 256}, Shape{4, 0},
                              Shape{2, 3}, Shape{32, 5}}) {
            const size_t n = s.rows == 1 ? s.cols : s.rows;
            size_t J = 0;
            while ((size_t{1} << J) < n) ++J;
            const double j = static_cast<double>(J);
            for (double level : {-2.0, 0.49, 1.5, j - 1, j + 1})
                for (size_t m : {size_t{0}, size_t{1}, size_t{4}, size_t{7}, size_t{20}, n + 3})
                    // cppcheck-suppress useStlAlgorithm
                    cases.push_back({c, s.rows, s.cols, m, level, seed++});
        }
    // Long signals, with filters up to 255 taps.
    for (const char *c : {"SiftSignal_WR", "MeldSignal_WR"})
        for (double level : {0.0, 5.0})
            for (size_t m : {size_t{4}, size_t{20}, size_t{255}})
                // cppcheck-suppress useStlAlgorithm
                cases.push_back({c, 8192, 1, m, level, seed++});
    return cases;
}

// The digest of the case's result (or of its message, for a call that fails)
// through this platform's module.
std::string run_case(const Case &c, const std::string &build_dir) {
    using standin::Value;
    const standin::Module module(standin::module_path(build_dir, c.command));
    if (!module.has_gateway()) return "unloadable";
    std::vector<Value> args = {Value::matrix(c.rows, c.cols, values(c.rows * c.cols, c.seed))};
    if (c.command.find("_WR") != std::string::npos) args.push_back(Value::scalar(c.level));
    args.push_back(Value::row(values(c.taps, c.seed + 1000000)));
    const standin::Outcome out = module.call(1, args);
    char buf[64];
    if (!out.ok || out.results.empty()) {
        uint64_t h = hash_start;
        for (const char ch : out.message) {
            h ^= static_cast<unsigned char>(ch);
            h *= 0x100000001b3ULL;
        }
        std::snprintf(buf, sizeof buf, "error:%016llx", static_cast<unsigned long long>(h));
        return buf;
    }
    const Value &r = out.results[0];
    std::snprintf(buf, sizeof buf, "%zux%zu:%016llx", r.rows, r.cols,
                  static_cast<unsigned long long>(hash_bits(hash_start, r.re.data(), r.re.size())));
    return buf;
}

// This build's column of the table: 1 for the i386 Linux build's 80-bit
// sums, 0 for every build that rounds each sum to double.
#if defined(WAVELET_EXTENDED_ACCUMULATION)
constexpr int table_column = 1;
#else
constexpr int table_column = 0;
#endif

// Checks every case of the table (or, writing, fills this build's column);
// returns the number of changed digests.
int check_table(const std::string &path, const std::string &build_dir, bool write) {
    std::ifstream in(path);
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> known; // per case: the two digests
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            header.push_back(line);
            continue;
        }
        // The case text, then " | " and the two digests.
        const size_t bar = line.find(" | ");
        std::istringstream digests(bar == std::string::npos ? "" : line.substr(bar + 3));
        std::string a, b;
        digests >> a >> b;
        known.push_back({line.substr(0, bar), a, b});
    }
    const std::vector<Case> cases = table_cases();
    int changed = 0;
    std::ostringstream out;
    for (const std::string &h : header) out << h << "\n";
    for (size_t k = 0; k < cases.size(); ++k) {
        const std::string got = run_case(cases[k], build_dir);
        std::vector<std::string> row = k < known.size() && known[k][0] == cases[k].text()
                                           ? known[k]
                                           : std::vector<std::string>{cases[k].text(), "-", "-"};
        const std::string &want = row[1 + table_column];
        if (!write && got != want) {
            std::fprintf(stderr, "changed: %s gives %s, the table says %s\n", row[0].c_str(),
                         got.c_str(), want.c_str());
            ++changed;
        }
        row[1 + table_column] = got;
        out << row[0] << " | " << row[1] << " " << row[2] << "\n";
    }
    if (write) {
        std::ofstream(path) << out.str();
    } else if (known.size() != cases.size()) {
        std::fprintf(stderr, "the table has %zu cases, this program %zu\n", known.size(),
                     cases.size());
        ++changed;
    }
    return changed;
}

std::string variant_names() {
    std::string names = "plain";
#define WAVELET_VARIANT_NAME(isa, lanes, feature, ...)                                             \
    if (simd_##isa <= simd_best_variant()) names += " " #isa;
    WAVELET_VARIANTS(WAVELET_VARIANT_NAME, )
#undef WAVELET_VARIANT_NAME
    return names;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 4 && std::strcmp(argv[1], "--write") == 0) {
        check_table(argv[3], argv[2], true);
        return 0;
    }
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: wavelet_digest BUILD_DIR [TABLE] | --write BUILD_DIR TABLE\n");
        return 2;
    }
    std::printf("variants %s\n", variant_names().c_str());
#if defined(WAVELET_EXTENDED_ACCUMULATION)
    // Sums in 80 bits match no other build's hashes, and there are no vector
    // variants to hold to the plain loops: the table's own column checks it.
    std::printf("routines: checked by the table alone (80-bit sums)\n");
#else
    kernels();
    grids();
#endif
    if (argc == 3) {
        const int changed = check_table(argv[2], argv[1], false);
        std::printf("table: %d changed\n", changed);
        if (changed > 0) failed = true;
    }
    return failed ? 1 : 0;
}
