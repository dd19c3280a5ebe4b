// The grid transforms in 2-lane vectors, for arm64 (NEON).
#if defined(__aarch64__)
#define WAVELET_ISA neon
#define WAVELET_WIDTH 2
#define WAVELET_TARGET "neon"
#include "grid_forms.h"
#endif
