// y = RaiseDetail(x, h): periodized highpass synthesis of a dyadic signal
// with the quadrature mirror g[j] = (-1)^j h[j],
// y[2i+1] = sum_j g[2j] x[(i + j) mod n], y[2i] = sum_j g[2j+1] x[(i + j) mod n].
#include "../kernels/periodic/periodic.h"
#include "command.h"
#include "frame.h"

static const frame::Messages text = {
    .arguments = "RaiseDetail requires two input arguments.",
    .results = "RaiseDetail requires one output argument.",
    .dyadic = "RaiseDetail requires dyadic length",
    .square = nullptr,
    .signal_class = "RaiseDetail requires a real double signal",
    .too_long = "RaiseDetail requires a signal of at most 2^29 samples",
    .too_large = "RaiseDetail requires arrays of fewer than 2^31 rows and columns",
    .no_samples = "RaiseDetail requires a nonempty signal",
    .level_class = nullptr,
    .level_empty = nullptr,
    .level_range = nullptr,
    .filter_class = "RaiseDetail requires a real double filter",
    .filter_long = "RaiseDetail requires a filter of fewer than 2^31 taps",
};

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(RaiseDetail, (frame::signal_call<true, true>(call, text, uphi)))
