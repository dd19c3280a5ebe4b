// y = SinkCoarse(x, h): periodized lowpass analysis of a dyadic signal,
// y[i] = sum_j h[j] x[(2i + j) mod n], i = 0 .. n/2 - 1.
#include "../kernels/periodic/periodic.h"
#include "command.h"
#include "frame.h"

static const frame::Messages text = WAVELET_SIGNAL_MESSAGES("SinkCoarse", "2^30");

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(SinkCoarse, (frame::signal_call<false, false, downlo>(call, text)))
