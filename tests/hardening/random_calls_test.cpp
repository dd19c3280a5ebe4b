// The fuzzers' rules against the built modules: every committed corpus input
// (the seeds and any input a fuzzer once broke a rule with), then random
// input. In the sanitized build this runs the modules as built, vector
// kernels included, under AddressSanitizer and UndefinedBehaviorSanitizer.
#include "../../fuzz/fuzz_call.h"
#include "build_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

const char *const commands[] = {"SinkCoarse",  "SinkDetail",  "RaiseCoarse",   "RaiseDetail",
                                "SiftGrid_WR", "MeldGrid_WR", "SiftSignal_WR", "MeldSignal_WR"};

std::vector<uint8_t> read_file(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(RandomCalls, CorpusKeepsEveryRule) {
    for (const char *command : commands) {
        const standin::Module module(command_module(command));
        ASSERT_TRUE(module.has_gateway()) << module.load_error();
        const std::filesystem::path folder = std::filesystem::path(WAVELET_FUZZ_CORPUS) / command;
        size_t count = 0;
        for (const auto &entry : std::filesystem::directory_iterator(folder)) {
            const std::vector<uint8_t> data = read_file(entry.path());
            EXPECT_EQ(fuzzcall::check_call(command, module, data.data(), data.size()), "")
                << entry.path();
            ++count;
        }
        EXPECT_GT(count, 0u) << folder;
    }
}

// Input shaped like a call: counts that usually pass, and arguments that are
// usually real doubles of small power-of-two sizes (a square first argument
// for the grid commands, a level for the multi-level ones), with now and then
// a random byte anywhere.
std::vector<uint8_t> random_call(std::mt19937 &gen, bool grid, bool level) {
    auto rare = [&](uint8_t usual) { return gen() % 8 == 0 ? static_cast<uint8_t>(gen()) : usual; };
    std::vector<uint8_t> data = {rare(0), rare(0)};
    for (int k = 0; k < (level ? 3 : 2); ++k) {
        // Codes of the sizes 0, 1, 2, 4, ... 128; the level is one element,
        // the filter at most 64 taps.
        const bool filter = k == (level ? 2 : 1);
        const uint8_t rows = static_cast<uint8_t>(k == 1 && level ? 1 : gen() % (filter ? 4 : 9));
        const uint8_t cols = static_cast<uint8_t>(k == 0 && grid ? rows : gen() % (filter ? 5 : 9));
        for (uint8_t b : {rare(0), rare(0), rare(rows), rare(cols)}) data.push_back(b);
        const size_t sizes[9] = {0, 1, 2, 4, 8, 16, 32, 64, 128};
        for (size_t i = 0; i < sizes[rows] * sizes[cols]; ++i)
            data.push_back(static_cast<uint8_t>(gen()));
    }
    return data;
}

TEST(RandomCalls, RandomInputKeepsEveryRule) {
    std::mt19937 gen(20261208);
    for (const char *command : commands) {
        const standin::Module module(command_module(command));
        ASSERT_TRUE(module.has_gateway()) << module.load_error();
        for (int k = 0; k < 600; ++k) {
            const std::vector<uint8_t> data =
                random_call(gen, fuzzcall::grid_command(command),
                            fuzzcall::grid_command(command) || fuzzcall::signals_command(command));
            const std::string broken =
                fuzzcall::check_call(command, module, data.data(), data.size());
            ASSERT_EQ(broken, "") << command << ", input " << k;
        }
    }
}
