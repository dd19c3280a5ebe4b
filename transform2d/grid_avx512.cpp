// The grid transforms in 8-lane vectors, for AVX-512.
#if defined(__x86_64__) || defined(__i386__)
#define WAVELET_ISA avx512
#define WAVELET_WIDTH 8
#define WAVELET_TARGET "avx512f"
#include "grid_forms.h"
#endif
