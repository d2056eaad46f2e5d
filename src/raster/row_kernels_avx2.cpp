// The row kernels written for 256-bit AVX2 registers; only called on
// processors that have them.
#include "raster/row_kernels_x86.h"

extern const RowKernelSet Avx2RowKernels = MakeKernelSet<LaneKernels<Avx2Lanes>>("avx2");
