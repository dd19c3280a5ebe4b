// y = SinkCoarse(x, h): periodized lowpass analysis of a dyadic signal,
// y[i] = sum_j h[j] x[(2i + j) mod n], i = 0 .. n/2 - 1.
#include "../kernels/periodic/periodic.h"
#include "frame.h"

static const frame::Messages text = {
    "SinkCoarse requires two input arguments.",
    "SinkCoarse requires one output argument.",
    "SinkCoarse requires dyadic length",
    nullptr,
};

extern "C" void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    frame::Signal s;
    if (!frame::counts_ok(nlhs, nrhs, 2, text) || !frame::read_signal(prhs[0], text, s)) return;
    plhs[0] = frame::create_like(s, s.n / 2);
    double *y = mxGetPr(plhs[0]);
    const double *x = mxGetPr(prhs[0]);
    const double *h = mxGetPr(prhs[1]);
    const int32_t m = frame::filter_length(prhs[1]);
    downlo(x, s.n, h, m, y);
}
