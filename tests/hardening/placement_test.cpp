// Large calls through a host that places its arrays at every alignment the
// vector paths tell apart (exactly 16, 32 or 64 bytes, or ending at a page
// boundary with an inaccessible page after it): the streaming stores of the
// large outputs and the fused grid levels all run, and every result is the
// plain routine's bit for bit. A read past the end of a signal or grid
// faults on the page after it.
#include "bitwise.h"
#include "build_paths.h"

#include "kernels/periodic/periodic.h"
#include "kernels/simd/simd.h"
#include "transform2d/grid_simd.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using standin::Module;
using standin::Value;
using Vec = std::vector<double>;

typedef void (*kernel_fn)(const double *, int32_t, const double *, int32_t, double *);
typedef void (*transform_fn)(const double *, int32_t, int32_t, int32_t, int32_t, const double *,
                             const double *, int32_t, double *, double *);

// The plain kernel of a one-dimensional command, on the mirror when it
// filters with the highpass branch.
Vec plain_1d(kernel_fn plain, bool highpass, const Vec &x, const Vec &h, size_t out) {
    Vec f(h.size()), y(out);
    if (highpass)
        mirrorfilt(h.data(), f.data(), int32_t(h.size()));
    else
        f = h;
    plain(x.data(), int32_t(x.size()), f.data(), int32_t(f.size()), y.data());
    return y;
}

Vec plain_2d(transform_fn plain, int work_columns, const Vec &x, int32_t J, const Vec &h) {
    const int32_t n = int32_t{1} << J, m = int32_t(h.size());
    Vec g(h.size()), y(x.size()), work(size_t(work_columns) * n);
    mirrorfilt(h.data(), g.data(), m);
    plain(x.data(), n, n, J - 1, J, g.data(), h.data(), m, y.data(), work.data());
    return y;
}

struct Case {
    const char *command;
    std::vector<Value> args;
    Vec want;
};

TEST(Placement, LargeCallsGiveThePlainResultsWhereverTheHostPutsTheArrays) {
    // Only the vector paths tell the placements apart.
    if (simd_best_variant() == simd_plain) GTEST_SKIP() << "this build has no vector variants";
    const Vec d4 = bitwise::random_values(4, 1), d8 = bitwise::random_values(8, 2);
    const Vec signal = bitwise::random_values(size_t{1} << 22, 3);
    const Vec half(signal.begin(), signal.begin() + (int32_t{1} << 20));
    const int32_t J = 11;
    const Vec grid = bitwise::random_values(size_t{1} << (2 * J), 4);
    const size_t n = size_t{1} << J;
    std::vector<Case> cases = {
        {"SinkCoarse",
         {Value::row(signal), Value::row(d4)},
         plain_1d(downlo_plain, false, signal, d4, signal.size() / 2)},
        {"SinkDetail",
         {Value::row(signal), Value::row(d8)},
         plain_1d(downhi_plain, true, signal, d8, signal.size() / 2)},
        {"RaiseCoarse",
         {Value::row(half), Value::row(d4)},
         plain_1d(uplo_plain, false, half, d4, 2 * half.size())},
        {"RaiseDetail",
         {Value::row(half), Value::row(d8)},
         plain_1d(uphi_plain, true, half, d8, 2 * half.size())},
    };
    for (const Vec *h : {&d4, &d8}) {
        cases.push_back({"SiftGrid_WR",
                         {Value::matrix(n, n, grid), Value::scalar(J - 1), Value::row(*h)},
                         plain_2d(dpwt2_plain, 3, grid, J, *h)});
        cases.push_back({"MeldGrid_WR",
                         {Value::matrix(n, n, grid), Value::scalar(J - 1), Value::row(*h)},
                         plain_2d(idpwt2_plain, 4, grid, J, *h)});
    }
    for (const Case &c : cases) {
        const Module module(command_module(c.command));
        ASSERT_TRUE(module.has_gateway()) << module.load_error();
        for (int placement : {16, 32, 64, -1}) {
            standin::set_placement(placement);
            const auto out = module.call(1, c.args);
            standin::set_placement(0);
            SCOPED_TRACE(std::string(c.command) + " with " +
                         std::to_string(c.args.back().re.size()) + " taps, arrays placed at " +
                         std::to_string(placement));
            ASSERT_TRUE(out.ok) << out.message;
            ASSERT_EQ(out.results.size(), 1u);
            EXPECT_TRUE(bitwise::same_bits(out.results[0].re, c.want));
            EXPECT_EQ(out.leaked, 0u);
        }
    }
}

} // namespace
