// The stand-in host on a 32-bit process: an array whose element count does
// not fit a 32-bit size cannot exist. The host must refuse it like any
// allocation too large to make, never hand out a shorter array that still
// reports the full shape (a gateway would then write past its end).
#include "host/host_api.h"
#include "session.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

struct Shape {
    uint32_t rows, cols;
};

// Shapes whose element counts wrap around to 0, 2 and 0 in 32 bits.
constexpr Shape wrapping[] = {{65536, 65536}, {3, 1431655766}, {2147483647u + 1u, 2}};

TEST(HostSizes, ArraysLargerThanTheAddressSpaceAreRefused) {
    if (sizeof(size_t) > 4) GTEST_SKIP() << "element counts cannot wrap in a 64-bit process";
    for (const Shape &s : wrapping) {
        SCOPED_TRACE(std::to_string(s.rows) + "x" + std::to_string(s.cols));
        // As an argument with storage: refused.
        EXPECT_EQ(standin::make_argument(standin::ClassId::Double, s.rows, s.cols, false, false,
                                         true, "x"),
                  nullptr);
        // As an argument that only reports its shape: still allowed.
        mxArray_tag *phantom = standin::make_argument(standin::ClassId::Double, s.rows, s.cols,
                                                      false, false, false, "p");
        ASSERT_NE(phantom, nullptr);
        EXPECT_EQ(mxGetM(phantom), s.rows);
        EXPECT_EQ(mxGetN(phantom), s.cols);
        standin::release(phantom);
        // Created during a call: the host's out-of-memory error.
        if (s.rows > INT32_MAX || s.cols > INT32_MAX) continue;
        mxArray_tag *slot = nullptr;
        const size_t live = standin::live_arrays();
        standin::begin_call(&slot, 1);
        std::string message;
        try {
            mxCreateDoubleMatrix(static_cast<int>(s.rows), static_cast<int>(s.cols), mxREAL);
        } catch (const standin::HostAbort &abort) {
            message = abort.message;
        }
        standin::end_call();
        EXPECT_EQ(message, "Out of memory.");
        EXPECT_EQ(standin::live_arrays(), live);
    }
}

} // namespace
