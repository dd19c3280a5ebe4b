// Internals of the stand-in host shared by its libraries: the array record,
// the per-thread log of host operations, and the abort that the error call
// raises. Modules never see this header; they see only host/host_api.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#define STANDIN_API __attribute__((visibility("default")))

extern "C" {
struct mxArray_tag;
}

namespace standin {

enum class ClassId {
    Double,
    Single,
    Int8,
    Uint8,
    Int16,
    Uint16,
    Int32,
    Uint32,
    Int64,
    Uint64,
    Logical,
    Char,
    Cell,
    Struct
};

// One host operation made by a gateway, in call order.
struct Op {
    std::string what;  // "M", "N", "Pr", "IsDouble", "IsComplex", "IsSparse", "create", "destroy"
    std::string array; // "prhs[k]" for an argument, "#k" for the k-th array the call created
    int64_t rows = 0;  // the requested shape, for "create"
    int64_t cols = 0;
    std::string plhs0; // the array held in plhs[0] when the operation was made ("" if none)
};

// Raised by the error call; unwinds the gateway back to the host's call site.
struct STANDIN_API HostAbort {
    std::string message;
};

// Hooks that the call driver uses; exported by libmx at a private version.
STANDIN_API mxArray_tag *make_argument(ClassId cls, size_t rows, size_t cols, bool complex,
                                       bool sparse, bool storage, const std::string &label);
STANDIN_API void begin_call(mxArray_tag **plhs, int slots);
STANDIN_API std::vector<Op> end_call();
STANDIN_API std::vector<mxArray_tag *> created_in_call();
STANDIN_API std::string label_of(const mxArray_tag *a);
STANDIN_API size_t live_arrays();
STANDIN_API void release(mxArray_tag *a);
STANDIN_API std::vector<std::string> &host_faults();
// Where the data of the real double arrays this thread creates from now on
// starts: 0 where the C library puts it, 16, 32 or 64 at exactly that
// alignment, -1 ending at a page boundary with an inaccessible page after it.
STANDIN_API void set_placement(int placement);
STANDIN_API void record(const char *what, const mxArray_tag *a, int64_t rows = 0, int64_t cols = 0);

// Shape and storage of an array, for reading results.
STANDIN_API size_t rows_of(const mxArray_tag *a);
STANDIN_API size_t cols_of(const mxArray_tag *a);
STANDIN_API const double *real_of(const mxArray_tag *a);
STANDIN_API ClassId class_of(const mxArray_tag *a);
STANDIN_API bool complex_of(const mxArray_tag *a);
STANDIN_API double *imag_of(mxArray_tag *a);
STANDIN_API void *data_of(mxArray_tag *a);
STANDIN_API size_t element_size(ClassId cls);

} // namespace standin
