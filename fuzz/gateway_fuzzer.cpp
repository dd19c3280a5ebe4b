// Coverage-guided fuzzing of one command's gateway (fuzz_command), linked
// into this program and driven through the stand-in host. Built with
// AddressSanitizer and UndefinedBehaviorSanitizer, so any read or write
// outside the arrays the gateway was given or created stops the run, as does
// any broken rule of fuzz_call.h.
#include "fuzz_call.h"

#include <cstdio>
#include <cstdlib>

extern "C" void mexFunction(int nlhs, mxArray_tag *plhs[], int nrhs, const mxArray_tag *prhs[]);
extern const char fuzz_command[];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const standin::Module gateway(&mexFunction);
    const std::string broken = fuzzcall::check_call(fuzz_command, gateway, data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s: %s\n", fuzz_command, broken.c_str());
        std::abort();
    }
    return 0;
}
