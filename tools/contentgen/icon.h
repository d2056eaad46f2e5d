#pragma once

#include <cstdint>
#include <vector>

// The program's icon: a ringed planet before a disc of deep space, on a
// transparent square. Painted at 256x256 and shrunk for smaller sizes.
constexpr int IconFullSize = 256;

// Whether `size` is one the icon is made in: 256 divided by a power of two,
// down to 16.
bool IsIconSize(int size);

// size x size pixels, 0xAARRGGBB with straight (not premultiplied) colour.
std::vector<uint32_t> PaintIcon(int size);
