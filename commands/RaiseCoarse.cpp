// y = RaiseCoarse(x, h): periodized lowpass synthesis of a dyadic signal,
// y[2i] = sum_j h[2j] x[(i - j) mod n], y[2i+1] = sum_j h[2j+1] x[(i - j) mod n].
#include "../kernels/periodic/periodic.h"
#include "command.h"
#include "frame.h"

static const frame::Messages text = WAVELET_SIGNAL_MESSAGES("RaiseCoarse", "2^29");

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(RaiseCoarse, (frame::signal_call<true, false, uplo>(call, text)))
