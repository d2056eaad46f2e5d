#pragma once

#include <cstddef>
#include <cstdint>

// The canvas's pixel format: bytes R, G, B, A in memory order, here always
// opaque (A = 255). Converts `count` pixels of 0x00RRGGBB into it; the top
// byte of a pixel is ignored.
void ToCanvasPixels(const uint32_t* pixels, uint32_t* canvas, std::size_t count);
