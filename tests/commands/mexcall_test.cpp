// The command-line front end as a user runs it: matrix literals in, the
// result's rows on standard output, a failed call's message on standard
// error with a non-zero exit status.
#include "build_paths.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Printed {
    int status = -1; // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string slurp(const std::string &path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string quoted(const std::string &arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Printed mexcall(const std::vector<std::string> &args) {
    const std::string base = testing::TempDir() + "mexcall_" + std::to_string(getpid());
    std::string line = quoted(MEXCALL_PATH);
    for (const auto &a : args) line.append(" ").append(quoted(a));
    line.append(" >").append(base).append(".out 2>").append(base).append(".err </dev/null");
    const int raw = std::system(line.c_str());
    Printed r;
    if (raw != -1 && WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
    r.out = slurp(base + ".out");
    r.err = slurp(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return r;
}

struct FrontEndCase {
    const char *name;
    std::vector<std::string> args; // after the program name; "@X" is module X
    int status;
    const char *out;
    const char *err;
};

std::vector<std::string> resolve(const std::vector<std::string> &args) {
    std::vector<std::string> r;
    for (const auto &a : args) r.push_back(a[0] == '@' ? command_module(a.substr(1)) : a);
    return r;
}

const FrontEndCase cases[] = {
    {"worked_request", {"@SinkCoarse", "[3 1 4 1 5 9 2 6]", "[1 2 3 4]"}, 0, "21 57 53 27\n", ""},
    {"commas_and_scalar_filter", {"@SinkCoarse", "[1, 2, 3, 4]", "2"}, 0, "2 6\n", ""},
    {"column_literal", {"@SinkCoarse", "[1; 2; 3; 4]", "[1 1]"}, 0, "3\n7\n", ""},
    {"matrix_literal_first_column",
     {"@RaiseCoarse", "[1 9; 2 9]", "[1 2 3]"},
     0,
     "7\n2\n5\n4\n",
     ""},
    {"matrix_filter_in_storage_order",
     {"@SinkCoarse", "[3 1 4 1 5 9 2 6]", "[1 3; 2 4]"},
     0,
     "21 57 53 27\n",
     ""},
    {"negative_and_fractional",
     {"@RaiseDetail", "[1 2 3 4]", "[1 2 3]"},
     0,
     "-2 7 -4 11 -6 15 -8 7\n",
     ""},
    {"empty_result", {"@SinkCoarse", "5", "[1 2]"}, 0, "[](1x0)\n", ""},
    {"empty_filter", {"@SinkDetail", "[1 2 3 4]", "[]"}, 0, "0 0\n", ""},
    {"explicit_nargout", {"--nargout", "1", "@SinkCoarse", "[1 2 3 4]", "[1 1]"}, 0, "3 7\n", ""},
    {"dyadic_failure",
     {"@SinkCoarse", "[1 2 3 4 5 6]", "[1 1]"},
     1,
     "",
     "SinkCoarse requires dyadic length\n"},
    {"argument_failure",
     {"@RaiseDetail", "[1 2 3 4]"},
     1,
     "",
     "RaiseDetail requires two input arguments.\n"},
    {"result_failure",
     {"--nargout", "0", "@SinkDetail", "[1 2 3 4]", "[1 1]"},
     1,
     "",
     "SinkDetail requires one output argument.\n"},
};

void PrintTo(const FrontEndCase &c, std::ostream *os) {
    *os << c.name;
}

class FrontEnd : public ::testing::TestWithParam<FrontEndCase> {};

TEST_P(FrontEnd, PrintsResultOrMessage) {
    const FrontEndCase &c = GetParam();
    const Printed r = mexcall(resolve(c.args));
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(Mexcall, FrontEnd, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

// Misuse of the front end itself is its own failure, distinct from a failed
// call: a message on standard error, nothing on standard output.
TEST(FrontEndMisuse, RefusedWithUsageStatus) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"@SinkCoarse", "[1 2", "[1]"},
        {"@SinkCoarse", "[1 2; 3]", "[1]"},
        {"@SinkCoarse", "[1 x 2]", "[1]"},
        {"/nonexistent/Nothing.mexa64", "1", "1"},
        {"@kernels/downlo"},
        // A result count that is not a whole number from 0 up is a mistyped
        // command line, not a call with no results.
        {"--nargout", "x", "@SinkCoarse", "[1 2]", "1"},
        {"--nargout", "1x", "@SinkCoarse", "[1 2]", "1"},
        {"--nargout", "-1", "@SinkCoarse", "[1 2]", "1"},
        {"--nargout", "", "@SinkCoarse", "[1 2]", "1"},
        {"--nargout", "4294967297", "@SinkCoarse", "[1 2]", "1"},
        {"--nargout", "5000", "@SinkCoarse", "[1 2]", "1"},
    };
    for (const auto &args : bad) {
        std::vector<std::string> resolved = resolve(args);
        if (!args.empty() && args[0] == "@kernels/downlo") resolved[0] = kernel_module("downlo");
        const Printed r = mexcall(resolved);
        std::string shown;
        for (const auto &a : args) shown.append(a).append(" ");
        SCOPED_TRACE(shown);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
}

} // namespace
