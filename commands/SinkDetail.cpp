// d = SinkDetail(x, h): periodized highpass analysis of a dyadic signal with
// the quadrature mirror g[j] = (-1)^j h[j],
// d[i] = sum_j g[j] x[(2i + 1 - j) mod n], i = 0 .. n/2 - 1.
#include "../kernels/periodic/periodic.h"
#include "command.h"
#include "frame.h"

static const frame::Messages text = WAVELET_SIGNAL_MESSAGES("SinkDetail", "2^30");

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(SinkDetail, (frame::signal_call<false, true, downhi>(call, text)))
