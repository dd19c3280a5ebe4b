// w = SiftGrid_WR(x, level, h): forward periodized 2-D wavelet transform of a
// square dyadic grid down to the coarse level floor(level + 0.5).
#include "../transform2d/transform2d.h"
#include "command.h"
#include "multilevel_frame.h"

static const frame::Messages text = WAVELET_GRID_MESSAGES("SiftGrid_WR", "SiftGrid_WR");

WAVELET_COMMAND(SiftGrid_WR, (frame::grid_call<3, dpwt2>(call, text)))
