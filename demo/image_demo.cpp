// The image demo without Octave: the same steps as demo.m, calling the
// SiftGrid_WR and MeldGrid_WR modules of this platform through the stand-in
// host's call driver, and writing binary PGM images.
//
//   wavelet_demo BUILD_DIR [OUT_DIR]
//
// A 512-by-512 test image goes through SiftGrid_WR and MeldGrid_WR with the
// 8-tap Daubechies filter down to coarse level 3; the largest 5% of the
// coefficients rebuild an approximation. Writes decomposition.pgm and
// reconstruction.pgm into OUT_DIR (default BUILD_DIR/demo) and prints the perfect-
// reconstruction error, the PSNR and kept energy of the 5% approximation and
// the time of each call. Exits with 1 if a call fails or the round trip is
// not exact to rounding.
#include "session.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr size_t n = 512;
constexpr int level = 3;
constexpr double keep_share = 0.05;
const std::vector<double> daubechies8 = {
    0.2303778133088965,   0.7148465705529157,   0.6308807679298589, -0.027983769416859854,
    -0.18703481171909309, 0.030841381835560764, 0.0328830116668852, -0.010597401785069032};

double sign(double x) {
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}

// Grey levels 0..255, column by column: a smooth field, a bright disc and a
// dark rectangle with sharp edges, a checker texture, a diagonal grating.
std::vector<double> test_image() {
    const double pi = std::numbers::pi;
    std::vector<double> img(n * n);
    for (size_t c = 0; c < n; ++c) {
        for (size_t r = 0; r < n; ++r) {
            const double u = (c + 0.5) / n;
            const double v = (r + 0.5) / n;
            double p = 110 + 50 * std::sin(2 * pi * 1.5 * u) * std::cos(2 * pi * v);
            if ((u - 0.32) * (u - 0.32) + (v - 0.34) * (v - 0.34) < 0.18 * 0.18) p += 70;
            if (u > 0.55 && u < 0.9 && v > 0.15 && v < 0.45) p -= 60;
            if (u > 0.5 && v > 0.6)
                p += 40 * sign(std::sin(2 * pi * 24 * u) * std::sin(2 * pi * 24 * v));
            if (u < 0.45 && v > 0.62) p += 30 * std::sin(2 * pi * 40 * (u + v));
            img[r + n * c] = std::clamp(p, 0.0, 255.0);
        }
    }
    return img;
}

bool write_pgm(const std::filesystem::path &file, size_t rows, size_t cols,
               const std::function<double(size_t, size_t)> &grey) {
    FILE *f = std::fopen(file.string().c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P5\n%zu %zu\n255\n", cols, rows);
    std::vector<unsigned char> line(cols);
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < cols; ++c)
            line[c] = static_cast<unsigned char>(std::lround(std::clamp(grey(r, c), 0.0, 255.0)));
        std::fwrite(line.data(), 1, cols, f);
    }
    return std::fclose(f) == 0;
}

// One call of a grid command, timed as the best of five after a first call.
struct Timed {
    std::vector<double> result;
    double ms = 0;
    bool ok = false;
    std::string message;
};

Timed call_grid(const standin::Module &module, const std::vector<double> &grid) {
    const std::vector<standin::Value> args = {standin::Value::matrix(n, n, grid),
                                              standin::Value::scalar(level),
                                              standin::Value::row(daubechies8)};
    Timed t;
    t.ms = INFINITY;
    for (int run = 0; run < 6; ++run) {
        const auto start = std::chrono::steady_clock::now();
        standin::Outcome out = module.call(1, args);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (!out.ok || out.results.empty()) {
            t.message = out.ok ? "no result" : out.message;
            return t;
        }
        if (run > 0) t.ms = std::min(t.ms, took.count());
        t.result = std::move(out.results[0].re);
    }
    t.ok = true;
    return t;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: wavelet_demo BUILD_DIR [OUT_DIR]\n");
        return 2;
    }
    const std::string build = argv[1];
    const std::filesystem::path out =
        argc == 3 ? std::filesystem::path(argv[2]) : std::filesystem::path(build) / "demo";
    std::filesystem::create_directories(out);
    const standin::Module sift(standin::module_path(build, "SiftGrid_WR"));
    const standin::Module meld(standin::module_path(build, "MeldGrid_WR"));
    for (const standin::Module *m : {&sift, &meld}) {
        if (!m->has_gateway()) {
            std::fprintf(stderr, "wavelet_demo: %s\n", m->load_error().c_str());
            return 1;
        }
    }

    const std::vector<double> img = test_image();
    const Timed w = call_grid(sift, img);
    const Timed back = w.ok ? call_grid(meld, w.result) : Timed{};
    if (!w.ok || !back.ok) {
        std::fprintf(stderr, "wavelet_demo: %s\n", (w.ok ? back : w).message.c_str());
        return 1;
    }
    double pr_error = 0;
    for (size_t k = 0; k < n * n; ++k)
        pr_error = std::max(pr_error, std::fabs(back.result[k] - img[k]));

    // Keep the largest 5% of the coefficients by magnitude.
    std::vector<double> magnitudes(n * n);
    std::transform(w.result.begin(), w.result.end(), magnitudes.begin(),
                   [](double x) { return std::fabs(x); });
    std::sort(magnitudes.begin(), magnitudes.end(), std::greater<double>());
    const size_t kept = static_cast<size_t>(std::lround(keep_share * n * n));
    const double threshold = magnitudes[kept - 1];
    std::vector<double> kept_w(n * n);
    double energy_all = 0, energy_kept = 0;
    size_t kept_count = 0;
    for (size_t k = 0; k < n * n; ++k) {
        const double x = w.result[k];
        energy_all += x * x;
        if (std::fabs(x) >= threshold) {
            kept_w[k] = x;
            energy_kept += x * x;
            ++kept_count;
        }
    }
    const Timed approx = call_grid(meld, kept_w);
    if (!approx.ok) {
        std::fprintf(stderr, "wavelet_demo: %s\n", approx.message.c_str());
        return 1;
    }
    double squared = 0;
    for (size_t k = 0; k < n * n; ++k)
        squared += (approx.result[k] - img[k]) * (approx.result[k] - img[k]);
    const double psnr = 10 * std::log10(255.0 * 255.0 / (squared / (n * n)));

    // The coefficient layout: the coarse block stretched to 0..255, each
    // detail band's magnitudes scaled by its own largest (square root, so
    // small details show), white lines between the nested quarters.
    std::vector<double> view(n * n, 0.0);
    const size_t coarse = size_t{1} << level;
    double lo = INFINITY, hi = -INFINITY;
    for (size_t c = 0; c < coarse; ++c)
        for (size_t r = 0; r < coarse; ++r) {
            lo = std::min(lo, w.result[r + n * c]);
            hi = std::max(hi, w.result[r + n * c]);
        }
    for (size_t c = 0; c < coarse; ++c)
        for (size_t r = 0; r < coarse; ++r)
            view[r + n * c] = 255 * (w.result[r + n * c] - lo) / std::max(hi - lo, 1e-300);
    for (size_t s = coarse; s < n; s *= 2) {
        const size_t bands[3][2] = {{0, s}, {s, 0}, {s, s}}; // first row, first column
        for (const auto &b : bands) {
            double top = 0;
            for (size_t c = b[1]; c < b[1] + s; ++c)
                for (size_t r = b[0]; r < b[0] + s; ++r)
                    top = std::max(top, std::fabs(w.result[r + n * c]));
            for (size_t c = b[1]; c < b[1] + s; ++c)
                for (size_t r = b[0]; r < b[0] + s; ++r)
                    view[r + n * c] =
                        255 * std::sqrt(std::fabs(w.result[r + n * c]) / std::max(top, 1e-300));
        }
        for (size_t k = 0; k < 2 * s; ++k) view[s + n * k] = view[k + n * s] = 255;
    }
    const bool written =
        write_pgm(out / "decomposition.pgm", n, n,
                  [&](size_t r, size_t c) { return view[r + n * c]; }) &&
        write_pgm(out / "reconstruction.pgm", n, 2 * n + 4, [&](size_t r, size_t c) {
            if (c < n) return img[r + n * c];
            if (c < n + 4) return 255.0;
            return approx.result[r + n * (c - n - 4)];
        });
    if (!written) {
        std::fprintf(stderr, "wavelet_demo: cannot write the images in %s\n", out.string().c_str());
        return 1;
    }

    std::printf("Test image %zu-by-%zu, 8-tap Daubechies filter, coarse level %d (stand-in host)\n",
                n, n, level);
    std::printf("  perfect reconstruction, max abs error:  %.3g\n", pr_error);
    std::printf("  largest %g%% of coefficients kept:       %zu of %zu\n", 100 * keep_share,
                kept_count, n * n);
    std::printf("  PSNR of the 5%% reconstruction:          %.2f dB\n", psnr);
    std::printf("  share of energy in kept coefficients:   %.4f%%\n",
                100 * energy_kept / energy_all);
    std::printf("  time per call (best of 5): SiftGrid_WR %.2f ms, MeldGrid_WR %.2f ms, "
                "MeldGrid_WR on the 5%% %.2f ms\n",
                w.ms, back.ms, approx.ms);
    std::printf("  wrote %s and %s\n", (out / "decomposition.pgm").string().c_str(),
                (out / "reconstruction.pgm").string().c_str());
    return pr_error < 1e-9 ? 0 : 1;
}
