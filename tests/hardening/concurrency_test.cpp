// The kernels, the transforms and the gateways hold no state: the same work
// run on many threads at once gives, on every thread, the bits that one
// thread alone gives.
#include "bitwise.h"
#include "build_paths.h"
#include "kernels/periodic/periodic.h"
#include "transform2d/transform2d.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

using standin::Module;
using standin::Value;

namespace {

using Vec = std::vector<double>;

constexpr int threads = 8;
constexpr int rounds = 6;

using bitwise::random_values;

using bitwise::same_bits;

// Runs `work` once alone for the expected bits, then `rounds` times on each of
// `threads` threads at once, and counts the runs that differ.
int differing_runs(const std::function<Vec()> &work) {
    const Vec alone = work();
    std::vector<int> differ(threads, 0);
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            for (int r = 0; r < rounds; ++r)
                if (!same_bits(work(), alone)) ++differ[t];
        });
    for (auto &th : pool) th.join();
    int total = 0;
    for (int d : differ) total += d;
    return total;
}

} // namespace

TEST(Concurrency, KernelsAndTransformsOnManyThreads) {
    const Vec x = random_values(1 << 12, 1);
    const Vec h = random_values(9, 2);
    Vec g(h.size());
    mirrorfilt(h.data(), g.data(), static_cast<int32_t>(h.size()));
    const int32_t n = static_cast<int32_t>(x.size());
    const int32_t m = static_cast<int32_t>(h.size());
    const int32_t side = 64; // a 64-by-64 grid, J = 6
    const Vec grid = random_values(side * side, 3);

    struct Row {
        const char *what;
        std::function<Vec()> work;
    };
    const std::vector<Row> table = {
        {"downlo",
         [&] {
             Vec y(n / 2);
             downlo(x.data(), n, h.data(), m, y.data());
             return y;
         }},
        {"downhi",
         [&] {
             Vec y(n / 2);
             downhi(x.data(), n, g.data(), m, y.data());
             return y;
         }},
        {"uplo",
         [&] {
             Vec y(2 * n);
             uplo(x.data(), n, h.data(), m, y.data());
             return y;
         }},
        {"uphi",
         [&] {
             Vec y(2 * n);
             uphi(x.data(), n, g.data(), m, y.data());
             return y;
         }},
        {"dpwt2",
         [&] {
             Vec out(grid.size()), work(3 * side);
             dpwt2(grid.data(), side, side, 1, 6, g.data(), h.data(), m, out.data(), work.data());
             return out;
         }},
        {"idpwt2",
         [&] {
             Vec out(grid.size()), work(4 * side);
             idpwt2(grid.data(), side, side, 0, 6, g.data(), h.data(), m, out.data(), work.data());
             return out;
         }},
    };
    for (const auto &row : table) EXPECT_EQ(differing_runs(row.work), 0) << row.what;
}

// One loaded module called from many threads: the host keeps each thread's
// call apart, and the gateway keeps nothing between calls.
TEST(Concurrency, GatewaysOnManyThreads) {
    const Vec x = random_values(1 << 10, 4);
    const Vec h = random_values(6, 5);
    const Vec grid = random_values(32 * 32, 6);
    struct Row {
        const char *command;
        std::vector<Value> args;
    };
    const std::vector<Row> table = {
        {"SinkCoarse", {Value::row(x), Value::row(h)}},
        {"SinkDetail", {Value::column(x), Value::row(h)}},
        {"RaiseCoarse", {Value::row(x), Value::column(h)}},
        {"RaiseDetail", {Value::column(x), Value::row(h)}},
        {"SiftGrid_WR", {Value::matrix(32, 32, grid), Value::scalar(1), Value::row(h)}},
        {"MeldGrid_WR", {Value::matrix(32, 32, grid), Value::scalar(0), Value::row(h)}},
    };
    for (const auto &row : table) {
        const Module module(command_module(row.command));
        ASSERT_TRUE(module.has_gateway()) << module.load_error();
        const int differ = differing_runs([&] {
            const auto out = module.call(1, row.args);
            if (!out.ok || out.leaked != 0 || !out.faults.empty() || out.results.size() != 1)
                return Vec{};
            return out.results[0].re;
        });
        EXPECT_EQ(differ, 0) << row.command;
    }
}
