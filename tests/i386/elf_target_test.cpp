// Every module in this platform's folder is an object for this platform's
// processor: 32-bit Intel 80386 objects in glnx86/, 64-bit x86-64 objects in
// glnxa64/. A tree built with the wrong flags would otherwise leave objects
// that only fail when a host tries to load them.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace {

#if defined(__LP64__)
constexpr const char *folder = "glnxa64", *extension = ".mexa64";
constexpr int elf_class = 2, machine = 62; // ELFCLASS64, EM_X86_64
#else
constexpr const char *folder = "glnx86", *extension = ".mexglx";
constexpr int elf_class = 1, machine = 3; // ELFCLASS32, EM_386
#endif

TEST(ModuleFiles, AreObjectsForThisPlatform) {
    const std::filesystem::path root = std::filesystem::path(WAVELET_BUILD_DIR) / folder;
    int seen = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().extension() != extension) continue;
        SCOPED_TRACE(entry.path().string());
        ++seen;
        std::ifstream in(entry.path(), std::ios::binary);
        unsigned char header[20] = {};
        in.read(reinterpret_cast<char *>(header), sizeof header);
        ASSERT_TRUE(in.good());
        EXPECT_EQ(std::string(reinterpret_cast<char *>(header), 4), "\177ELF");
        EXPECT_EQ(header[4], elf_class);
        EXPECT_EQ(header[5], 1);                    // little-endian
        EXPECT_EQ(header[16] | header[17] << 8, 3); // ET_DYN
        EXPECT_EQ(header[18] | header[19] << 8, machine);
    }
    // Six command modules and the kernel-only modules.
    EXPECT_GE(seen, 11);
}

} // namespace
