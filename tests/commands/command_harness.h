// Calling the one-dimensional commands through the stand-in host and judging
// what a call left behind: its results bit for bit, the host's bookkeeping
// (no leaks, no misuse, no element left unwritten) and the host operations
// it made.
#pragma once

#include "bitwise.h"
#include "build_paths.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace cmd {

using standin::Module;
using standin::Outcome;
using standin::Value;
using Vec = std::vector<double>;

// The pattern the host fills new arrays with; no result may still hold it.
constexpr uint64_t host_unwritten = 0x7ff80000deadbeefULL;

using bitwise::bits;
using bitwise::same_bits;

// Each command module loaded once for the whole test program.
inline const Module &module(const std::string &command) {
    static std::map<std::string, std::unique_ptr<Module>> loaded;
    auto &slot = loaded[command];
    if (!slot) slot = std::make_unique<Module>(command_module(command));
    return *slot;
}

inline Outcome call(const std::string &command, int nlhs, const std::vector<Value> &args) {
    const Module &m = module(command);
    if (!m.has_gateway()) {
        ADD_FAILURE() << command << " did not load: " << m.load_error();
        return {};
    }
    return m.call(nlhs, args);
}

// Whatever the call's result, the host must end it clean: nothing leaked, no
// misuse of the host, no array destroyed by the gateway (the one-dimensional
// commands leave their mirror to the host), no result element unwritten.
inline void expect_clean(const Outcome &out) {
    EXPECT_EQ(out.leaked, 0u);
    EXPECT_TRUE(out.faults.empty()) << out.faults.front();
    for (const auto &op : out.ops) EXPECT_NE(op.what, "destroy") << op.array;
    for (const Value &r : out.results)
        for (size_t i = 0; i < r.re.size(); ++i)
            EXPECT_NE(bits(r.re[i]), host_unwritten) << "result element " << i << " never written";
}

// A successful call's single result.
inline Value result_of(const Outcome &out) {
    if (!out.ok) {
        ADD_FAILURE() << "call failed: " << out.message;
        return {};
    }
    if (out.results.size() != 1) {
        ADD_FAILURE() << out.results.size() << " results";
        return {};
    }
    return out.results[0];
}

} // namespace cmd
