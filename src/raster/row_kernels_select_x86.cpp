// Picks the widest kernel set that this x86 processor can run.
#include "raster/row_transfer.h"

extern const RowKernelSet GenericRowKernels;
extern const RowKernelSet Avx2RowKernels;

static bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

const RowKernelSet& ActiveRowKernels()
{
    static const RowKernelSet& active = HasAvx2() ? Avx2RowKernels : GenericRowKernels;
    return active;
}

std::span<const RowKernelSet* const> UsableRowKernelSets()
{
    static const RowKernelSet* const sets[] = {&GenericRowKernels, &Avx2RowKernels};
    return {sets, HasAvx2() ? 2u : 1u};
}
