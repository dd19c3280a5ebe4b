// x = MeldGrid_WR(w, level, h): inverse periodized 2-D wavelet transform of a
// square dyadic grid from the coarse level floor(level + 0.5).
#include "../transform2d/transform2d.h"
#include "command.h"
#include "multilevel_frame.h"

static const frame::Messages text = WAVELET_GRID_MESSAGES("MeldGrid_WR", "MeldGrid");

WAVELET_COMMAND(MeldGrid_WR, (frame::grid_call<4, idpwt2>(call, text)))
