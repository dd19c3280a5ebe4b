// y = RaiseDetail(x, h): periodized highpass synthesis of a dyadic signal
// with the quadrature mirror g[j] = (-1)^j h[j],
// y[2i+1] = sum_j g[2j] x[(i + j) mod n], y[2i] = sum_j g[2j+1] x[(i + j) mod n].
#include "../kernels/periodic/periodic.h"
#include "frame.h"

static const frame::Messages text = {
    "RaiseDetail requires two input arguments.",
    "RaiseDetail requires one output argument.",
    "RaiseDetail requires dyadic length",
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
    // The mirror array is left to the host, which frees it when the call ends.
    double *g = mxGetPr(frame::create_real(m, 1));
    mirrorfilt(h, g, m);
    uphi(x, s.n, g, m, y);
}
