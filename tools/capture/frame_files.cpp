#include "capture/frame_files.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "common/png_write.h"
#include "display/display.h"

bool WritePngFrame(const std::string& path, const uint32_t* pixels)
{
    const std::vector<uint8_t> png = EncodePng(pixels, DisplayWidth, DisplayHeight, DisplayWidth);
    return !png.empty() && WriteFileBytes(path.c_str(), png);
}

bool WriteRawFrame(const std::string& path, const uint32_t* pixels)
{
    std::vector<uint8_t> bytes(size_t(DisplayWidth) * DisplayHeight * 4);
    for (size_t i = 0; i < size_t(DisplayWidth) * DisplayHeight; i++) {
        bytes[4 * i] = uint8_t(pixels[i]);
        bytes[4 * i + 1] = uint8_t(pixels[i] >> 8);
        bytes[4 * i + 2] = uint8_t(pixels[i] >> 16);
        bytes[4 * i + 3] = uint8_t(pixels[i] >> 24);
    }
    return WriteFileBytes(path.c_str(), bytes);
}

bool MakeOutputFolder(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

std::string NumberedPath(const std::string& folder, const char* prefix, int64_t number, const char* suffix)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s%05lld%s", prefix, static_cast<long long>(number), suffix);
    return (std::filesystem::path(folder) / name).string();
}
