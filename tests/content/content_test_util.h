#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "raster/screen.h"

#ifndef TARVEL_CONTENT_DIR
#error "TARVEL_CONTENT_DIR must name the generated content folder"
#endif

// One file of the show's asset list as the show names it ('\' between
// folders) with its slot; the background is slot 0.
struct ManifestEntry {
    std::string name;
    int slot;
};

// The 114 files in loading order, spelled out from the naming rules of the
// asset list.
inline std::vector<ManifestEntry> ShowManifest()
{
    std::vector<ManifestEntry> list = {{"graph\\fondo.tga", 0}};
    auto add = [&](int slot, const char* format, int number) {
        char name[64];
        std::snprintf(name, sizeof name, format, number);
        list.push_back({name, slot});
    };
    for (int slot = 1; slot <= 19; ++slot)
        add(slot, "graph\\sprite%02d.TGA", slot - 1);
    for (int slot = 20; slot <= 28; ++slot)
        add(slot, "graph\\FRASE%02d.TGA", slot - 20);
    add(29, "graph\\sprite%02d.TGA", 19);
    for (int slot = 30; slot <= 39; ++slot)
        add(slot, "graph\\sprite%02d.TGA", slot);
    list.push_back({"graph\\fondon.TGA", 40});
    for (int slot = 41; slot <= 50; ++slot)
        add(slot, "graph\\sprite%02d.TGA", slot);
    for (int slot = 51; slot <= 78; ++slot)
        add(slot, "graph\\foto%03d.TGA", slot - 50);
    for (int slot = 81; slot <= 88; ++slot)
        add(slot, "graph\\sprite%02d.TGA", slot);
    const char* letters[] = {"a1", "A", "b", "c", "d1", "D", "e1", "E", "i", "K", "l1", "L", "m1", "M",
                             "n1", "N", "o1", "O", "p1", "P", "r1", "R", "s1", "S", "t", "u", "z"};
    for (int i = 0; i < 27; ++i)
        list.push_back({std::string("graph\\") + letters[i] + ".TGA", 101 + i});
    return list;
}

// The name on a POSIX file system, relative to the content folder.
inline std::string PosixName(std::string name)
{
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

// A decoded picture, row-major from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;
    uint32_t at(int x, int y) const { return data[size_t(y) * size_t(width) + size_t(x)]; }
};

// Runs `body` with the working directory set to `dir`, as the show runs.
template <typename Body>
void InFolder(const std::filesystem::path& dir, Body body)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    body();
    std::filesystem::current_path(before);
}

// Reads a picture the way the show does: SizeTGA for the size, a Screen of
// that size as the target, LoadTGA at (0, 0).
Pixels ReadWithShowReader(const char* name);
