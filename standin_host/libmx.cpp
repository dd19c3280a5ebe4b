// Stand-in for the host's array library: real, single, integer, logical,
// char, cell and struct arrays of any reported shape, column by column, with
// a per-thread log of every operation a gateway makes during a call and the
// bookkeeping of which arrays the call created, destroyed or left behind.
#include "../host/host_api.h"
#include "host_state.h"
#include "pages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>

struct mxArray_tag {
    standin::ClassId cls = standin::ClassId::Double;
    size_t rows = 0;
    size_t cols = 0;
    bool complex = false;
    bool sparse = false;
    void *data = nullptr;   // rows*cols elements of the class, or none
    double *imag = nullptr; // imaginary parts of a complex double array
    void *block = nullptr;  // what holds data when it is placed (see set_placement)
    size_t mapped = 0;      // bytes mapped for a block that ends at a page boundary
    std::string label;
};

namespace standin {
namespace {

// A quiet NaN that no computation produces: new arrays are filled with it so
// a test can tell an element that was never written.
constexpr uint64_t unwritten_bits = 0x7ff80000deadbeefULL;

// Arrays larger than this are left zeroed rather than filled, to keep huge
// requests cheap.
constexpr size_t fill_limit = size_t{1} << 24;

struct State {
    std::set<mxArray_tag *> live;
    bool in_call = false;
    mxArray_tag **plhs = nullptr;
    int slots = 0;
    std::vector<Op> ops;
    std::vector<mxArray_tag *> created; // created by the call and still alive
    int created_total = 0;
    std::vector<std::string> faults;
    int placement = 0; // where the data of new double arrays starts (set_placement)
};

// Each thread's own state. On Windows it is made on first use and never
// freed: MinGW runs a thread_local's destructor from the loader's callback as
// the thread ends, and under Wine a thread ending so while the main thread
// unloads a module left the process hung at its exit (one run in five of the
// concurrency test; none in 70 without the destructor).
#if defined(_WIN32)
thread_local State *state_of_thread = nullptr;
State &thread_state() {
    if (state_of_thread == nullptr) state_of_thread = new State;
    return *state_of_thread;
}
#else
thread_local State state_of_thread;
State &thread_state() {
    return state_of_thread;
}
#endif

std::string plhs0_label() {
    State &state = thread_state();
    if (!state.in_call || state.plhs == nullptr || state.slots < 1 || state.plhs[0] == nullptr)
        return "";
    return state.plhs[0]->label;
}

bool known(const mxArray_tag *a) {
    return a != nullptr && thread_state().live.count(const_cast<mxArray_tag *>(a)) != 0;
}

void check_known(const char *what, const mxArray_tag *a) {
    if (!known(a))
        thread_state().faults.push_back(std::string(what) + " of an array the host does not know");
}

// The data of a real double array of bytes bytes, zeroed, placed as
// the thread's placement asks: 16, 32 or 64 puts it at exactly that alignment (an
// odd multiple of it within 128 bytes, so no stricter one holds by chance);
// -1 ends it at a page boundary, followed by an inaccessible page.
void *place(mxArray_tag *a, size_t bytes) {
    const int p = thread_state().placement;
    if (p == 16 || p == 32 || p == 64) {
        a->block = standin::alloc_aligned(128, (bytes + 255) / 128 * 128);
        if (a->block == nullptr) return nullptr;
        std::memset(a->block, 0, bytes + p);
        return static_cast<char *>(a->block) + p;
    }
    const size_t page = standin::page_size();
    const size_t span = (bytes + page - 1) / page * page;
    void *m = standin::map_pages(span + page, standin::Access::ReadWrite);
    if (m == nullptr) return nullptr;
    char *guard = static_cast<char *>(m) + span;
    standin::protect_pages(guard, page, standin::Access::None);
    a->block = m;
    a->mapped = span + page;
    return guard - bytes;
}

void free_data(mxArray_tag *a) {
    if (a->mapped)
        standin::unmap_pages(a->block, a->mapped);
    else if (a->block)
        standin::free_aligned(a->block);
    else
        std::free(a->data);
    std::free(a->imag);
}

mxArray_tag *allocate(ClassId cls, size_t rows, size_t cols, bool complex, bool storage) {
    auto *a = new mxArray_tag;
    a->cls = cls;
    a->rows = rows;
    a->cols = cols;
    a->complex = complex;
    // On a 32-bit host rows * cols can wrap around to a small count; such an
    // array cannot exist, so it fails like any allocation that is too large.
    const bool wraps = cols != 0 && rows > std::numeric_limits<size_t>::max() / cols;
    const size_t count = wraps ? 0 : rows * cols;
    const size_t width = element_size(cls);
    if (storage && (wraps || (count > 0 && width > 0))) {
        if (wraps || count > std::numeric_limits<size_t>::max() / width / 2) {
            delete a;
            return nullptr;
        }
        if (thread_state().placement != 0 && cls == ClassId::Double && !complex)
            a->data = place(a, count * width);
        else
            a->data = std::calloc(count, width);
        if (complex) a->imag = static_cast<double *>(std::calloc(count, sizeof(double)));
        if (a->data == nullptr || (complex && a->imag == nullptr)) {
            free_data(a);
            delete a;
            return nullptr;
        }
    }
    thread_state().live.insert(a);
    return a;
}

mxArray_tag *create(int m, int n, mxComplexity flag) {
    State &state = thread_state();
    record("create", nullptr, m, n);
    if (m < 0 || n < 0) state.faults.push_back("array created with a negative size");
    if (flag != mxREAL) state.faults.push_back("array created with a complex flag");
    const size_t rows = m < 0 ? 0 : static_cast<size_t>(m);
    const size_t cols = n < 0 ? 0 : static_cast<size_t>(n);
    mxArray_tag *a = allocate(ClassId::Double, rows, cols, false, true);
    if (a == nullptr) throw HostAbort{"Out of memory."};
    a->label = std::to_string(++state.created_total);
    a->label.insert(a->label.begin(), '#');
    state.ops.back().array = a->label;
    if (rows * cols <= fill_limit) {
        auto *d = static_cast<double *>(a->data);
        for (size_t i = 0; i < rows * cols; ++i)
            std::memcpy(&d[i], &unwritten_bits, sizeof(double));
    }
    state.created.push_back(a);
    return a;
}

} // namespace

size_t element_size(ClassId cls) {
    switch (cls) {
    case ClassId::Double:
    case ClassId::Int64:
    case ClassId::Uint64:
        return 8;
    case ClassId::Single:
    case ClassId::Int32:
    case ClassId::Uint32:
        return 4;
    case ClassId::Int16:
    case ClassId::Uint16:
    case ClassId::Char:
        return 2;
    case ClassId::Int8:
    case ClassId::Uint8:
    case ClassId::Logical:
        return 1;
    case ClassId::Cell:
    case ClassId::Struct:
        return sizeof(void *);
    }
    return 0;
}

void record(const char *what, const mxArray_tag *a, int64_t rows, int64_t cols) {
    if (!thread_state().in_call) return;
    Op op;
    op.what = what;
    op.array = a != nullptr ? a->label : "";
    op.rows = rows;
    op.cols = cols;
    op.plhs0 = plhs0_label();
    thread_state().ops.push_back(op);
}

mxArray_tag *make_argument(ClassId cls, size_t rows, size_t cols, bool complex, bool sparse,
                           bool storage, const std::string &label) {
    mxArray_tag *a = allocate(cls, rows, cols, complex, storage);
    if (a == nullptr) return nullptr;
    a->sparse = sparse;
    a->label = label;
    return a;
}

void begin_call(mxArray_tag **plhs, int slots) {
    State &state = thread_state();
    state.in_call = true;
    state.plhs = plhs;
    state.slots = slots;
    state.ops.clear();
    state.created.clear();
    state.created_total = 0;
}

std::vector<Op> end_call() {
    State &state = thread_state();
    state.in_call = false;
    state.plhs = nullptr;
    return std::move(state.ops);
}

std::vector<mxArray_tag *> created_in_call() {
    return thread_state().created;
}

std::string label_of(const mxArray_tag *a) {
    return a != nullptr ? a->label : "";
}

size_t live_arrays() {
    return thread_state().live.size();
}

void release(mxArray_tag *a) {
    if (!known(a)) return;
    thread_state().live.erase(a);
    free_data(a);
    delete a;
}

void set_placement(int placement) {
    thread_state().placement = placement;
}

std::vector<std::string> &host_faults() {
    return thread_state().faults;
}

size_t rows_of(const mxArray_tag *a) {
    return a->rows;
}
size_t cols_of(const mxArray_tag *a) {
    return a->cols;
}
const double *real_of(const mxArray_tag *a) {
    return static_cast<const double *>(a->data);
}
ClassId class_of(const mxArray_tag *a) {
    return a->cls;
}
bool complex_of(const mxArray_tag *a) {
    return a->complex;
}
double *imag_of(mxArray_tag *a) {
    return a->imag;
}
void *data_of(mxArray_tag *a) {
    return a->data;
}

} // namespace standin

using standin::check_known;
using standin::record;

extern "C" {

size_t mxGetM(const mxArray *a) {
    record("M", a);
    check_known("mxGetM", a);
    return a->rows;
}

size_t mxGetN(const mxArray *a) {
    record("N", a);
    check_known("mxGetN", a);
    return a->cols;
}

double *mxGetPr(const mxArray *a) {
    record("Pr", a);
    check_known("mxGetPr", a);
    return static_cast<double *>(a->data);
}

bool mxIsDouble(const mxArray *a) {
    record("IsDouble", a);
    check_known("mxIsDouble", a);
    return a->cls == standin::ClassId::Double;
}

bool mxIsComplex(const mxArray *a) {
    record("IsComplex", a);
    check_known("mxIsComplex", a);
    return a->complex;
}

bool mxIsSparse(const mxArray *a) {
    record("IsSparse", a);
    check_known("mxIsSparse", a);
    return a->sparse;
}

mxArray *mxCreateDoubleMatrix(int m, int n, mxComplexity flag) {
    return standin::create(m, n, flag);
}

mxArray *mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag) {
    return standin::create(m, n, flag);
}

// The large-array entry: the modules never ask it for a side over 2^31 - 1.
mxArray *mxCreateDoubleMatrix_730(size_t m, size_t n, mxComplexity flag) {
    constexpr size_t most = INT32_MAX;
    if (m > most || n > most)
        standin::thread_state().faults.push_back("array created with a side over 2^31 - 1");
    return standin::create(int(std::min(m, most)), int(std::min(n, most)), flag);
}

void mxDestroyArray(mxArray *a) {
    standin::State &state = standin::thread_state();
    record("destroy", a);
    if (!standin::known(a)) {
        state.faults.push_back("mxDestroyArray of an array the host does not know");
        return;
    }
    auto &created = state.created;
    const auto it = std::find(created.begin(), created.end(), a);
    if (it == created.end()) {
        state.faults.push_back("mxDestroyArray of an array the call did not create");
        return;
    }
    created.erase(it);
    standin::release(a);
}

} // extern "C"
