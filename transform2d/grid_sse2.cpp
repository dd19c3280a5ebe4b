// The grid transforms in 2-lane vectors, for SSE2.
#if defined(__x86_64__) || defined(__i386__)
#define WAVELET_ISA sse2
#define WAVELET_WIDTH 2
#define WAVELET_TARGET "sse2"
#include "grid_forms.h"
#endif
