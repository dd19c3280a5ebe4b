// Timing harness for the filtering kernels and grid transforms.
//
// For every case it times, on preallocated buffers and in interleaved rounds
// (one run of each implementation per round), the vector path this CPU
// selects, the plain loops, a literal scalar implementation kept here as the
// reference point, GSL's Daubechies transform where it does the same work, a
// memcpy of the same bytes, for the 2-D cases a memory floor (one copy of the
// grid and one read and write of the transformed block per pass per level),
// and the whole call of the command module through the stand-in host. Every
// timed call, memcpy included, starts with the caches evicted by an untimed
// read of a 128 MiB buffer, so no implementation finds its data left in the
// caches by the one before (bench/run.py does the same for PyWavelets). It
// prints one JSON object per case and implementation with the median time in
// milliseconds; bench/run.py adds PyWavelets and Octave and prints the table.
//
// Each 2-D case also prints its arithmetic bound (impl "bound", not timed):
// the multiplies and adds it must do at the rate a loop of independent
// vector multiplies and adds of the variant's lane width reaches in the same
// run (printed first, kind "rate").
//
//   wavelet_bench [--quick] [--rounds K] [--1d N]... [--2d N]... [--taps M]... MODULE_DIR
//
// --1d and --2d replace the default lengths and sides (0 skips that kind),
// --taps the 2-D filter lengths (4, 8, 12, 16, 20 and 30).
#include <gsl/gsl_errno.h>
#include <gsl/gsl_wavelet.h>
#include <gsl/gsl_wavelet2d.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "kernels/periodic/periodic.h"
#include "kernels/simd/simd.h"
#include "session.h"
#include "transform1d/transform1d.h"
#include "transform2d/grid_simd.h"
#include "transform2d/transform2d.h"

namespace {

typedef std::vector<double> Vec;

// The lowpass filter of m taps: GSL's Daubechies filters for 4 to 20 taps
// (the ones its transform uses), and the 30-tap coiflet beyond them.
Vec lowpass(int m) {
    if (m == 30)
        return {-9.604010112767894e-08, -1.6237995172048338e-07, 2.0612203985788783e-06,
                3.7007277113394796e-06, -2.1270221672515614e-05, -4.12198619242655e-05,
                0.00014035632812373243, 0.0003018579416682448,   -0.0006375589261258812,
                -0.0016616273039298788, 0.0024315754425382886,   0.006761520220620417,
                -0.009159507338676163,  -0.019758391600965465,   0.032674799467057355,
                0.041287530472117834,   -0.10556315130733723,    -0.06203775157498196,
                0.4379823066591634,     0.7742936228603274,      0.42157126673075435,
                -0.052046670253554764,  -0.09192158806008609,    0.028169744270532353,
                0.023408322118927783,   -0.010131584846900276,   -0.00415931262757864,
                0.0021782943778456947,  0.0003585777411617577,   -0.000212081862067494};
    gsl_wavelet *w = gsl_wavelet_alloc(gsl_wavelet_daubechies, size_t(m));
    Vec h(w->h1, w->h1 + m);
    gsl_wavelet_free(w);
    return h;
}

// GSL has Daubechies filters of 4 to 20 taps.
bool gsl_has(int m) {
    return m >= 4 && m <= 20 && m % 2 == 0;
}

Vec random_values(size_t count) {
    std::mt19937_64 gen(12345);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    Vec v(count);
    for (auto &x : v) x = unit(gen);
    return v;
}

// The literal algorithm: every output a sum over its window with the index
// reduced by a mask, rows gathered and scattered one at a time.
void literal_downlo(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    for (int32_t i = 0; i < n / 2; ++i) {
        double s = 0.0;
        for (int32_t j = 0; j < m; ++j) s += h[j] * x[(2 * i + j) & (n - 1)];
        y[i] = s;
    }
}
void literal_downhi(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    for (int32_t i = 0; i < n / 2; ++i) {
        double s = 0.0;
        for (int32_t j = 0; j < m; ++j) s += g[j] * x[(2 * i + 1 - j) & (n - 1)];
        y[i] = s;
    }
}
void literal_uplo(const double *x, int32_t n, const double *h, int32_t m, double *y) {
    for (int32_t i = 0; i < n; ++i) {
        double e = 0.0, o = 0.0;
        for (int32_t j = 0; 2 * j < m; ++j) e += h[2 * j] * x[(i - j) & (n - 1)];
        for (int32_t j = 0; 2 * j + 1 < m; ++j) o += h[2 * j + 1] * x[(i - j) & (n - 1)];
        y[2 * i] = e;
        y[2 * i + 1] = o;
    }
}
void literal_uphi(const double *x, int32_t n, const double *g, int32_t m, double *y) {
    for (int32_t i = 0; i < n; ++i) {
        double e = 0.0, o = 0.0;
        for (int32_t j = 0; 2 * j < m; ++j) e += g[2 * j] * x[(i + j) & (n - 1)];
        for (int32_t j = 0; 2 * j + 1 < m; ++j) o += g[2 * j + 1] * x[(i + j) & (n - 1)];
        y[2 * i + 1] = e;
        y[2 * i] = o;
    }
}

void literal_forward(const double *src, int32_t n, int32_t L, int32_t J, const double *g,
                     const double *h, int32_t m, double *out, double *work) {
    std::memcpy(out, src, sizeof(double) * n * n);
    double *w0 = work, *w1 = work + n, *w2 = work + 2 * n;
    int32_t size = n;
    for (int32_t lev = J - 1; lev >= L; --lev, size /= 2) {
        const int32_t half = size / 2;
        for (int32_t c = 0; c < size; ++c) {
            double *col = out + size_t(n) * c;
            std::memcpy(w0, col, sizeof(double) * size);
            literal_downlo(w0, size, h, m, col);
            literal_downhi(w0, size, g, m, col + half);
        }
        for (int32_t r = 0; r < size; ++r) {
            for (int32_t c = 0; c < size; ++c) w0[c] = out[r + size_t(n) * c];
            literal_downlo(w0, size, h, m, w1);
            literal_downhi(w0, size, g, m, w2);
            for (int32_t c = 0; c < half; ++c) out[r + size_t(n) * c] = w1[c];
            for (int32_t c = 0; c < half; ++c) out[r + size_t(n) * (half + c)] = w2[c];
        }
    }
}

void literal_inverse(const double *src, int32_t n, int32_t L, int32_t, const double *g,
                     const double *h, int32_t m, double *out, double *work) {
    std::memcpy(out, src, sizeof(double) * n * n);
    double *w0 = work, *w1 = work + n, *w2 = work + 2 * n, *w3 = work + 3 * n;
    for (int32_t e = 1 << L; e < n; e *= 2) {
        const int32_t s = 2 * e;
        for (int32_t r = 0; r < s; ++r) {
            for (int32_t c = 0; c < e; ++c) w1[c] = out[r + size_t(n) * c];
            for (int32_t c = 0; c < e; ++c) w2[c] = out[r + size_t(n) * (e + c)];
            literal_uplo(w1, e, h, m, w0);
            literal_uphi(w2, e, g, m, w3);
            for (int32_t c = 0; c < s; ++c) out[r + size_t(n) * c] = w0[c] + w3[c];
        }
        for (int32_t c = 0; c < s; ++c) {
            double *col = out + size_t(n) * c;
            literal_uplo(col, e, h, m, w1);
            literal_uphi(col + e, e, g, m, w2);
            for (int32_t k = 0; k < s; ++k) col[k] = w1[k] + w2[k];
        }
    }
}

// One read and write of the top-left s-by-s block of a column-major grid with
// n rows, column by column. x + 0.0 is not x for x = -0.0 (it gives +0.0), so
// the compiler has to keep every load and store; it may vectorise the loop.
void sweep_block(double *grid, int32_t n, int32_t s) {
    for (int32_t c = 0; c < s; ++c) {
        double *col = grid + size_t(n) * c;
        for (int32_t r = 0; r < s; ++r) col[r] = col[r] + 0.0;
    }
}

// The memory traffic of a transform from level J to level L without its
// arithmetic: one copy of the grid into the output, then for each level, in
// the order the transform takes them, one sweep of that level's block for
// each of its two passes (columns, rows).
void memory_floor(const double *src, int32_t n, int32_t L, bool forward, double *grid) {
    std::memcpy(grid, src, sizeof(double) * n * n);
    const int32_t smallest = int32_t{2} << L;
    if (forward)
        for (int32_t s = n; s >= smallest; s /= 2) {
            sweep_block(grid, n, s);
            sweep_block(grid, n, s);
        }
    else
        for (int32_t s = smallest; s <= n; s *= 2) {
            sweep_block(grid, n, s);
            sweep_block(grid, n, s);
        }
}

struct Impl {
    std::string name;
    std::function<void()> run;
};

double now_ms() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Reads every line of a buffer larger than any last-level cache, so that the
// next timed call finds none of its own data cached whatever ran before it.
// Reading leaves the caches holding clean lines, which the timed call drops
// without writing them back.
volatile uint64_t evict_sink;
void evict_caches() {
    static const std::vector<uint64_t> buffer((size_t{128} << 20) / sizeof(uint64_t), 1);
    uint64_t mix = 0;
    for (uint64_t x : buffer) mix ^= x;
    evict_sink = mix;
}

// The multiply-and-add rate of the vectors the variant in use works with: a
// loop of 12 independent chains acc += c * x, each x loaded afresh from a
// small buffer (the compiler may not keep it in a register: the pointer
// passes through an empty asm statement every round), one multiply and one
// add per lane, as the kernels do them. Returns floating-point operations
// (each multiply and each add one) per millisecond.
constexpr int rate_chains = 12;

#define WAVELET_RATE_LOOP(W)                                                                       \
    typedef double lane_vec __attribute__((vector_size(8 * (W))));                                 \
    lane_vec acc[rate_chains] = {}, c = {};                                                        \
    alignas(64) double buf[rate_chains * (W)];                                                     \
    for (int l = 0; l < (W); ++l) c[l] = 0.999;                                                    \
    for (int k = 0; k < rate_chains * (W); ++k) buf[k] = 1e-3 * (k + 1);                           \
    const double *p = buf;                                                                         \
    for (int64_t it = 0; it < rounds; ++it) {                                                      \
        asm volatile("" : "+r"(p));                                                                \
        for (int k = 0; k < rate_chains; ++k) {                                                    \
            lane_vec x;                                                                            \
            std::memcpy(&x, p + k * (W), sizeof x);                                                \
            acc[k] += c * x;                                                                       \
        }                                                                                          \
    }                                                                                              \
    double sum = 0.0;                                                                              \
    for (int k = 0; k < rate_chains; ++k)                                                          \
        for (int l = 0; l < (W); ++l) sum += acc[k][l];                                            \
    return sum;

double rate_loop_1(int64_t rounds) {
    WAVELET_RATE_LOOP(1)
}
double rate_loop_2(int64_t rounds) {
    WAVELET_RATE_LOOP(2)
}
#if defined(__x86_64__)
__attribute__((target("avx2"))) double rate_loop_4(int64_t rounds) {
    WAVELET_RATE_LOOP(4)
}
__attribute__((target("avx512f"))) double rate_loop_8(int64_t rounds) {
    WAVELET_RATE_LOOP(8)
}
#endif

volatile double rate_sink;

double flops_per_ms(int W) {
    double (*loop)(int64_t) = W == 2 ? rate_loop_2 : rate_loop_1;
#if defined(__x86_64__)
    if (W == 4) loop = rate_loop_4;
    if (W == 8) loop = rate_loop_8;
#endif
    const int64_t rounds = int64_t{20} << 20;
    double best = 1e300;
    for (int trial = 0; trial < 7; ++trial) {
        const double t0 = now_ms();
        rate_sink = loop(rounds);
        best = std::min(best, now_ms() - t0);
    }
    return 2.0 * double(rounds) * rate_chains * W / best;
}

// The multiplies and adds a 2-D transform from level J to level L must do:
// each level of block side s makes s * s outputs in each of its two passes,
// each output m products and m sums.
double transform_flops(int32_t n, int32_t L, int m) {
    double flops = 0.0;
    for (int32_t s = n; s >= (int32_t{2} << L); s /= 2) flops += 2.0 * double(s) * s * m * 2.0;
    return flops;
}

// Interleaved rounds, each call timed from evicted caches; prints the median
// of each implementation.
void measure(const std::string &fields, const std::vector<Impl> &impls, int rounds) {
    std::vector<std::vector<double>> times(impls.size());
    for (auto &impl : impls) impl.run(); // fault in the pages of every buffer
    for (int r = 0; r < rounds; ++r)
        for (size_t k = 0; k < impls.size(); ++k) {
            evict_caches();
            const double t0 = now_ms();
            impls[k].run();
            times[k].push_back(now_ms() - t0);
        }
    for (size_t k = 0; k < impls.size(); ++k) {
        auto &t = times[k];
        std::sort(t.begin(), t.end());
        const double median =
            t.size() % 2 ? t[t.size() / 2] : 0.5 * (t[t.size() / 2 - 1] + t[t.size() / 2]);
        std::printf("{%s, \"impl\": \"%s\", \"ms\": %.4f}\n", fields.c_str(), impls[k].name.c_str(),
                    median);
        std::fflush(stdout);
    }
}

void bench_1d(int32_t n, int m, int rounds) {
    const Vec h = lowpass(m);
    Vec g(m);
    mirrorfilt(h.data(), g.data(), m);
    const Vec x = random_values(n);
    Vec lo(n / 2), hi(n / 2), y(2 * size_t(n)), y2(2 * size_t(n)), sum(n), copy(2 * size_t(n));
    const Vec written(2 * size_t(n), 0.5);
    gsl_wavelet *w = gsl_wavelet_alloc(gsl_wavelet_daubechies, m);
    gsl_wavelet_workspace *ws = gsl_wavelet_workspace_alloc(n);
    Vec gsl_data = x;
    const int J = int(std::lround(std::log2(n)));
    char fields[200];

    std::snprintf(fields, sizeof fields,
                  "\"kind\": \"1d\", \"dir\": \"analysis\", \"n\": %d, \"m\": %d, \"J\": %d", n, m,
                  J);
    measure(
        fields,
        {{"fast",
          [&] {
              downlo(x.data(), n, h.data(), m, lo.data());
              downhi(x.data(), n, g.data(), m, hi.data());
          }},
         {"plain",
          [&] {
              downlo_plain(x.data(), n, h.data(), m, lo.data());
              downhi_plain(x.data(), n, g.data(), m, hi.data());
          }},
         {"literal",
          [&] {
              literal_downlo(x.data(), n, h.data(), m, lo.data());
              literal_downhi(x.data(), n, g.data(), m, hi.data());
          }},
         {"gsl_full_depth", [&] { gsl_wavelet_transform_forward(w, gsl_data.data(), 1, n, ws); }},
         {"memcpy", [&] { std::memcpy(copy.data(), x.data(), sizeof(double) * n); }}},
        rounds);

    // Synthesis from n/2 coarse and n/2 detail samples back to n.
    const int32_t e = n / 2;
    std::snprintf(fields, sizeof fields,
                  "\"kind\": \"1d\", \"dir\": \"synthesis\", \"n\": %d, \"m\": %d, \"J\": %d", n, m,
                  J);
    measure(
        fields,
        {{"fast",
          [&] {
              uplo(lo.data(), e, h.data(), m, y.data());
              uphi(hi.data(), e, g.data(), m, y2.data());
          }},
         {"plain",
          [&] {
              uplo_plain(lo.data(), e, h.data(), m, y.data());
              uphi_plain(hi.data(), e, g.data(), m, y2.data());
          }},
         {"literal",
          [&] {
              literal_uplo(lo.data(), e, h.data(), m, y.data());
              literal_uphi(hi.data(), e, g.data(), m, y2.data());
          }},
         {"gsl_full_depth", [&] { gsl_wavelet_transform_inverse(w, gsl_data.data(), 1, n, ws); }},
         {"memcpy", [&] { std::memcpy(copy.data(), x.data(), sizeof(double) * n); }},
         // The bytes the two outputs hold: n samples each.
         {"memcpy_written",
          [&] { std::memcpy(copy.data(), written.data(), sizeof(double) * 2 * n); }}},
        rounds);

    // The same synthesis summed into one signal of n samples, the work of
    // PyWavelets' idwt: the literal form fills two signals and adds them.
    std::snprintf(fields, sizeof fields,
                  "\"kind\": \"1d\", \"dir\": \"synthesis_sum\", \"n\": %d, \"m\": %d, \"J\": %d",
                  n, m, J);
    measure(fields,
            {{"fast", [&] { upsum(lo.data(), hi.data(), e, g.data(), h.data(), m, sum.data()); }},
             {"plain",
              [&] { upsum_plain(lo.data(), hi.data(), e, g.data(), h.data(), m, sum.data()); }},
             {"literal",
              [&] {
                  literal_uplo(lo.data(), e, h.data(), m, y.data());
                  literal_uphi(hi.data(), e, g.data(), m, y2.data());
                  for (int32_t k = 0; k < n; ++k) sum[k] = y[k] + y2[k];
              }},
             {"memcpy", [&] { std::memcpy(copy.data(), x.data(), sizeof(double) * n); }}},
            rounds);

    // The whole multi-level transform of the signal, full depth, both ways.
    Vec coefficients(n), rebuilt(n), work(n);
    for (const bool forward : {true, false}) {
        std::snprintf(fields, sizeof fields,
                      "\"kind\": \"1d\", \"dir\": \"%s\", \"n\": %d, \"m\": %d, \"J\": %d",
                      forward ? "multilevel_analysis" : "multilevel_synthesis", n, m, J);
        measure(fields,
                {{"fast",
                  [&] {
                      if (forward)
                          dpwt(x.data(), n, 1, 0, J, g.data(), h.data(), m, coefficients.data(),
                               work.data());
                      else
                          idpwt(coefficients.data(), n, 1, 0, J, g.data(), h.data(), m,
                                rebuilt.data(), work.data());
                  }},
                 {"gsl_full_depth",
                  [&] {
                      if (forward)
                          gsl_wavelet_transform_forward(w, gsl_data.data(), 1, n, ws);
                      else
                          gsl_wavelet_transform_inverse(w, gsl_data.data(), 1, n, ws);
                  }},
                 {"memcpy", [&] { std::memcpy(copy.data(), x.data(), sizeof(double) * n); }}},
                rounds);
    }
    gsl_wavelet_workspace_free(ws);
    gsl_wavelet_free(w);
}

void bench_2d(const std::string &module_dir, int32_t n, int m, int32_t L, int rounds, double rate) {
    const int32_t J = int32_t(std::lround(std::log2(n)));
    const Vec h = lowpass(m);
    Vec g(m);
    mirrorfilt(h.data(), g.data(), m);
    const size_t cells = size_t(n) * n;
    const Vec src = random_values(cells);
    Vec out(cells), work(4 * size_t(n)), copy(cells), gsl_data = src;
    gsl_wavelet *w = gsl_has(m) ? gsl_wavelet_alloc(gsl_wavelet_daubechies, m) : nullptr;
    gsl_wavelet_workspace *ws = gsl_wavelet_workspace_alloc(n);
    const bool full = L == 0;
    // The scalar references take seconds a call on long filters; they are
    // timed at 4 and 8 taps only.
    const bool references = m <= 8;

    standin::Module sift(standin::module_path(module_dir, "SiftGrid_WR"));
    standin::Module meld(standin::module_path(module_dir, "MeldGrid_WR"));
    const std::vector<standin::Value> args = {standin::Value::matrix(n, n, src),
                                              standin::Value::scalar(L), standin::Value::row(h)};

    for (const char *dir : {"forward", "inverse"}) {
        const bool fwd = dir[0] == 'f';
        auto fast = fwd ? dpwt2 : idpwt2;
        auto plain = fwd ? dpwt2_plain : idpwt2_plain;
        auto literal = fwd ? literal_forward : literal_inverse;
        std::vector<Impl> impls = {
            {"fast",
             [&] { fast(src.data(), n, n, L, J, g.data(), h.data(), m, out.data(), work.data()); }},
            {"memcpy", [&] { std::memcpy(copy.data(), src.data(), sizeof(double) * cells); }},
            {"floor", [&, fwd] { memory_floor(src.data(), n, L, fwd, copy.data()); }},
        };
        if (references) {
            impls.push_back({"plain", [&] {
                                 plain(src.data(), n, n, L, J, g.data(), h.data(), m, out.data(),
                                       work.data());
                             }});
            impls.push_back({"literal", [&] {
                                 literal(src.data(), n, L, J, g.data(), h.data(), m, out.data(),
                                         work.data());
                             }});
        }
        if (full && w)
            impls.push_back(
                {"gsl", [&, fwd] {
                     if (fwd)
                         gsl_wavelet2d_nstransform_forward(w, gsl_data.data(), n, n, n, ws);
                     else
                         gsl_wavelet2d_nstransform_inverse(w, gsl_data.data(), n, n, n, ws);
                 }});
        char fields[200];
        std::snprintf(
            fields, sizeof fields,
            "\"kind\": \"2d\", \"dir\": \"%s\", \"n\": %d, \"m\": %d, \"J\": %d, \"L\": %d", dir, n,
            m, J, L);
        measure(fields, impls, rounds);
        // Not timed: the arithmetic at the measured rate.
        std::printf("{%s, \"impl\": \"bound\", \"ms\": %.4f}\n", fields,
                    transform_flops(n, L, m) / rate);
        // The whole command call is timed in rounds of its own: each call
        // obtains and releases arrays of the grid's size from the host, and
        // the page faults and returns of memory that brings would otherwise
        // fall on whichever implementation runs next.
        const standin::Module &module = fwd ? sift : meld;
        if (module.loaded())
            measure(fields, {{"standin_call", [&] { module.call(1, args); }}}, rounds);
    }
    gsl_wavelet_workspace_free(ws);
    if (w) gsl_wavelet_free(w);
}

} // namespace

int main(int argc, char **argv) {
    bool quick = false;
    int rounds = 7;
    std::string module_dir = ".";
    std::vector<int32_t> only1, only2, taps;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quick")
            quick = true;
        else if (a == "--1d" && i + 1 < argc)
            only1.push_back(std::atoi(argv[++i]));
        else if (a == "--2d" && i + 1 < argc)
            only2.push_back(std::atoi(argv[++i]));
        else if (a == "--taps" && i + 1 < argc)
            taps.push_back(std::atoi(argv[++i]));
        else if (a == "--rounds" && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else
            module_dir = a;
    }
    gsl_set_error_handler_off();
    std::fprintf(stderr, "variant in use: %d (0 plain, 1 sse2, 2 avx2, 3 avx512)\n",
                 simd_variant());
    const int lanes = simd_lanes(simd_variant());
    const double rate = flops_per_ms(lanes);
    std::printf("{\"kind\": \"rate\", \"variant\": %d, \"lanes\": %d, \"gflops\": %.3f}\n",
                simd_variant(), lanes, rate * 1e-6);
    std::vector<int32_t> sides1 =
        quick ? std::vector<int32_t>{1 << 10} : std::vector<int32_t>{1 << 16, 1 << 20, 1 << 24};
    std::vector<int32_t> sides2 =
        quick ? std::vector<int32_t>{64} : std::vector<int32_t>{512, 1024, 2048, 4096};
    if (!only1.empty()) sides1 = only1;
    if (!only2.empty()) sides2 = only2;
    std::erase(sides1, 0);
    std::erase(sides2, 0);
    for (int m : {4, 8})
        for (int32_t n : sides1) bench_1d(n, m, n >= (1 << 24) ? std::max(3, rounds - 2) : rounds);
    if (taps.empty())
        taps = quick ? std::vector<int32_t>{4, 12} : std::vector<int32_t>{4, 8, 12, 16, 20, 30};
    // The filters, for the harnesses that time the same cases elsewhere.
    for (int m : taps) {
        std::printf("{\"kind\": \"filter\", \"m\": %d, \"h\": [", m);
        const Vec h = lowpass(m);
        for (int j = 0; j < m; ++j) std::printf("%s%.17g", j ? ", " : "", h[size_t(j)]);
        std::printf("]}\n");
    }
    for (int32_t n : sides2)
        for (int m : taps) {
            const int32_t J = int32_t(std::lround(std::log2(n)));
            for (int32_t L : {0, J - 3})
                bench_2d(module_dir, n, m, L, n >= 4096 ? std::max(3, rounds - 2) : rounds, rate);
        }
    return 0;
}
