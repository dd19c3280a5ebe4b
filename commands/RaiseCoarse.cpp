// y = RaiseCoarse(x, h): periodized lowpass synthesis of a dyadic signal,
// y[2i] = sum_j h[2j] x[(i - j) mod n], y[2i+1] = sum_j h[2j+1] x[(i - j) mod n].
#include "../kernels/periodic/periodic.h"
#include "frame.h"

static const frame::Messages text = {
    "RaiseCoarse requires two input arguments.",
    "RaiseCoarse requires one output argument.",
    "RaiseCoarse requires dyadic length",
    nullptr,
};

extern "C" void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    frame::Signal s;
    if (!frame::counts_ok(nlhs, nrhs, 2, text) || !frame::read_signal(prhs[0], text, s)) return;
    plhs[0] = frame::create_like(s, 2 * s.n);
    double *y = mxGetPr(plhs[0]);
    const double *x = mxGetPr(prhs[0]);
    const double *h = mxGetPr(prhs[1]);
    const int32_t m = frame::filter_length(prhs[1]);
    uplo(x, s.n, h, m, y);
}
