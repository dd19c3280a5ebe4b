// d = SinkDetail(x, h): periodized highpass analysis of a dyadic signal with
// the quadrature mirror g[j] = (-1)^j h[j],
// d[i] = sum_j g[j] x[(2i + 1 - j) mod n], i = 0 .. n/2 - 1.
#include "../kernels/periodic/periodic.h"
#include "frame.h"

static const frame::Messages text = {
    .arguments = "SinkDetail requires two input arguments.",
    .results = "SinkDetail requires one output argument.",
    .dyadic = "SinkDetail requires dyadic length",
    .square = nullptr,
    .signal_class = "SinkDetail requires a real double signal",
    .too_long = "SinkDetail requires a signal of at most 2^30 samples",
    .too_large = "SinkDetail requires arrays of fewer than 2^31 rows and columns",
    .no_samples = "SinkDetail requires a nonempty signal",
    .level_class = nullptr,
    .level_empty = nullptr,
    .level_range = nullptr,
    .filter_class = "SinkDetail requires a real double filter",
    .filter_long = "SinkDetail requires a filter of fewer than 2^31 taps",
};

extern "C" void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    frame::Signal s;
    if (!frame::signal_call_ok(nlhs, nrhs, prhs, frame::longest_analysis, text, s)) return;
    plhs[0] = frame::create_like(s, s.n / 2);
    double *y = mxGetPr(plhs[0]);
    const double *x = mxGetPr(prhs[0]);
    const double *h = mxGetPr(prhs[1]);
    const int32_t m = frame::filter_length(prhs[1]);
    // The mirror array is left to the host, which frees it when the call ends.
    double *g = mxGetPr(frame::create_real(m, 1));
    mirrorfilt(h, g, m);
    downhi(x, s.n, g, m, y);
}
