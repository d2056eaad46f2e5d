#include "common/png_write.h"

#include <zlib.h>

#include <cstdio>

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

// PNG bytes of 8-bit pixels with 3 (RGB) or 4 (RGBA, alpha from the top
// byte) channels.
std::vector<uint8_t> Encode(const uint32_t* pixels, int width, int height, std::ptrdiff_t pitch, int channels)
{
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (1 + size_t(channels) * size_t(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const uint32_t* row = pixels + y * pitch;
        for (int x = 0; x < width; ++x) {
            raw.push_back(uint8_t(row[x] >> 16));
            raw.push_back(uint8_t(row[x] >> 8));
            raw.push_back(uint8_t(row[x]));
            if (channels == 4)
                raw.push_back(uint8_t(row[x] >> 24));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    // 8 bits, RGB (2) or RGBA (6), deflate, no filter set, no interlace.
    header.insert(header.end(), {8, uint8_t(channels == 4 ? 6 : 2), 0, 0, 0});

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

} // namespace

std::vector<uint8_t> EncodePng(const uint32_t* pixels, int width, int height, std::ptrdiff_t pitch)
{
    return Encode(pixels, width, height, pitch, 3);
}

std::vector<uint8_t> EncodePngRgba(const uint32_t* pixels, int width, int height, std::ptrdiff_t pitch)
{
    return Encode(pixels, width, height, pitch, 4);
}

bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool whole = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && whole;
}
