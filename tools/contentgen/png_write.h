#pragma once

#include <cstdint>
#include <vector>

#include "common/png_write.h"
#include "contentgen/fail.h"
#include "contentgen/picture.h"

// PNG bytes of the picture (see common/png_write.h).
inline std::vector<uint8_t> EncodePng(const Picture& picture)
{
    std::vector<uint8_t> png = EncodePng(picture.pixels.data(), picture.width, picture.height, picture.width);
    if (png.empty())
        Fail("cannot compress the PNG picture data", "");
    return png;
}
