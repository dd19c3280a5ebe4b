// x = MeldSignal_WR(w, level, h): inverse multi-level periodized wavelet
// transform of a dyadic signal, or of every column of a matrix, from the
// coarse level floor(level + 0.5).
#include "../transform1d/transform1d.h"
#include "command.h"
#include "multilevel_frame.h"

static const frame::Messages text = WAVELET_SIGNALS_MESSAGES("MeldSignal_WR");

WAVELET_COMMAND(MeldSignal_WR, (frame::signals_call<idpwt_work, idpwt>(call, text)))
