// Stand-in for the host's MEX library: the error call, which abandons the
// gateway by unwinding to the host's call site and never returns.
#include "../host/host_api.h"
#include "host_state.h"

extern "C" void mexErrMsgTxt(const char *message) {
    standin::record("error", nullptr);
    throw standin::HostAbort{message != nullptr ? message : ""};
}
