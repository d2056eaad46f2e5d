#include "image/tga.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/fatal.h"
#include "core/files.h"
#include "raster/screen.h"

namespace {

constexpr size_t HeaderSize = 18;
constexpr uint8_t TopDownRows = 0x20; // image descriptor bit 5

// The file and the pixel buffer are released on every way out, including a
// FatalError that does not end the process (the fuzzing build's).
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
struct BufferFree {
    void operator()(uint8_t* p) const { std::free(p); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;
using PixelBuffer = std::unique_ptr<uint8_t[], BufferFree>;

struct TgaHeader {
    int idLength;
    int width;
    int height;
    int depth;
    uint8_t descriptor;
};

FileHandle OpenTGA(const char* file, const char* notFoundCaption)
{
    FileHandle f(OpenDataFile(file, "rb"));
    if (!f)
        FatalError(notFoundCaption, file);
    return f;
}

// Reads the header and applies the kind test before the depth test, so a
// file wrong in both reports the first. A file shorter than a header fails.
TgaHeader ReadHeader(std::FILE* f, const char* file)
{
    uint8_t h[HeaderSize];
    if (std::fread(h, 1, HeaderSize, f) != HeaderSize)
        FatalError("error al leer un TGA", file);
    if (h[1] != 0 || h[2] != 2)
        FatalError("error al leer un TGA", file);
    if (h[16] != 24 && h[16] != 32)
        FatalError("error al leer un TGA, numero incorrecto de bits", file);
    return TgaHeader{
        .idLength = h[0],
        .width = h[12] | h[13] << 8,
        .height = h[14] | h[15] << 8,
        .depth = h[16],
        .descriptor = h[17],
    };
}

// Stored pixels are blue, green, red and, in 32-bit files, an alpha byte
// that is skipped.
template <int BytesPerPixel>
void DecodeRow(const uint8_t* src, uint32_t* dst, int64_t count)
{
    for (int64_t i = 0; i < count; i++, src += BytesPerPixel)
        dst[i] = uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16;
}

// Draws the decoded rows into the CurrentTarget, keeping to its bounds.
template <int BytesPerPixel>
void DrawPixels(const uint8_t* pixels, const TgaHeader& h, int x, int y)
{
    const Screen* target = CurrentTarget;
    const int64_t rowBytes = int64_t(h.width) * BytesPerPixel;
    // Visible column range of the picture, [first, last).
    const int64_t first = std::max<int64_t>(0, -int64_t(x));
    const int64_t last = std::min<int64_t>(h.width, int64_t(target->width) - x);
    if (first >= last)
        return;
    const bool topDown = h.descriptor & TopDownRows;
    for (int64_t k = 0; k < h.height; k++) {
        const int64_t row = topDown ? y + k : y + (h.height - 1 - k);
        if (row < 0 || row >= target->height)
            continue;
        DecodeRow<BytesPerPixel>(pixels + k * rowBytes + first * BytesPerPixel,
                                 target->rows[row] + (x + first), last - first);
    }
}

} // namespace

void SizeTGA(const char* file, int* width, int* height)
{
    FileHandle f = OpenTGA(file, "fichero no encontrado en SizeTGA:");
    const TgaHeader h = ReadHeader(f.get(), file);
    *width = h.width;
    *height = h.height;
}

void LoadTGA(const char* file, int x, int y)
{
    FileHandle f = OpenTGA(file, "fichero no encontrado en LoadTGA:");
    const TgaHeader h = ReadHeader(f.get(), file);

    uint8_t id[255];
    if (h.idLength != 0 && std::fread(id, 1, size_t(h.idLength), f.get()) != size_t(h.idLength))
        FatalError("error al leer un TGA", file);

    // Up to 65535 x 65535 x 4 bytes: beyond 32 bits, and beyond size_t on
    // 32-bit hosts.
    const uint64_t size = uint64_t(h.width) * uint64_t(h.height) * uint64_t(h.depth / 8);
    if constexpr (sizeof(size_t) < sizeof(uint64_t)) {
        if (size > SIZE_MAX)
            FatalError("no hay memoria en LoadTGA", "");
    }
    PixelBuffer pixels(static_cast<uint8_t*>(std::malloc(size ? size_t(size) : 1)));
    if (!pixels)
        FatalError("no hay memoria en LoadTGA", "");

    // One read for the whole pixel data; a short file draws nothing.
    if (std::fread(pixels.get(), 1, size_t(size), f.get()) != size_t(size))
        FatalError("error al leer un TGA", file);

    if (h.depth == 32)
        DrawPixels<4>(pixels.get(), h, x, y);
    else
        DrawPixels<3>(pixels.get(), h, x, y);
}
