#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "raster/raster_test_util.h"
#include "raster/screen.h"

// A TGA file's parts; pixels are given in stored order as 0x00RRGGBB, with
// `alpha` written as the fourth byte of 32-bit pixels.
struct TgaFile {
    int width = 0;
    int height = 0;
    int depth = 24;
    uint8_t descriptor = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 2;
    std::vector<uint8_t> id = {};
    std::vector<uint32_t> pixels = {};
    uint8_t alpha = 0xFF;
};

inline std::vector<uint8_t> TgaBytes(const TgaFile& t)
{
    const size_t bytesPerPixel = t.depth == 32 ? 4 : 3;
    std::vector<uint8_t> b(18 + t.id.size() + t.pixels.size() * bytesPerPixel, 0);
    b[0] = uint8_t(t.id.size());
    b[1] = t.colourMapType;
    b[2] = t.imageType;
    b[12] = uint8_t(t.width);
    b[13] = uint8_t(t.width >> 8);
    b[14] = uint8_t(t.height);
    b[15] = uint8_t(t.height >> 8);
    b[16] = uint8_t(t.depth);
    b[17] = t.descriptor;
    size_t at = 18;
    for (uint8_t byte : t.id)
        b[at++] = byte;
    for (uint32_t p : t.pixels) {
        b[at++] = uint8_t(p);
        b[at++] = uint8_t(p >> 8);
        b[at++] = uint8_t(p >> 16);
        if (bytesPerPixel == 4)
            b[at++] = t.alpha;
    }
    return b;
}

// A folder of its own for one test's files, removed with everything in it.
struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        static int counter = 0;
        path = std::filesystem::temp_directory_path() /
               ("tarvel-image-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes `bytes` to the file `name` (folders separated by '/') and
    // returns its full path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        const std::filesystem::path file = path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file.string();
    }
};

// `text` as an extended regular expression that matches exactly it.
inline std::string Literal(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        if (std::string_view(".[]{}()\\*+?^$|").find(ch) != std::string_view::npos)
            out += '\\';
        out += ch;
    }
    return out;
}

// Sets every pixel of a Screen to `colour`.
inline void Fill(Screen* s, uint32_t colour)
{
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            s->rows[y][x] = colour;
}
