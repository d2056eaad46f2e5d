#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "raster/blend.h"
#include "raster/mathtables.h"

// Kernels behind CopyRect, BlendRect, Blit and BlitRotated's rotation. Row
// kernels: one function per blend mode and reading direction, chosen once per
// call. `src` points at the pixel that lands on dst[0]; a reversed kernel
// reads src[0], src[-1], ... so that a horizontally mirrored row is drawn
// without copying it first. Pixels are processed left to right in destination
// order; the forward copy (mode 0) is overlap-safe.
using RowTransfer = void (*)(const uint32_t* src, uint32_t* dst, int count);

// Where the points of a stretch of one picture column land when the picture
// is rotated (rotate.cpp): point i has the polar table entry entries[i * step]
// in quadrant q and is turned through sinCos, which holds for each angle
// 0-3600 the sine (low 16 bits) and cosine (high 16 bits) of that angle plus
// the turn. It lands at (r sin / 10000 + W / 2, r cos / 10000 + H / 2),
// offsets[i] = y * W + x there, or W * H when that is outside W x H.
using RotatedOffsets = void (*)(const uint32_t* entries, int step, int count, PolarQuadrant q,
                                const uint32_t* sinCos, int W, int H, uint32_t* offsets);

struct RowKernelSet {
    const char* name;
    std::array<RowTransfer, BlendModeCount> forward, reverse;
    RotatedOffsets rotatedOffsets;
};

// The set for this processor: the same kernels, compiled for the widest
// vector unit it has. Every set gives exactly the same pixels.
const RowKernelSet& ActiveRowKernels();

// Every set this build carries that can run here, for tests and benchmarks.
std::span<const RowKernelSet* const> UsableRowKernelSets();

// Kernel for `mode`, or null for a mode that draws nothing (outside 0-39).
inline RowTransfer ForwardRowTransfer(int mode)
{
    return mode >= 0 && mode < BlendModeCount ? ActiveRowKernels().forward[size_t(mode)] : nullptr;
}

inline RowTransfer ReverseRowTransfer(int mode)
{
    return mode >= 0 && mode < BlendModeCount ? ActiveRowKernels().reverse[size_t(mode)] : nullptr;
}
