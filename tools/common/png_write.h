#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// PNG bytes of width x height 0x00RRGGBB pixels, rows `pitch` pixels apart:
// 8-bit RGB, no interlace, every row filtered with "up", the whole
// compressed by libdeflate at its fastest level. Empty when compression
// fails. Safe to call from several threads at once.
std::vector<uint8_t> EncodePng(const uint32_t* pixels, int width, int height, std::ptrdiff_t pitch);

// The same for 0xAARRGGBB pixels with their alpha (0 transparent): 8-bit
// RGBA, not premultiplied.
std::vector<uint8_t> EncodePngRgba(const uint32_t* pixels, int width, int height, std::ptrdiff_t pitch);

// Writes `bytes` to `path`; false when the file cannot be written whole.
bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes);
