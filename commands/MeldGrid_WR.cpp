// x = MeldGrid_WR(w, level, h): inverse periodized 2-D wavelet transform of a
// square dyadic grid from the coarse level floor(level + 0.5).
#include "../transform2d/transform2d.h"
#include "command.h"
#include "grid_frame.h"

static const frame::Messages text = {
    .arguments = "MeldGrid_WR requires 3 input arguments.",
    .results = "MeldGrid_WR requires one output argument.",
    .dyadic = "MeldGrid requires dyadic length sides",
    .square = "MeldGrid_WR requires a square array",
    .signal_class = "MeldGrid_WR requires a real double array",
    .too_long = "MeldGrid_WR requires sides of at most 2^15",
    .too_large = "MeldGrid_WR requires arrays of fewer than 2^31 rows and columns",
    .no_samples = nullptr,
    .level_class = "MeldGrid_WR requires a real double level",
    .level_empty = "MeldGrid_WR requires a nonempty level",
    .level_range = "MeldGrid_WR requires a level that rounds to a 32-bit integer",
    .filter_class = "MeldGrid_WR requires a real double filter",
    .filter_long = "MeldGrid_WR requires a filter of fewer than 2^31 taps",
};

WAVELET_COMMAND(MeldGrid_WR, frame::grid_call(call, text, 4, idpwt2))
