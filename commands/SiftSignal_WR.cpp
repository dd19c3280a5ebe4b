// w = SiftSignal_WR(x, level, h): forward multi-level periodized wavelet
// transform of a dyadic signal, or of every column of a matrix, down to the
// coarse level floor(level + 0.5).
#include "../transform1d/transform1d.h"
#include "command.h"
#include "multilevel_frame.h"

static const frame::Messages text = WAVELET_SIGNALS_MESSAGES("SiftSignal_WR");

WAVELET_COMMAND(SiftSignal_WR, (frame::signals_call<dpwt_work, dpwt>(call, text)))
