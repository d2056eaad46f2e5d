// The row kernels written for 128-bit SSE2 registers.
#include "raster/row_kernels_x86.h"

extern const RowKernelSet Sse2RowKernels = MakeKernelSet<LaneKernels<Sse2Lanes>>("sse2");
