// mexcall: call a module's gateway from the command line, without MATLAB.
//
//   mexcall [--nargout K] MODULE ARG...
//
// Each ARG is a MATLAB matrix literal: a scalar, [1 2 3], [1; 2; 3],
// [1 2; 3 4] or []. The first result is printed one matrix row per line; a
// failed call prints the module's message on standard error and exits with 1.
#include "session.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

bool parse_number(const char *&p, double &x) {
    char *end = nullptr;
    x = std::strtod(p, &end);
    if (end == p) return false;
    p = end;
    return true;
}

// Parses a matrix literal; rows end at ';' or a newline, elements are
// separated by blanks or commas.
bool parse_literal(const std::string &text, standin::Value &out) {
    const char *p = text.c_str();
    auto skip_blanks = [&p] {
        while (*p == ' ' || *p == '\t' || *p == ',') ++p;
    };
    std::vector<std::vector<double>> rows(1);
    skip_blanks();
    const bool bracketed = *p == '[';
    if (bracketed) ++p;
    for (;;) {
        skip_blanks();
        if (*p == '\0' || *p == ']') break;
        if (*p == ';' || *p == '\n') {
            rows.emplace_back();
            ++p;
            continue;
        }
        double x = 0;
        if (!parse_number(p, x)) return false;
        rows.back().push_back(x);
    }
    if (bracketed) {
        if (*p != ']') return false;
        ++p;
    }
    skip_blanks();
    if (*p != '\0') return false;
    if (!rows.empty() && rows.back().empty() && rows.size() > 1) rows.pop_back();
    const size_t cols = rows[0].size();
    if (std::any_of(rows.begin(), rows.end(), [cols](const auto &r) { return r.size() != cols; }))
        return false;
    const size_t nrows = cols == 0 ? 0 : rows.size();
    std::vector<double> data(nrows * cols);
    for (size_t r = 0; r < nrows; ++r)
        for (size_t c = 0; c < cols; ++c) data[r + nrows * c] = rows[r][c];
    out = standin::Value::matrix(nrows, cols, std::move(data));
    return true;
}

// Shortest text that reads back as the same double.
std::string shortest(double x) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, res.ptr);
}

void print(const standin::Value &v) {
    if (v.rows == 0 || v.cols == 0) {
        std::printf("[](%zux%zu)\n", v.rows, v.cols);
        return;
    }
    for (size_t r = 0; r < v.rows; ++r) {
        for (size_t c = 0; c < v.cols; ++c)
            std::printf("%s%s", c ? " " : "", shortest(v.re[r + v.rows * c]).c_str());
        std::printf("\n");
    }
}

// The host offers one slot per result asked for; a sane ceiling keeps a
// mistyped count from asking for gigabytes of slots.
constexpr int max_nargout = 1024;

int usage() {
    std::fprintf(stderr, "usage: mexcall [--nargout K] MODULE ARG...\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
#if defined(_WIN32)
    // Lines end in a bare newline on every platform, so outputs compare as is.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    int k = 1;
    int nargout = 1;
    if (k + 1 < argc && std::strcmp(argv[k], "--nargout") == 0) {
        // A whole number of result slots the host can offer; anything else
        // is a mistyped command line, not a call with no results.
        const char *text = argv[k + 1];
        const char *end = text + std::strlen(text);
        const auto parsed = std::from_chars(text, end, nargout);
        if (parsed.ec != std::errc() || parsed.ptr != end || nargout < 0 || nargout > max_nargout) {
            std::fprintf(stderr, "mexcall: --nargout takes a count from 0 to %d\n", max_nargout);
            return usage();
        }
        k += 2;
    }
    if (k >= argc) return usage();
    const standin::Module module(argv[k++]);
    if (!module.has_gateway()) {
        std::fprintf(stderr, "mexcall: %s\n",
                     module.load_error().empty() ? "the module has no gateway"
                                                 : module.load_error().c_str());
        return 2;
    }
    std::vector<standin::Value> args;
    for (; k < argc; ++k) {
        standin::Value v;
        if (!parse_literal(argv[k], v)) {
            std::fprintf(stderr, "mexcall: cannot read the matrix literal '%s'\n", argv[k]);
            return 2;
        }
        args.push_back(std::move(v));
    }
    const standin::Outcome out = module.call(nargout, args);
    if (!out.ok) {
        std::fprintf(stderr, "%s\n", out.message.c_str());
        return 1;
    }
    if (!out.results.empty()) print(out.results[0]);
    return 0;
}
