// d = SinkDetail(x, h): periodized highpass analysis of a dyadic signal with
// the quadrature mirror g[j] = (-1)^j h[j],
// d[i] = sum_j g[j] x[(2i + 1 - j) mod n], i = 0 .. n/2 - 1.
#include "../kernels/periodic/periodic.h"
#include "command.h"
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

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(SinkDetail, (frame::signal_call<false, true>(call, text, downhi)))
