// x = MeldGrid_WR(w, level, h): inverse periodized 2-D wavelet transform of a
// square dyadic grid from the coarse level floor(level + 0.5).
#include "../transform2d/transform2d.h"
#include "grid_frame.h"

static const frame::Messages text = {
    "MeldGrid_WR requires 3 input arguments.",
    "MeldGrid_WR requires one output argument.",
    "MeldGrid requires dyadic length sides",
    "MeldGrid_WR requires a square array",
};

extern "C" void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    frame::grid_call(nlhs, plhs, nrhs, prhs, text, 4, idpwt2);
}
