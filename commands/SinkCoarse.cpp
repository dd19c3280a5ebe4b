// y = SinkCoarse(x, h): periodized lowpass analysis of a dyadic signal,
// y[i] = sum_j h[j] x[(2i + j) mod n], i = 0 .. n/2 - 1.
#include "../kernels/periodic/periodic.h"
#include "command.h"
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

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(SinkCoarse, (frame::signal_call<false, false>(call, text, downlo)))
