// SinkCoarse and SinkDetail through the stand-in host.
#include "build_paths.h"

#include <gtest/gtest.h>

using standin::Module;
using standin::Value;

TEST(Downsampling, WorkedExampleReturnsRow) {
    const Module sink(command_module("SinkCoarse"));
    ASSERT_TRUE(sink.has_gateway()) << sink.load_error();
    const auto out = sink.call(1, {Value::row({3, 1, 4, 1, 5, 9, 2, 6}), Value::row({1, 2, 3, 4})});
    ASSERT_TRUE(out.ok) << out.message;
    ASSERT_EQ(out.results.size(), 1u);
    EXPECT_EQ(out.results[0].rows, 1u);
    EXPECT_EQ(out.results[0].cols, 4u);
    EXPECT_EQ(out.results[0].re, (std::vector<double>{21, 57, 53, 27}));
    EXPECT_EQ(out.leaked, 0u);
}
