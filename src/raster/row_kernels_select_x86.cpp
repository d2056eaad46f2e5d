// Picks the widest kernel set that this x86 processor can run.
#include "raster/row_transfer.h"

extern const RowKernelSet GenericRowKernels;
extern const RowKernelSet Sse2RowKernels;
extern const RowKernelSet Avx2RowKernels;

namespace {

// The sets in order of width, and how many of them this processor runs.
const RowKernelSet* const Sets[] = {&GenericRowKernels, &Sse2RowKernels, &Avx2RowKernels};

size_t UsableCount()
{
    static const size_t count = !__builtin_cpu_supports("sse2") ? 1 : !__builtin_cpu_supports("avx2") ? 2 : 3;
    return count;
}

} // namespace

const RowKernelSet& ActiveRowKernels()
{
    static const RowKernelSet& active = *Sets[UsableCount() - 1];
    return active;
}

std::span<const RowKernelSet* const> UsableRowKernelSets()
{
    return {Sets, UsableCount()};
}
