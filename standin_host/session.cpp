#include "session.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace standin {

Value Value::matrix(size_t rows, size_t cols, std::vector<double> data) {
    Value v;
    v.rows = rows;
    v.cols = cols;
    v.re = std::move(data);
    v.re.resize(rows * cols);
    return v;
}
Value Value::row(std::vector<double> data) {
    const size_t n = data.size();
    return matrix(1, n, std::move(data));
}
Value Value::column(std::vector<double> data) {
    const size_t n = data.size();
    return matrix(n, 1, std::move(data));
}
Value Value::scalar(double x) {
    return matrix(1, 1, {x});
}
Value Value::empty(size_t rows, size_t cols) {
    return matrix(rows, cols, {});
}
Value Value::of_class(ClassId cls, size_t rows, size_t cols) {
    Value v;
    v.cls = cls;
    v.rows = rows;
    v.cols = cols;
    return v;
}
Value Value::phantom(size_t rows, size_t cols) {
    Value v;
    v.rows = rows;
    v.cols = cols;
    v.storage = false;
    return v;
}

namespace {

// The platform's loader: open a module by path, look up an entry, close it.
#if defined(_WIN32)
void *open_module(const std::string &path, std::string &error) {
    HMODULE h = LoadLibraryA(path.c_str());
    if (h == nullptr)
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void *>(h);
}
void *entry_of(void *handle, const char *name) {
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void close_module(void *handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void *open_module(const std::string &path, std::string &error) {
    void *h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) {
        const char *why = dlerror();
        error = why != nullptr ? why : "cannot load " + path;
    }
    return h;
}
void *entry_of(void *handle, const char *name) {
    return dlsym(handle, name);
}
void close_module(void *handle) {
    dlclose(handle);
}
#endif

} // namespace

Module::Module(const std::string &path) {
    handle_ = open_module(path, error_);
    if (handle_ == nullptr) return;
    entry_ = reinterpret_cast<decltype(entry_)>(entry_of(handle_, "mexFunction"));
}

Module::~Module() {
    if (handle_ != nullptr) close_module(handle_);
}

std::string Module::version() const {
    if (handle_ == nullptr) return "";
    auto query = reinterpret_cast<const char *(*)()>(entry_of(handle_, "mexVersion"));
    return query != nullptr ? query() : "";
}

namespace {

mxArray_tag *to_host(const Value &v, const std::string &label) {
    mxArray_tag *a = make_argument(v.cls, v.rows, v.cols, v.complex, v.sparse, v.storage, label);
    if (a == nullptr) return nullptr;
    if (v.storage && v.cls == ClassId::Double && data_of(a) != nullptr) {
        auto *d = static_cast<double *>(data_of(a));
        for (size_t i = 0; i < v.rows * v.cols && i < v.re.size(); ++i) d[i] = v.re[i];
        if (v.complex && imag_of(a) != nullptr)
            for (size_t i = 0; i < v.rows * v.cols && i < v.im.size(); ++i) imag_of(a)[i] = v.im[i];
    }
    return a;
}

Value from_host(const mxArray_tag *a) {
    Value v;
    v.cls = class_of(a);
    v.rows = rows_of(a);
    v.cols = cols_of(a);
    const double *d = real_of(a);
    if (v.cls == ClassId::Double && d != nullptr) v.re.assign(d, d + v.rows * v.cols);
    return v;
}

} // namespace

Outcome Module::call(int nlhs, const std::vector<Value> &args) const {
    Outcome out;
    const size_t live_before = live_arrays();
    std::vector<mxArray_tag *> prhs;
    for (size_t k = 0; k < args.size(); ++k)
        prhs.push_back(to_host(args[k], "prhs[" + std::to_string(k) + "]"));
    // The host always offers at least one result slot, as for a bare call.
    const int slots = nlhs > 1 ? nlhs : 1;
    std::vector<mxArray_tag *> plhs(static_cast<size_t>(slots), nullptr);
    host_faults().clear();
    begin_call(plhs.data(), slots);
    try {
        entry_(nlhs, plhs.data(), static_cast<int>(prhs.size()),
               const_cast<const mxArray_tag **>(prhs.data()));
        out.ok = true;
    } catch (const HostAbort &abort) {
        out.message = abort.message;
    }
    out.ops = end_call();
    // What the call created and does not return is the host's to free; after
    // a failed call that is everything it created.
    for (mxArray_tag *a : created_in_call()) {
        bool returned = false;
        for (const mxArray_tag *r : plhs) returned = returned || (out.ok && r == a);
        if (!returned) {
            out.freed_by_host.push_back(label_of(a));
            release(a);
        }
    }
    if (out.ok) {
        for (mxArray_tag *r : plhs) {
            if (r == nullptr) break;
            out.results.push_back(from_host(r));
        }
    }
    for (mxArray_tag *r : plhs)
        if (out.ok) release(r);
    for (mxArray_tag *a : prhs) release(a);
    out.faults = host_faults();
    out.leaked = live_arrays() - live_before;
    return out;
}

std::string module_path(const std::string &build_dir, const std::string &command) {
#if defined(_WIN32)
    return build_dir + "/win64/" + command + ".mexw64";
#elif defined(__aarch64__)
    return build_dir + "/aarch64/" + command + ".mexa64";
#elif __SIZEOF_POINTER__ == 8
    return build_dir + "/glnxa64/" + command + ".mexa64";
#else
    return build_dir + "/glnx86/" + command + ".mexglx";
#endif
}

} // namespace standin
