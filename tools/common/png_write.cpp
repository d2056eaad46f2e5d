#include "common/png_write.h"

#include <libdeflate.h>

#include <cstdio>
#include <memory>

namespace {

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

// Length, type, data, then the CRC over type and data.
void PutChunk(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size)
{
    PutBigEndian(out, uint32_t(size));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    PutBigEndian(out, libdeflate_crc32(0, &out[start], out.size() - start));
}

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// One compressor per thread, made at its first picture. Level 1: of the
// levels measured on the show's frames, the fastest, and with the "up"
// filter smaller than zlib's level 6 without filtering.
libdeflate_compressor* Compressor()
{
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(libdeflate_alloc_compressor(1));
    return compressor.get();
}

// PNG bytes of 8-bit pixels with 3 (RGB) or 4 (RGBA, alpha from the top
// byte) channels.
std::vector<uint8_t> Encode(const uint32_t* pixels, int width, int height, std::ptrdiff_t pitch, int channels)
{
    // Each row filtered with "up": every byte less the one above it (the
    // first row less nothing). Neighbouring rows of the show's pictures are
    // much alike, which leaves the compressor long runs of zeros.
    const size_t stride = 1 + size_t(channels) * size_t(width);
    std::vector<uint8_t> raw(size_t(height) * stride);
    for (int y = 0; y < height; ++y) {
        uint8_t* out = &raw[size_t(y) * stride];
        *out++ = 2;
        const uint32_t* row = pixels + y * pitch;
        const uint32_t* above = y > 0 ? row - pitch : nullptr;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = row[x], a = above ? above[x] : 0;
            out[0] = uint8_t((p >> 16) - (a >> 16));
            out[1] = uint8_t((p >> 8) - (a >> 8));
            out[2] = uint8_t(p - a);
            if (channels == 4)
                out[3] = uint8_t((p >> 24) - (a >> 24));
            out += channels;
        }
    }
    libdeflate_compressor* compressor = Compressor();
    if (!compressor)
        return {};
    std::vector<uint8_t> packed(libdeflate_zlib_compress_bound(compressor, raw.size()));
    const size_t packedSize =
        libdeflate_zlib_compress(compressor, raw.data(), raw.size(), packed.data(), packed.size());
    if (packedSize == 0)
        return {};

    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    // 8 bits, RGB (2) or RGBA (6), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, uint8_t(channels == 4 ? 6 : 2), 0, 0, 0});

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.reserve(out.size() + 3 * 12 + header.size() + packedSize);
    PutChunk(out, "IHDR", header.data(), header.size());
    PutChunk(out, "IDAT", packed.data(), packedSize);
    PutChunk(out, "IEND", nullptr, 0);
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
