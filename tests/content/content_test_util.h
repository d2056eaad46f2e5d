#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/manifest.h"
#include "image/tga.h"
#include "raster/raster_test_util.h"

#ifndef TARVEL_CONTENT_DIR
#error "TARVEL_CONTENT_DIR must name the generated content folder"
#endif

// The show's 114 files in loading order: slot and the name the show loads
// ('\' between folders).
inline std::vector<std::pair<int, std::string>> ShowFiles()
{
    std::vector<std::pair<int, std::string>> files = {{0, BackgroundFile}};
    for (int slot = 1; slot <= LastManifestSlot; slot++)
        if (!ManifestFile(slot).empty())
            files.push_back({slot, ManifestFile(slot)});
    return files;
}

// A show file's name on a POSIX file system, relative to the content folder.
inline std::string PosixName(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

inline std::vector<uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A picture read the way the show does: SizeTGA for the size, a Screen of
// that size as the target, LoadTGA at (0, 0). Row-major from the top.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;
    uint32_t at(int x, int y) const { return data[size_t(y) * size_t(width) + size_t(x)]; }
};

inline Decoded ReadWithShowReader(const char* name)
{
    Decoded d;
    SizeTGA(name, &d.width, &d.height);
    OwnedScreen s(d.width, d.height);
    Screen* previous = CurrentTarget;
    SetTarget(s.get());
    LoadTGA(name, 0, 0);
    SetTarget(previous);
    d.data = Pixels(s.get());
    return d;
}
