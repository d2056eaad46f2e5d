#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

// A PNG file decoded by libpng, as 0x00RRGGBB (with `alpha`, 0xAARRGGBB)
// pixels row by row; 0 x 0 when libpng rejects it.
struct DecodedPng {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

inline DecodedPng DecodePng(const std::vector<uint8_t>& bytes, bool alpha = false)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return {};
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const size_t channels = alpha ? 4 : 3;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return {};
    }
    DecodedPng d{int(image.width), int(image.height), {}};
    for (size_t i = 0; i + channels <= rgb.size(); i += channels)
        d.pixels.push_back((alpha ? uint32_t(rgb[i + 3]) << 24 : 0) | uint32_t(rgb[i]) << 16 |
                           uint32_t(rgb[i + 1]) << 8 | rgb[i + 2]);
    return d;
}
