// The filtering kernels in 2-lane vectors, for arm64 (NEON).
#if defined(__aarch64__)
#define WAVELET_ISA neon
#define WAVELET_WIDTH 2
#define WAVELET_TARGET "neon"
#include "lanes_forms.h"
#endif
