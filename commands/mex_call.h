// The frame's view of a call through the MEX interface: each operation of
// the view is exactly one host operation, so a gateway's record of host
// operations is the frame's own order of work.
#pragma once

#include "../host/host_api.h"

#include <cstdint>

namespace frame {

class MexCall {
  public:
    MexCall(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
        : nlhs_(nlhs), plhs_(plhs), nrhs_(nrhs), prhs_(prhs) {}

    int arguments() const { return nrhs_; }
    int results() const { return nlhs_; }
    uint64_t rows(int k) const { return mxGetM(prhs_[k]); }
    uint64_t cols(int k) const { return mxGetN(prhs_[k]); }
    bool real_double(int k) const {
        return mxIsDouble(prhs_[k]) && !mxIsComplex(prhs_[k]) && !mxIsSparse(prhs_[k]);
    }
    const double *data(int k) const { return mxGetPr(prhs_[k]); }
    // Shows the message and abandons the call.
    void fail(const char *message) const { mexErrMsgTxt(message); }

    // The result goes to plhs[0] as soon as it exists; a scratch array that
    // is not released is the host's to free when the call ends.
    mxArray *make_result(int32_t rows, int32_t cols) { return plhs_[0] = create_real(rows, cols); }
    static mxArray *make_scratch(int32_t rows, int32_t cols) { return create_real(rows, cols); }
    static double *data_of(mxArray *a) { return mxGetPr(a); }
    static void release(mxArray *a) { mxDestroyArray(a); }

  private:
    // A real rows-by-cols double array from the build's creation entry.
    static mxArray *create_real(int32_t rows, int32_t cols) {
#if defined(WAVELET_HOST_MEX_H) || __SIZEOF_POINTER__ == 4
        return mxCreateDoubleMatrix(rows, cols, mxREAL);
#elif defined(_WIN32) || defined(__APPLE__)
        // The large-array entry, the one that MATLAB's own builds bind and
        // every 64-bit Windows and macOS release exports.
        return mxCreateDoubleMatrix_730(size_t(rows), size_t(cols), mxREAL);
#else
        return mxCreateDoubleMatrix_700(rows, cols, mxREAL);
#endif
    }

    int nlhs_;
    mxArray **plhs_;
    int nrhs_;
    const mxArray **prhs_;
};

} // namespace frame
