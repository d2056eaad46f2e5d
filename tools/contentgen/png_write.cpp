#include "contentgen/png_write.h"

#include <zlib.h>

#include "contentgen/fail.h"

namespace {

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

// Length, type, data, then the CRC over type and data.
void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data)
{
    PutBigEndian(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, &out[start], uInt(out.size() - start));
    PutBigEndian(out, uint32_t(crc));
}

} // namespace

std::vector<uint8_t> EncodePng(const Picture& picture)
{
    std::vector<uint8_t> raw;
    raw.reserve(size_t(picture.height) * (1 + 3 * size_t(picture.width)));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < picture.width; ++x) {
            uint32_t p = picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)];
            raw.push_back(uint8_t(p >> 16));
            raw.push_back(uint8_t(p >> 8));
            raw.push_back(uint8_t(p));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK)
        Fail("cannot compress the PNG picture data", "");
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(picture.width));
    PutBigEndian(header, uint32_t(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter set, no interlace

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}
