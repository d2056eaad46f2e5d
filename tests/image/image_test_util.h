#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "image/imagebank.h"
#include "raster/raster_test_util.h"
#include "raster/screen.h"

// A TGA file's parts; pixels are given in stored order as 0x00RRGGBB, with
// `alpha` written as the fourth byte of 32-bit pixels.
struct TgaFile {
    int width = 0, height = 0, depth = 24;
    uint8_t descriptor = 0, colourMapType = 0, imageType = 2;
    std::vector<uint8_t> id = {};
    std::vector<uint32_t> pixels = {};
    uint8_t alpha = 0xFF;
};

inline std::vector<uint8_t> TgaBytes(const TgaFile& t)
{
    std::vector<uint8_t> b = {uint8_t(t.id.size()), t.colourMapType, t.imageType, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              uint8_t(t.width), uint8_t(t.width >> 8), uint8_t(t.height), uint8_t(t.height >> 8),
                              uint8_t(t.depth), t.descriptor};
    for (uint8_t byte : t.id)
        b.push_back(byte);
    for (uint32_t p : t.pixels)
        for (int byte = 0; byte < (t.depth == 32 ? 4 : 3); byte++)
            b.push_back(byte == 3 ? t.alpha : uint8_t(p >> 8 * byte));
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

// Gives image slot `slot` a w x h picture for the scope: random pixels, or
// `colour` everywhere, with the hotspot at its centre.
struct TestSlot {
    int slot;
    TestSlot(int slot, int w, int h, std::mt19937* rng = nullptr, uint32_t colour = 0x00C0FFEE) : slot(slot)
    {
        ImageSlot& s = Images.ImageBank[slot];
        newscreen(&s.image, w, h);
        rng ? FillRandom(&s.image, *rng) : Fill(&s.image, colour);
        s.hotspotX = w / 2;
        s.hotspotY = h / 2;
    }
    ~TestSlot()
    {
        FreeScreen(&Images.ImageBank[slot].image);
        Images.ImageBank[slot] = ImageSlot{};
    }
};
