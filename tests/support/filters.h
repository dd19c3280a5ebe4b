// The orthonormal test filters, shared by every test that needs a filter
// whose analysis and synthesis undo each other.
#pragma once

#include <vector>

namespace filters {

#include <ostream>

struct Orthonormal {
    const char *name;
    std::vector<double> h;
};

inline void PrintTo(const Orthonormal &f, std::ostream *os) {
    *os << f.name;
}

inline const std::vector<double> haar = {0.7071067811865476, 0.7071067811865476};
inline const std::vector<double> daub4 = {0.48296291314453416, 0.8365163037378079,
                                          0.2241438680420134, -0.12940952255126037};
inline const std::vector<double> daub8 = {
    0.2303778133088965,   0.7148465705529157, 0.6308807679298589,  -0.027983769416859854,
    -0.18703481171909309, 0.030841381835560764, 0.0328830116668852, -0.010597401785069032};

inline const Orthonormal orthonormal[] = {{"haar", haar}, {"daubechies4", daub4}, {"daubechies8", daub8}};

} // namespace filters
