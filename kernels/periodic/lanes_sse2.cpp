// The filtering kernels in 2-lane vectors, for SSE2.
#define WAVELET_ISA sse2
#define WAVELET_WIDTH 2
#define WAVELET_TARGET "sse2"
#include "lanes_forms.h"
