// y = SinkCoarse(x, h): periodized lowpass analysis of a dyadic signal,
// y[i] = sum_j h[j] x[(2i + j) mod n], i = 0 .. n/2 - 1.
#include "../kernels/periodic/periodic.h"
#include "frame.h"

static const frame::Messages text = {
    .arguments = "SinkCoarse requires two input arguments.",
    .results = "SinkCoarse requires one output argument.",
    .dyadic = "SinkCoarse requires dyadic length",
    .square = nullptr,
    .signal_class = "SinkCoarse requires a real double signal",
    .too_long = "SinkCoarse requires a signal of at most 2^30 samples",
    .too_large = "SinkCoarse requires arrays of fewer than 2^31 rows and columns",
    .no_samples = "SinkCoarse requires a nonempty signal",
    .level_class = nullptr,
    .level_empty = nullptr,
    .level_range = nullptr,
    .filter_class = "SinkCoarse requires a real double filter",
    .filter_long = "SinkCoarse requires a filter of fewer than 2^31 taps",
};

extern "C" void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    frame::Signal s;
    if (!frame::signal_call_ok(nlhs, nrhs, prhs, frame::longest_analysis, text, s)) return;
    plhs[0] = frame::create_like(s, s.n / 2);
    double *y = mxGetPr(plhs[0]);
    const double *x = mxGetPr(prhs[0]);
    const double *h = mxGetPr(prhs[1]);
    const int32_t m = frame::filter_length(prhs[1]);
    downlo(x, s.n, h, m, y);
}
