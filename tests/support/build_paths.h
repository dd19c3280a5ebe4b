// Where the built modules of this platform live.
#pragma once

#include <string>

#include "session.h"

inline std::string command_module(const std::string &command) {
    return standin::module_path(WAVELET_BUILD_DIR, command);
}

inline std::string kernel_module(const std::string &kernel) {
#if defined(__aarch64__)
    const char *const folder = "/aarch64/kernels/", *const extension = ".mexa64";
#elif __SIZEOF_POINTER__ == 8
    const char *const folder = "/glnxa64/kernels/", *const extension = ".mexa64";
#else
    const char *const folder = "/glnx86/kernels/", *const extension = ".mexglx";
#endif
    // Appended piece by piece: GCC 12 warns falsely about chained + on strings.
    std::string path(WAVELET_BUILD_DIR);
    path.append(folder).append(kernel).append(extension);
    return path;
}
