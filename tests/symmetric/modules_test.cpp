// The kernel-only modules of the symmetric-filter kernels: each loads, answers
// the version query, and offers neither a gateway nor its kernel.
#include "build_paths.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

namespace {

struct Held {
    const char *module;
    const char *symbol; // the kernel's linkage name
};

const Held kModules[] = {
    {"mirrorsymmfilt", "_Z14mirrorsymmfiltPKdPdi"},
    {"downlopbs", "_Z9downlopbsPKdiS0_iPd"},
    {"downhipbs", "_Z9downhipbsPKdiS0_iPd"},
    {"uplopbs", "_Z7uplopbsPKdiS0_iPd"},
    {"uphipbs", "_Z7uphipbsPKdiS0_iPd"},
};

TEST(SymmetricModules, LoadWithVersionOnly) {
    for (const Held &h : kModules) {
        SCOPED_TRACE(h.module);
        const std::string path = kernel_module(h.module);
        const standin::Module module(path);
        ASSERT_TRUE(module.loaded()) << module.load_error();
        EXPECT_FALSE(module.has_gateway());
        EXPECT_EQ(module.version(), "MATLAB R14 native");
        void *handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(dlsym(handle, h.symbol), nullptr);
        EXPECT_EQ(dlsym(handle, h.module), nullptr);
        dlclose(handle);
    }
}

} // namespace
