// The entry of a command: a MEX gateway (mexFunction), or with
// WAVELET_OCTAVE_NATIVE a native Octave function of the command's name whose
// help is the command's usage text (WAVELET_HELP_TEXT, made by the build
// from the command's help file). Both run the statement `work` with `call`
// naming their view of the call; the frame and the work are the same.
#pragma once

#if defined(WAVELET_OCTAVE_NATIVE)
#include "octave_call.h"

#include <octave/defun-dld.h>

#define WAVELET_COMMAND(name, work)                                                                \
    DEFUN_DLD(name, args, nargout, WAVELET_HELP_TEXT) {                                            \
        frame::OctaveCall call(#name, args, nargout);                                              \
        work;                                                                                      \
        return call.value();                                                                       \
    }
#else
#include "mex_call.h"

#define WAVELET_COMMAND(name, work)                                                                \
    extern "C" void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {      \
        frame::MexCall call(nlhs, plhs, nrhs, prhs);                                               \
        work;                                                                                      \
    }
#endif
