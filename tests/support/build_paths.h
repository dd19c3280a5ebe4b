// Where the built modules of this platform live.
#pragma once

#include <string>

#include "session.h"

inline std::string command_module(const std::string &command) {
    return standin::module_path(WAVELET_BUILD_DIR, command);
}

inline std::string kernel_module(const std::string &kernel) {
#if defined(__aarch64__)
    return std::string(WAVELET_BUILD_DIR) + "/aarch64/kernels/" + kernel + ".mexa64";
#elif __SIZEOF_POINTER__ == 8
    return std::string(WAVELET_BUILD_DIR) + "/glnxa64/kernels/" + kernel + ".mexa64";
#else
    return std::string(WAVELET_BUILD_DIR) + "/glnx86/kernels/" + kernel + ".mexglx";
#endif
}
