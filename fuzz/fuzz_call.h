// One call of a command decoded from fuzzing input, and the rules every call
// must keep; shared by the fuzzers and by the test that replays their corpus
// and random input against the built modules.
//
// Each input is decoded into a call: a result count, an argument count, and
// for every argument a class, complexity, sparsity, a shape (small arrays
// with storage, or arrays that report sizes up to 2^64 - 1 with none behind
// them) and values (ordinary numbers, NaN, infinities, huge and boundary
// levels). Every call must:
//  - leave the host clean: no misuse of the host, nothing leaked;
//  - when it fails, fail with one of the command's messages before creating
//    anything, returning nothing;
//  - when it succeeds, return the shape and the bits of the plain reference.
#pragma once

#include "../tests/support/reference.h"
#include "session.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fuzzcall {

using standin::ClassId;
using standin::Outcome;
using standin::Value;
using Vec = std::vector<double>;

inline bool grid_command(const std::string &command) {
    return command == "SiftGrid_WR" || command == "MeldGrid_WR";
}

inline bool signals_command(const std::string &command) {
    return command == "SiftSignal_WR" || command == "MeldSignal_WR";
}

// The input read front to back; zeros once it runs out.
class Bytes {
  public:
    Bytes(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

  private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

inline double value_of(uint8_t b) {
    static const double special[32] = {NAN,
                                       -NAN,
                                       INFINITY,
                                       -INFINITY,
                                       -0.0,
                                       0.5,
                                       -0.5,
                                       1.5,
                                       -1.5,
                                       2.49,
                                       1e300,
                                       -1e300,
                                       2147483647.0,
                                       2147483647.5,
                                       2147483646.5,
                                       -2147483648.0,
                                       -2147483648.5,
                                       -2147483649.0,
                                       4294967296.0,
                                       1e-310,
                                       DBL_MAX,
                                       -DBL_MAX,
                                       DBL_MIN,
                                       1.0 / 3.0,
                                       3.141592653589793,
                                       30.0,
                                       31.0,
                                       32.0,
                                       -31.0,
                                       -32.0,
                                       1e9,
                                       0.49999999999999994};
    return b < 224 ? (static_cast<double>(b) - 112.0) / 16.0 : special[b - 224];
}

// Sizes of an array with storage: powers of two most of the time.
inline size_t small_size(uint8_t b) {
    static const size_t table[12] = {0, 1, 2, 4, 8, 16, 32, 64, 128, 256, 1024, 4096};
    return b < 192 ? table[b % 12] : static_cast<size_t>(b - 192);
}

// Sizes an array may report with no storage behind it.
inline size_t reported_size(uint8_t b) {
    static const uint64_t table[17] = {0,
                                       1,
                                       2,
                                       3,
                                       4,
                                       uint64_t{1} << 15,
                                       uint64_t{1} << 16,
                                       uint64_t{1} << 30,
                                       (uint64_t{1} << 31) - 1,
                                       uint64_t{1} << 31,
                                       (uint64_t{1} << 31) + 2,
                                       (uint64_t{1} << 32) - 1,
                                       uint64_t{1} << 32,
                                       (uint64_t{1} << 32) + 4,
                                       uint64_t{1} << 40,
                                       uint64_t{1} << 62,
                                       UINT64_MAX};
    return static_cast<size_t>(table[b % 17]);
}

inline Value argument(Bytes &in) {
    const uint8_t c = in.next() % 32;
    // 13 classes besides double, in the order of ClassId.
    const ClassId cls = c >= 18 && c < 31 ? static_cast<ClassId>(c - 17) : ClassId::Double;
    const int mode = in.next() % 8;
    Value v;
    if (mode == 3) {
        // No storage: a host backs every array that has elements, so only
        // an empty shape or one beyond 32 bits may come without any. The
        // gateway must refuse the latter before it reads any data.
        size_t rows = reported_size(in.next());
        const size_t cols = reported_size(in.next());
        if (rows != 0 && cols != 0 && rows <= INT32_MAX && cols <= INT32_MAX)
            rows = size_t{1} << 31;
        v = Value::phantom(rows, cols);
        v.cls = cls;
        return v;
    }
    size_t rows = small_size(in.next());
    size_t cols = small_size(in.next());
    while (rows * cols > 4096) (rows > cols ? rows : cols) /= 2;
    if (cls != ClassId::Double) {
        v = Value::of_class(cls, rows, cols);
    } else {
        Vec data(rows * cols);
        for (double &x : data) x = value_of(in.next());
        v = Value::matrix(rows, cols, data);
    }
    v.complex = mode == 1;
    v.sparse = mode == 2;
    if (v.complex) v.im.assign(rows * cols, 1.0);
    return v;
}

inline std::vector<std::string> messages(const std::string &command) {
    const bool is_grid = grid_command(command);
    const std::string c = command;
    std::vector<std::string> m = {
        c + " requires one output argument.",
        c + " requires arrays of fewer than 2^31 rows and columns",
        c + " requires a real double filter",
        c + " requires a filter of fewer than 2^31 taps",
    };
    if (is_grid || signals_command(command))
        for (const char *tail :
             {" requires 3 input arguments.", " requires a real double level",
              " requires a nonempty level", " requires a level that rounds to a 32-bit integer"})
            m.push_back(c + tail);
    if (signals_command(command)) {
        for (const char *tail :
             {" requires dyadic length", " requires a real double signal",
              " requires signals of at most 2^30 samples", " requires fewer than 2^31 elements"})
            m.push_back(c + tail);
    } else if (is_grid) {
        const std::string shortname = c == "MeldGrid_WR" ? "MeldGrid" : c;
        for (const char *tail : {" requires a square array", " requires a real double array",
                                 " requires sides of at most 2^15"})
            m.push_back(c + tail);
        m.push_back(shortname + " requires dyadic length sides");
    } else {
        const char *longest = c.rfind("Sink", 0) == 0 ? "2^30" : "2^29";
        for (const char *tail : {" requires two input arguments.", " requires dyadic length",
                                 " requires a real double signal", " requires a nonempty signal"})
            m.push_back(c + tail);
        m.push_back(c + " requires a signal of at most " + longest + " samples");
    }
    return m;
}

inline bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// What the command should have returned, from the plain reference.
inline Value expected(const std::string &command, const std::vector<Value> &args) {
    const bool is_grid = grid_command(command);
    const Value &x = args[0];
    const Vec &h = args[is_grid || signals_command(command) ? 2 : 1].re;
    Value y;
    if (signals_command(command)) {
        // Every column a signal, or the one row.
        const int64_t L = static_cast<int64_t>(std::floor(args[1].re[0] + 0.5));
        const size_t n = x.rows == 1 ? x.cols : x.rows;
        Vec out;
        for (size_t s = 0; n > 0 && s < x.re.size() / n; ++s) {
            const Vec signal(x.re.begin() + static_cast<long>(s * n),
                             x.re.begin() + static_cast<long>((s + 1) * n));
            const Vec w = command == "SiftSignal_WR" ? ref::forward1d(signal, L, h)
                                                     : ref::inverse1d(signal, L, h);
            out.insert(out.end(), w.begin(), w.end());
        }
        return Value::matrix(x.rows, x.cols, out);
    }
    if (is_grid) {
        const int64_t n = static_cast<int64_t>(x.rows);
        const int64_t L = static_cast<int64_t>(std::floor(args[1].re[0] + 0.5));
        y = Value::matrix(x.rows, x.rows,
                          command == "SiftGrid_WR" ? ref::forward2d(x.re, n, L, h)
                                                   : ref::inverse2d(x.re, n, L, h));
        return y;
    }
    const bool row = x.rows == 1;
    const Vec signal(x.re.begin(), x.re.begin() + static_cast<long>(row ? x.cols : x.rows));
    Vec out;
    if (command == "SinkCoarse") out = ref::downlo(signal, h);
    if (command == "SinkDetail") out = ref::downhi(signal, ref::mirror(h));
    if (command == "RaiseCoarse") out = ref::uplo(signal, h);
    if (command == "RaiseDetail") out = ref::uphi(signal, ref::mirror(h));
    return row ? Value::row(out) : Value::column(out);
}

// Decodes one input into a call of `command` through `gateway` and checks
// what the call left. Returns "" when every rule holds, else what broke.
inline std::string check_call(const std::string &command, const standin::Module &gateway,
                              const uint8_t *data, size_t size) {
    const int arguments = grid_command(command) || signals_command(command) ? 3 : 2;
    Bytes in(data, size);
    static const int nlhs_table[8] = {1, 1, 1, 0, 2, 1, 3, 1};
    const int nlhs = nlhs_table[in.next() % 8];
    const int nrhs_table[10] = {arguments,     arguments, arguments, arguments, arguments - 1,
                                arguments + 1, 0,         1,         4,         arguments};
    const int nrhs = nrhs_table[in.next() % 10];
    std::vector<Value> args;
    for (int k = 0; k < nrhs; ++k) args.push_back(argument(in));

    const Outcome out = gateway.call(nlhs, args);
    if (!out.faults.empty()) return "host misuse: " + out.faults[0];
    if (out.leaked != 0) return "arrays leaked";
    if (!out.ok) {
        bool listed = false;
        for (const auto &m : messages(command)) listed = listed || m == out.message;
        if (!listed) return "unknown message: " + out.message;
        for (const auto &op : out.ops)
            if (op.what == "create") return "created an array before failing: " + out.message;
        if (!out.results.empty() || !out.freed_by_host.empty()) return "failed call left arrays";
        return "";
    }
    if (out.results.size() != 1) return "successful call without exactly one result";
    const Value want = expected(command, args);
    const Value &got = out.results[0];
    if (got.rows != want.rows || got.cols != want.cols) return "result of the wrong shape";
    for (size_t i = 0; i < want.re.size(); ++i)
        if (!same(got.re[i], want.re[i]))
            return "result differs from the reference at " + std::to_string(i);
    return "";
}

} // namespace fuzzcall
