#pragma once

#include <cstdint>
#include <vector>

#include "contentgen/picture.h"

// PNG bytes of the picture: 8-bit RGB, no interlace, every row filtered with
// "none" and the whole compressed with zlib.
std::vector<uint8_t> EncodePng(const Picture& picture);
