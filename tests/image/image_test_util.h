#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "contentgen/tga_write.h"
#include "image/imagebank.h"
#include "raster/raster_test_util.h"
#include "raster/screen.h"

// TGA bytes of a w x h picture (pixels row-major from the top) as the content
// generator writes them; tests patch header bytes for broken files.
inline std::vector<uint8_t> Tga(int w, int h, std::vector<uint32_t> pixels, TgaFormat format = {24, true, nullptr})
{
    return EncodeTga(Picture{w, h, std::move(pixels)}, format);
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

    // Writes `bytes` to the file `name` (folders separated by '/'); returns its path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        const std::filesystem::path file = path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file.string();
    }
};

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
    ~TestSlot() { ClearSlot(slot); }
    Screen& image() const { return Images.ImageBank[slot].image; }
    static void ClearSlot(int slot)
    {
        FreeScreen(&Images.ImageBank[slot].image);
        Images.ImageBank[slot] = ImageSlot{};
    }
};
