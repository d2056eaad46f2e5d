#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/tga.h"
#include "raster/raster_test_util.h"

#ifndef TARVEL_CONTENT_DIR
#error "TARVEL_CONTENT_DIR must name the generated content folder"
#endif

inline std::vector<uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::string FileText(const std::filesystem::path& path)
{
    const std::vector<uint8_t> bytes = FileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// What a shell command prints; its exit code (-1 when a signal ended it) in `*exitCode` when asked.
inline std::string RunCommand(const std::string& command, int* exitCode = nullptr)
{
    std::string out;
    std::FILE* p = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; p && (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;)
        out.append(buffer, n);
    const int status = p ? pclose(p) : -1;
    if (exitCode)
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

// A picture read the way the show does: SizeTGA for the size, a Screen of
// that size as the target, LoadTGA at (0, 0). Row-major from the top.
struct Decoded {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
};

inline Decoded ReadWithShowReader(const char* name)
{
    Decoded d;
    SizeTGA(name, &d.width, &d.height);
    OwnedScreen s(d.width, d.height);
    SetTarget(s.get());
    LoadTGA(name, 0, 0);
    SetTarget(nullptr);
    d.data = Pixels(s.get());
    return d;
}
