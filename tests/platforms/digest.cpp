// wavelet_digest: a fingerprint of every result this build computes.
//
//   wavelet_digest BUILD_DIR
//
// Runs each kernel and transform on fixed inputs (made here from integer
// arithmetic alone, so every platform starts from the same bits) with every
// vector variant the processor runs, requires each variant to give exactly
// the bits of the plain loops, and prints one 64-bit hash of the bits per
// routine. Then it calls each command module of this platform through the
// stand-in host and prints a hash of its results. Two builds that print the
// same lines computed the same bits. The first line names the variants
// compared, and is left out when builds for different processors are
// compared.
#include "kernels/periodic/periodic.h"
#include "kernels/simd/simd.h"
#include "session.h"
#include "transform2d/transform2d.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Vec = std::vector<double>;

uint64_t next(uint64_t &state) { // splitmix64
    uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// Doubles of both signs over 25 binades with full mantissas: an integer of
// 53 bits scaled by an exact power of two.
Vec values(size_t count, uint64_t seed) {
    Vec v(count);
    for (double &x : v) {
        const uint64_t r = next(seed);
        const double mantissa = static_cast<double>(r >> 11) * 0x1p-53;
        const int scale = static_cast<int>(r & 31) % 25 - 12;
        x = std::ldexp((r >> 5) & 1 ? -mantissa : mantissa, scale);
    }
    return v;
}

uint64_t hash_bits(uint64_t h, const double *x, size_t count) { // FNV-1a over the bytes
    for (size_t i = 0; i < count; ++i) {
        uint64_t b;
        std::memcpy(&b, &x[i], sizeof b);
        for (int k = 0; k < 8; ++k) {
            h ^= (b >> (8 * k)) & 0xff;
            h *= 0x100000001b3ULL;
        }
    }
    return h;
}
constexpr uint64_t hash_start = 0xcbf29ce484222325ULL;

const Vec daub4 = {0.48296291314453416, 0.8365163037378079, 0.2241438680420134,
                   -0.12940952255126037};

// The filters: two lengths people use, and arbitrary ones up to 30 taps.
std::vector<Vec> filters() {
    return {{0.7071067811865476, 0.7071067811865476},
            daub4,
            values(3, 1003),
            values(8, 1008),
            values(13, 1013),
            values(20, 1020),
            values(30, 1030)};
}

Vec mirror(const Vec &h) {
    Vec g(h.size());
    mirrorfilt(h.data(), g.data(), static_cast<int32_t>(h.size()));
    return g;
}

// One routine's output for one input, computed with the variant in use.
using Run = std::function<Vec()>;

bool failed = false;

// Hashes the outputs of the cases under the plain loops after checking that
// every other variant gives the same bits.
void report(const char *routine, const std::vector<Run> &cases) {
    uint64_t h = hash_start;
    for (size_t k = 0; k < cases.size(); ++k) {
        simd_force_variant(simd_plain);
        const Vec want = cases[k]();
        for (int v = simd_plain + 1; v <= simd_best_variant(); ++v) {
            simd_force_variant(v);
            const Vec got = cases[k]();
            if (got.size() != want.size() ||
                std::memcmp(got.data(), want.data(), got.size() * sizeof(double)) != 0) {
                std::fprintf(stderr, "%s, case %zu: variant %d differs from the plain loops\n",
                             routine, k, v);
                failed = true;
            }
        }
        h = hash_bits(h, want.data(), want.size());
    }
    simd_force_variant(-1);
    std::printf("routine %s %016llx\n", routine, static_cast<unsigned long long>(h));
}

void kernels() {
    const std::vector<Vec> fs = filters();
    std::vector<Run> lo, hi, up_lo, up_hi, sum;
    uint64_t seed = 1;
    for (int32_t n : {2, 4, 6, 16, 38, 64, 250, 1024, 4098}) {
        for (const Vec &h : fs) {
            const Vec x = values(size_t(n), seed++), y = values(size_t(n), seed++);
            const auto m = static_cast<int32_t>(h.size());
            const Vec g = mirror(h);
            lo.push_back([=] {
                Vec out(size_t(n) / 2);
                downlo(x.data(), n, h.data(), m, out.data());
                return out;
            });
            hi.push_back([=] {
                Vec out(size_t(n) / 2);
                downhi(x.data(), n, g.data(), m, out.data());
                return out;
            });
            up_lo.push_back([=] {
                Vec out(2 * size_t(n));
                uplo(x.data(), n, h.data(), m, out.data());
                return out;
            });
            up_hi.push_back([=] {
                Vec out(2 * size_t(n));
                uphi(x.data(), n, g.data(), m, out.data());
                return out;
            });
            sum.push_back([=] {
                Vec out(2 * size_t(n));
                upsum(x.data(), y.data(), n, g.data(), h.data(), m, out.data());
                return out;
            });
        }
    }
    report("downlo", lo);
    report("downhi", hi);
    report("uplo", up_lo);
    report("uphi", up_hi);
    report("upsum", sum);
}

void grids() {
    const std::vector<Vec> fs = filters();
    std::vector<Run> forward, inverse;
    uint64_t seed = 500;
    for (int32_t J : {1, 2, 4, 6, 8}) {
        const int32_t n = int32_t(1) << J;
        for (const Vec &h : fs) {
            const Vec src = values(size_t(n) * size_t(n), seed++);
            const Vec g = mirror(h);
            const auto m = static_cast<int32_t>(h.size());
            for (int32_t L : {0, J / 2, J - 1}) {
                forward.push_back([=] {
                    Vec out(src.size()), work(3 * size_t(n));
                    dpwt2(src.data(), n, n, L, J, g.data(), h.data(), m, out.data(), work.data());
                    return out;
                });
                inverse.push_back([=] {
                    Vec out(src.size()), work(4 * size_t(n));
                    idpwt2(src.data(), n, n, L, J, g.data(), h.data(), m, out.data(), work.data());
                    return out;
                });
            }
        }
    }
    report("dpwt2", forward);
    report("idpwt2", inverse);
}

// Each command on a few inputs, through the module this platform ships.
void modules(const std::string &build_dir) {
    using standin::Value;
    const Vec x = values(512, 77), grid = values(64 * 64, 78);
    const struct {
        const char *command;
        std::vector<Value> args;
    } calls[] = {
        {"SinkCoarse", {Value::row(x), Value::row(daub4)}},
        {"SinkDetail", {Value::column(x), Value::row(daub4)}},
        {"RaiseCoarse", {Value::row(x), Value::row(daub4)}},
        {"RaiseDetail", {Value::column(x), Value::row(daub4)}},
        {"SiftGrid_WR", {Value::matrix(64, 64, grid), Value::scalar(2), Value::row(daub4)}},
        {"MeldGrid_WR", {Value::matrix(64, 64, grid), Value::scalar(1), Value::row(daub4)}},
    };
    for (const auto &c : calls) {
        const standin::Module module(standin::module_path(build_dir, c.command));
        if (!module.has_gateway()) {
            std::fprintf(stderr, "%s: %s\n", c.command, module.load_error().c_str());
            failed = true;
            continue;
        }
        const standin::Outcome out = module.call(1, c.args);
        if (!out.ok || out.results.empty()) {
            std::fprintf(stderr, "%s: %s\n", c.command, out.message.c_str());
            failed = true;
            continue;
        }
        const Value &r = out.results[0];
        std::printf(
            "module %s %zux%zu %016llx\n", c.command, r.rows, r.cols,
            static_cast<unsigned long long>(hash_bits(hash_start, r.re.data(), r.re.size())));
    }
}

std::string variant_names() {
    std::string names = "plain";
#define WAVELET_VARIANT_NAME(isa, lanes, feature, ...)                                             \
    if (simd_##isa <= simd_best_variant()) names += " " #isa;
    WAVELET_VARIANTS(WAVELET_VARIANT_NAME, )
#undef WAVELET_VARIANT_NAME
    return names;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wavelet_digest BUILD_DIR\n");
        return 2;
    }
    std::printf("variants %s\n", variant_names().c_str());
    kernels();
    grids();
    modules(argv[1]);
    return failed ? 1 : 0;
}
