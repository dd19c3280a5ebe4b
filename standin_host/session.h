// Driving a module as the host does: load it by path, call its gateway with
// argument arrays and a result count, and collect the results, the message of
// a failed call, and the record of host operations the gateway made.
#pragma once

#include "host_state.h"

#include <string>
#include <vector>

namespace standin {

// An argument or result array as the host holds it.
struct Value {
    ClassId cls = ClassId::Double;
    size_t rows = 0;
    size_t cols = 0;
    bool complex = false;
    bool sparse = false;
    bool storage = true;    // false: report the shape but hold no data
    std::vector<double> re; // double data, column by column
    std::vector<double> im; // imaginary parts of a complex array

    static Value matrix(size_t rows, size_t cols, std::vector<double> data);
    static Value row(std::vector<double> data);
    static Value column(std::vector<double> data);
    static Value scalar(double x);
    static Value empty(size_t rows = 0, size_t cols = 0);
    // An array of another class (zero-filled), or a double array that reports
    // a shape with no storage behind it.
    static Value of_class(ClassId cls, size_t rows, size_t cols);
    static Value phantom(size_t rows, size_t cols);
};

struct Outcome {
    bool ok = false;
    std::string message;                    // the error call's message when !ok
    std::vector<Value> results;             // plhs[0 .. max(nlhs,1)-1] that the gateway set
    std::vector<Op> ops;                    // host operations in call order
    std::vector<std::string> freed_by_host; // arrays the call created and did not return
    std::vector<std::string> faults;        // misuse of the host (unknown arrays, bad sizes)
    size_t leaked = 0;                      // arrays still alive after the host cleaned up
};

class Module {
  public:
    explicit Module(const std::string &path);
    // A gateway linked into the calling program rather than loaded.
    using Entry = void (*)(int, mxArray_tag **, int, const mxArray_tag **);
    explicit Module(Entry entry) : entry_(entry) {}
    ~Module();
    Module(const Module &) = delete;
    Module &operator=(const Module &) = delete;

    bool loaded() const { return entry_ != nullptr || handle_ != nullptr; }
    const std::string &load_error() const { return error_; }
    bool has_gateway() const { return entry_ != nullptr; }
    // The text the module's version query returns, or "" without one.
    std::string version() const;

    Outcome call(int nlhs, const std::vector<Value> &args) const;

  private:
    void *handle_ = nullptr;
    void (*entry_)(int, mxArray_tag **, int, const mxArray_tag **) = nullptr;
    std::string error_;
};

// The build folder of this platform's modules (glnxa64, glnx86 or win64) and the
// module file extension (.mexa64 or .mexglx).
std::string module_path(const std::string &build_dir, const std::string &command);

} // namespace standin
