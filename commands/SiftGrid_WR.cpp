// w = SiftGrid_WR(x, level, h): forward periodized 2-D wavelet transform of a
// square dyadic grid down to the coarse level floor(level + 0.5).
#include "../transform2d/transform2d.h"
#include "grid_frame.h"

static const frame::Messages text = {
    "SiftGrid_WR requires 3 input arguments.",
    "SiftGrid_WR requires one output argument.",
    "SiftGrid_WR requires dyadic length sides",
    "SiftGrid_WR requires a square array",
};

extern "C" void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    frame::grid_call(nlhs, plhs, nrhs, prhs, text, 3, dpwt2);
}
