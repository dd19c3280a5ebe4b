// The host operations a module calls and the entries it exports.
//
// Built for MATLAB's binary interface (and for our stand-in host) these are
// declared here. Built inside a real host with its own mex.h (Octave's
// mkoctfile, MATLAB's mex), WAVELET_HOST_MEX_H selects that header instead,
// so the same gateway sources serve every build.
#pragma once

#include <cstddef>

#if defined(WAVELET_HOST_MEX_H)
#include <mex.h>
#else
extern "C" {
typedef struct mxArray_tag mxArray;
typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

size_t mxGetM(const mxArray *a);
size_t mxGetN(const mxArray *a);
double *mxGetPr(const mxArray *a);
bool mxIsDouble(const mxArray *a);
bool mxIsComplex(const mxArray *a);
bool mxIsSparse(const mxArray *a);
// The i386 builds create arrays through mxCreateDoubleMatrix and the 64-bit
// Linux builds through mxCreateDoubleMatrix_700, both with 32-bit sizes; the
// Windows and 64-bit macOS builds through mxCreateDoubleMatrix_730, with
// 64-bit sizes.
mxArray *mxCreateDoubleMatrix(int m, int n, mxComplexity flag);
mxArray *mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag);
mxArray *mxCreateDoubleMatrix_730(size_t m, size_t n, mxComplexity flag);
void mxDestroyArray(mxArray *a);
// Shows the message and abandons the call; never returns to the caller.
void mexErrMsgTxt(const char *message);
}
#endif

// The module's own entries are the only symbols it exports; the build hides
// everything else.
extern "C" {
__attribute__((visibility("default"))) void mexFunction(int nlhs, mxArray *plhs[], int nrhs,
                                                        const mxArray *prhs[]);
__attribute__((visibility("default"))) const char *mexVersion(void);
}
