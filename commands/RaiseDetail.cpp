// y = RaiseDetail(x, h): periodized highpass synthesis of a dyadic signal
// with the quadrature mirror g[j] = (-1)^j h[j],
// y[2i+1] = sum_j g[2j] x[(i + j) mod n], y[2i] = sum_j g[2j+1] x[(i + j) mod n].
#include "../kernels/periodic/periodic.h"
#include "command.h"
#include "frame.h"

static const frame::Messages text = WAVELET_SIGNAL_MESSAGES("RaiseDetail", "2^29");

// Template arguments: synthesis, mirrored filter.
WAVELET_COMMAND(RaiseDetail, (frame::signal_call<true, true, uphi>(call, text)))
