// Processors with one kernel set: the baseline one.
#include "raster/row_transfer.h"

extern const RowKernelSet GenericRowKernels;

const RowKernelSet& ActiveRowKernels()
{
    return GenericRowKernels;
}

std::span<const RowKernelSet* const> UsableRowKernelSets()
{
    static const RowKernelSet* const sets[] = {&GenericRowKernels};
    return sets;
}
