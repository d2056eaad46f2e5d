#include "contentgen/tga_write.h"

#include <cstring>

std::vector<uint8_t> EncodeTga(const Picture& picture, TgaFormat format)
{
    const size_t idLength = format.imageId ? std::strlen(format.imageId) : 0;
    const int bytesPerPixel = format.depth / 8;
    std::vector<uint8_t> out(18 + idLength);
    out[0] = uint8_t(idLength);
    out[2] = 2; // uncompressed true-colour
    out[12] = uint8_t(picture.width & 255);
    out[13] = uint8_t(picture.width >> 8);
    out[14] = uint8_t(picture.height & 255);
    out[15] = uint8_t(picture.height >> 8);
    out[16] = uint8_t(format.depth);
    out[17] = uint8_t((format.topDown ? 0x20 : 0x00) | (format.depth == 32 ? 0x08 : 0x00));
    if (idLength)
        std::memcpy(&out[18], format.imageId, idLength);

    out.reserve(out.size() + size_t(picture.width) * size_t(picture.height) * size_t(bytesPerPixel));
    for (int k = 0; k < picture.height; ++k) {
        const int row = format.topDown ? k : picture.height - 1 - k;
        const uint32_t* p = picture.pixels.data() + size_t(row) * size_t(picture.width);
        for (int x = 0; x < picture.width; ++x) {
            out.push_back(uint8_t(p[x]));
            out.push_back(uint8_t(p[x] >> 8));
            out.push_back(uint8_t(p[x] >> 16));
            if (format.depth == 32)
                out.push_back(p[x] ? 255 : 0);
        }
    }
    return out;
}
