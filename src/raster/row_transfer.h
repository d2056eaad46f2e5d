#pragma once

#include <cstdint>

// Row kernels behind CopyRect, BlendRect and Blit: one function per blend
// mode and reading direction, chosen once per call. `src` points at the pixel
// that lands on dst[0]; a reversed kernel reads src[0], src[-1], ... so that a
// horizontally mirrored row is drawn without copying it first. Pixels are
// processed left to right in destination order.
using RowTransfer = void (*)(const uint32_t* src, uint32_t* dst, int count);

// Kernel for `mode`, or null for a mode that draws nothing (outside 0-39).
// Mode 0 is the opaque copy; the forward copy is overlap-safe.
RowTransfer ForwardRowTransfer(int mode);
RowTransfer ReverseRowTransfer(int mode);
