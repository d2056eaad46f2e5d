// Frames in the canvas's byte order: R, G, B and an opaque A.
#include <gtest/gtest.h>

#include <vector>

#include "display/web/canvas_pixels.h"

namespace {

TEST(CanvasPixelsTest, BytesAreRedGreenBlueOpaqueWhateverTheTopByte)
{
    const uint32_t pixels[] = {0x00000000, 0x00FFFFFF, 0xAB123456, 0x00FF0000, 0x000000FF};
    std::vector<uint8_t> canvas(sizeof pixels);
    ToCanvasPixels(pixels, reinterpret_cast<uint32_t*>(canvas.data()), std::size(pixels));
    EXPECT_EQ(canvas, (std::vector<uint8_t>{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34, 0x56, 0xFF,
                                            0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0xFF}));
}

} // namespace
