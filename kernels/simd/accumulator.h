// The type in which every filtering sum and every sum of adddouble is carried.
//
// Builds that define WAVELET_EXTENDED_ACCUMULATION (the i386 Linux modules)
// keep each tap product and the running sum in x87 80-bit extended precision
// and round to double once, when the output is stored. Every other build
// rounds each product and each sum to double. Naming the type here, rather
// than relying on compiler flags, keeps that rule at every optimisation level
// and lets one kernel source serve both builds.
#pragma once

#if defined(WAVELET_EXTENDED_ACCUMULATION)
typedef long double accum_t;
#else
typedef double accum_t;
#endif
