// The row kernels compiled for 256-bit vector units; only called on
// processors that have them.
#include "raster/row_kernels.h"

extern const RowKernelSet Avx2RowKernels = MakeKernelSet("avx2");
