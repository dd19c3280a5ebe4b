// Running a kernel under watch: inputs sit against inaccessible pages so any
// read outside them (or any write into them) faults at once, and the output
// buffer is surrounded by guard values and pre-filled with a marker, so a
// write outside the outputs, an output never written or an output read
// before it is written all show in the result.
#pragma once

#include "pages.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bitwise.h"

namespace harness {

using Vec = std::vector<double>;
using Kernel = void (*)(const double *, int32_t, const double *, int32_t, double *);

using bitwise::bits;
using bitwise::same_bits;

inline double from_bits(uint64_t b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}

// Quiet NaNs that no arithmetic here produces.
constexpr uint64_t guard_bits = 0x7ff8000000c0ffeeULL;
constexpr uint64_t unwritten_bits = 0x7ff80000000badd0ULL;

// A read-only copy of v that ends exactly at an inaccessible page (Edge::Back)
// or starts exactly after one (Edge::Front).
class Fenced {
  public:
    enum Edge { Back, Front };

    Fenced(const Vec &v, Edge edge) {
        using standin::Access;
        page_ = standin::page_size();
        const size_t bytes = v.size() * sizeof(double);
        const size_t rounded = (bytes + page_ - 1) / page_ * page_;
        const size_t body = rounded > 0 ? rounded : page_;
        size_ = body + 2 * page_;
        void *base = standin::map_pages(size_, Access::None);
        if (base == nullptr) throw std::runtime_error("cannot map pages");
        base_ = static_cast<char *>(base);
        char *open = base_ + page_;
        standin::protect_pages(open, body, Access::ReadWrite);
        char *start = edge == Back ? open + body - bytes : open;
        if (bytes > 0) std::memcpy(start, v.data(), bytes);
        standin::protect_pages(open, body, Access::Read);
        // An empty buffer points at a closed page either way.
        if (bytes == 0) standin::protect_pages(open, body, Access::None);
        data_ = reinterpret_cast<const double *>(start);
    }
    ~Fenced() { standin::unmap_pages(base_, size_); }
    Fenced(const Fenced &) = delete;
    Fenced &operator=(const Fenced &) = delete;

    const double *data() const { return data_; }

  private:
    size_t page_ = 0;
    size_t size_ = 0;
    char *base_ = nullptr;
    const double *data_ = nullptr;
};

constexpr int guard_count = 16;

// Runs kernel(x, n, f, m, y) with x and f fenced at the given edge and y
// guarded, checks the guards, and returns the outputs.
inline Vec run_fenced(Kernel kernel, const Vec &x, const Vec &f, size_t out_len,
                      Fenced::Edge edge) {
    const Fenced fx(x, edge), ff(f, edge);
    Vec buf(out_len + 2 * guard_count, from_bits(guard_bits));
    for (size_t i = 0; i < out_len; ++i) buf[guard_count + i] = from_bits(unwritten_bits);
    kernel(fx.data(), static_cast<int32_t>(x.size()), ff.data(), static_cast<int32_t>(f.size()),
           buf.data() + guard_count);
    for (int g = 0; g < guard_count; ++g) {
        EXPECT_EQ(bits(buf[g]), guard_bits) << "written " << guard_count - g << " before y[0]";
        EXPECT_EQ(bits(buf[guard_count + out_len + g]), guard_bits)
            << "written " << g << " after the last output";
    }
    return Vec(buf.begin() + guard_count, buf.begin() + guard_count + out_len);
}

// Both fence placements must give the same outputs; the first is returned.
inline Vec run(Kernel kernel, const Vec &x, const Vec &f, size_t out_len) {
    const Vec back = run_fenced(kernel, x, f, out_len, Fenced::Back);
    const Vec front = run_fenced(kernel, x, f, out_len, Fenced::Front);
    EXPECT_EQ(back.size(), front.size());
    for (size_t i = 0; i < back.size() && i < front.size(); ++i)
        EXPECT_EQ(bits(back[i]), bits(front[i])) << "output " << i;
    return back;
}

} // namespace harness
