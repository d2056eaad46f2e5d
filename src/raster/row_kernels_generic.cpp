// The row kernels in portable C++, compiled for the processor's baseline
// instruction set.
#include "raster/row_kernels.h"

extern const RowKernelSet GenericRowKernels = MakeKernelSet<PortableKernels>("portable");
