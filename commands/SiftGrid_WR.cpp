// w = SiftGrid_WR(x, level, h): forward periodized 2-D wavelet transform of a
// square dyadic grid down to the coarse level floor(level + 0.5).
#include "../transform2d/transform2d.h"
#include "command.h"
#include "grid_frame.h"

static const frame::Messages text = {
    .arguments = "SiftGrid_WR requires 3 input arguments.",
    .results = "SiftGrid_WR requires one output argument.",
    .dyadic = "SiftGrid_WR requires dyadic length sides",
    .square = "SiftGrid_WR requires a square array",
    .signal_class = "SiftGrid_WR requires a real double array",
    .too_long = "SiftGrid_WR requires sides of at most 2^15",
    .too_large = "SiftGrid_WR requires arrays of fewer than 2^31 rows and columns",
    .no_samples = nullptr,
    .level_class = "SiftGrid_WR requires a real double level",
    .level_empty = "SiftGrid_WR requires a nonempty level",
    .level_range = "SiftGrid_WR requires a level that rounds to a 32-bit integer",
    .filter_class = "SiftGrid_WR requires a real double filter",
    .filter_long = "SiftGrid_WR requires a filter of fewer than 2^31 taps",
};

WAVELET_COMMAND(SiftGrid_WR, frame::grid_call(call, text, 3, dpwt2))
