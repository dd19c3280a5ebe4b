// y = RaiseCoarse(x, h): periodized lowpass synthesis of a dyadic signal,
// y[2i] = sum_j h[2j] x[(i - j) mod n], y[2i+1] = sum_j h[2j+1] x[(i - j) mod n].
#include "../kernels/periodic/periodic.h"
#include "command.h"
#include "frame.h"

static const frame::Messages text = {
    .arguments = "RaiseCoarse requires two input arguments.",
    .results = "RaiseCoarse requires one output argument.",
    .dyadic = "RaiseCoarse requires dyadic length",
    .square = nullptr,
    .signal_class = "RaiseCoarse requires a real double signal",
    .too_long = "RaiseCoarse requires a signal of at most 2^29 samples",
    .too_large = "RaiseCoarse requires arrays of fewer than 2^31 rows and columns",
    .no_samples = "RaiseCoarse requires a nonempty signal",
    .level_class = nullptr,
    .level_empty = nullptr,
    .level_range = nullptr,
    .filter_class = "RaiseCoarse requires a real double filter",
    .filter_long = "RaiseCoarse requires a filter of fewer than 2^31 taps",
};

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(RaiseCoarse, (frame::signal_call<true, false>(call, text, uplo)))
