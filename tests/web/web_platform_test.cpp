// The web platform's pure parts: DOM keys and mouse buttons to virtual keys, frames to canvas bytes.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "display/web/canvas_pixels.h"
#include "input/web/keymap_web.h"

namespace {

TEST(WebKeyMapTest, VirtualKeysByPositionAndLettersAndDigitsByLayout)
{
    const struct {
        const char* code;
        const char* key;
        int vk;
    } keys[] = {
        // One key of each run of codes, the ends of the runs, and both ends of the table of named keys.
        {"Escape", "Escape", 0x1B}, {"ArrowLeft", "ArrowLeft", 0x25}, {"ArrowDown", "ArrowDown", 0x28},
        {"AltLeft", "Alt", 0xA4}, {"Tab", "Tab", 0x09}, {"NumpadEnter", "Enter", 0x0D},
        {"F1", "F1", 0x70}, {"F12", "F12", 0x7B}, {"F24", "F24", 0x87},
        {"Numpad0", "0", 0x60}, {"Numpad9", "9", 0x69}, {"NumpadAdd", "+", 0x6B},
        {"ControlRight", "Control", 0xA3}, {"ShiftLeft", "Shift", 0xA0}, {"MetaRight", "Meta", 0x5C},
        {"KeyA", "a", 'A'}, {"KeyZ", "Z", 'Z'}, {"Digit0", "0", '0'}, {"Digit9", "9", '9'},
        // A layout with A where Q is and a digit row of symbols; only the main block follows the layout.
        {"KeyQ", "a", 'A'}, {"Digit1", "&", '1'}, {"KeyQ", "Dead", 'Q'}, {"F1", "a", 0x70},
        // Keys without a code, and names that only look like one.
        {"", "", 0}, {"MediaPlayPause", "MediaPlayPause", 0}, {"F0", "F0", 0}, {"F25", "F25", 0},
        {"Fn", "Fn", 0}, {"Numpad", "", 0}, {"Key", "", 0}, {"Keya", "a", 0}, {"Digit10", "1", 0},
        {"escape", "Escape", 0},
    };
    for (const auto& k : keys)
        EXPECT_EQ(VirtualKeyOfDomKey(k.code, k.key), k.vk) << k.code << " / " << k.key;
    const std::pair<int, int> buttons[] = {{0, 0x01}, {1, 0x04}, {2, 0x02}, {3, 0x05}, {4, 0x06}, {5, 0}, {-1, 0}};
    for (const auto& [button, vk] : buttons)
        EXPECT_EQ(VirtualKeyOfMouseButton(button), vk) << "mouse button " << button;
}

TEST(CanvasPixelsTest, BytesAreRedGreenBlueOpaqueWhateverTheTopByte)
{
    const uint32_t pixels[] = {0x00000000, 0x00FFFFFF, 0xAB123456, 0x00FF0000, 0x000000FF};
    std::vector<uint8_t> canvas(sizeof pixels);
    ToCanvasPixels(pixels, reinterpret_cast<uint32_t*>(canvas.data()), std::size(pixels));
    EXPECT_EQ(canvas, (std::vector<uint8_t>{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34, 0x56, 0xFF,
                                            0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0xFF}));
}

} // namespace
