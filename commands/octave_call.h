// The frame's view of a call to a native Octave function (DEFUN_DLD): the
// same checks and work as through the MEX interface, with the result
// allocated once, unfilled, and handed to Octave as the returned array.
#pragma once

#include <octave/oct.h>

#include <memory>
#include <string>
#include <vector>

namespace frame {

class OctaveCall {
  public:
    OctaveCall(const char *name, const octave_value_list &args, int nargout)
        : name_(name), args_(args), nargout_(nargout), arrays_(static_cast<size_t>(args.length())) {
    }

    int arguments() const { return static_cast<int>(args_.length()); }
    int results() const { return nargout_; }
    // Columns are every dimension after the first, as the MEX interface
    // reports them.
    uint64_t rows(int k) const { return static_cast<uint64_t>(args_(k).dims()(0)); }
    uint64_t cols(int k) const {
        const dim_vector d = args_(k).dims();
        uint64_t cols = 1;
        for (int i = 1; i < d.ndims(); ++i) cols *= static_cast<uint64_t>(d(i));
        return cols;
    }
    bool real_double(int k) const {
        const octave_value &v = args_(k);
        return v.is_double_type() && !v.iscomplex() && !v.issparse();
    }
    // The argument's elements, held for the rest of the call (a full matrix
    // shares its data, nothing is copied).
    const double *data(int k) {
        NDArray &a = arrays_[static_cast<size_t>(k)];
        if (a.isempty() && args_(k).numel() > 0) a = args_(k).array_value();
        return a.data();
    }
    // The message as Octave shows a MEX error: "Name: message".
    void fail(const char *message) const { error("%s: %s", name_, message); }

    double *make_result(int32_t rows, int32_t cols) {
        const dim_vector dims(rows, cols);
        double *p = std::allocator<double>().allocate(static_cast<size_t>(dims.safe_numel()));
        // The array takes the block as it is, unfilled, and frees it with the
        // same allocator.
        result_ = NDArray(Array<double>(p, dims));
        return p;
    }
    double *make_scratch(int32_t rows, int32_t cols) {
        scratch_.emplace_back(new double[static_cast<size_t>(rows) * static_cast<size_t>(cols)]);
        return scratch_.back().get();
    }
    static double *data_of(double *a) { return a; }
    void release(const double *a) {
        for (auto &s : scratch_)
            if (s.get() == a) s.reset();
    }

    octave_value value() const { return octave_value(result_); }

  private:
    const char *name_;
    const octave_value_list &args_;
    int nargout_;
    std::vector<NDArray> arrays_;
    NDArray result_;
    std::vector<std::unique_ptr<double[]>> scratch_;
};

} // namespace frame
