// Frames in the canvas's byte order: R, G, B and an opaque A.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/web/canvas_pixels.h"

namespace {

TEST(CanvasPixelsTest, BytesAreRedGreenBlueOpaqueWhateverTheTopByte)
{
    const std::vector<uint32_t> pixels = {0x00000000, 0x00FFFFFF, 0x00123456, 0xAB123456, 0x00FF0000, 0x000000FF};
    std::vector<uint32_t> canvas(pixels.size());
    ToCanvasPixels(pixels.data(), canvas.data(), pixels.size());
    const uint8_t expected[][4] = {
        {0x00, 0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF}, {0x12, 0x34, 0x56, 0xFF},
        {0x12, 0x34, 0x56, 0xFF}, {0xFF, 0x00, 0x00, 0xFF}, {0x00, 0x00, 0xFF, 0xFF},
    };
    for (size_t i = 0; i < pixels.size(); i++) {
        uint8_t bytes[4];
        std::memcpy(bytes, &canvas[i], 4);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), std::vector<uint8_t>(expected[i], expected[i] + 4))
            << std::hex << pixels[i];
    }
}

} // namespace
