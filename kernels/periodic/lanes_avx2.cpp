// The filtering kernels in 4-lane vectors, for AVX2.
#if defined(__x86_64__) || defined(__i386__)
#define WAVELET_ISA avx2
#define WAVELET_WIDTH 4
#define WAVELET_TARGET "avx2"
#include "lanes_forms.h"
#endif
