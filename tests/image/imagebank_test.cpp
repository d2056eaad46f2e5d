#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "image/image_test_util.h"
#include "image/imagebank.h"

namespace {

constexpr std::array<int, 4> Nothing{-1, -1, -1, -1};

// Box {x1, y1, x2, y2} of the pixels unlike `background`, all -1 for none.
std::array<int, 4> ChangedBox(const Screen* s, uint32_t background)
{
    std::array<int, 4> box{INT_MAX, INT_MAX, -1, -1};
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            if (s->rows[y][x] != background)
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
    return box[2] < 0 ? Nothing : box;
}

// Frees the slots loaded by a test, whatever its end.
struct ImageSlots : ::testing::Test {
    void TearDown() override
    {
        ResetImages();
        SetTarget(nullptr);
    }
    TempDir dir;
};

// Slot numbers cut to 16 bits, the target kept, a slot reloaded (ASan sees the
// old one go), the hotspot rounded down to the position.
TEST_F(ImageSlots, LoadSlotSizesHotspotAndKeepsTheTarget)
{
    std::vector<uint32_t> pixels(64 * 32);
    for (uint32_t i = 0; i < 64 * 32; i++)
        pixels[i] = i + 1;
    dir.Write("graph/sprite00.TGA", Tga(64, 32, pixels));
    TargetScreen other(3, 3);
    LoadSlot((dir.path.string() + "/graph\\sprite00.TGA").c_str(), 65536 + 7);
    EXPECT_EQ(CurrentTarget, other.get());
    EXPECT_EQ(Pixels(other.get()), std::vector<uint32_t>(9, 0));
    const ImageSlot& slot = Images.ImageBank[7];
    EXPECT_EQ(Pixels(&slot.image), pixels);
    EXPECT_EQ((std::array{slot.hotspotX, slot.hotspotY}), (std::array{32, 16}));
    LoadSlot(dir.Write("b.tga", Tga(5, 3, std::vector<uint32_t>(15, 2))).c_str(), 7);
    EXPECT_EQ(Pixels(&slot.image), std::vector<uint32_t>(15, 2));
    TargetScreen frame(20, 20);
    DrawSlotUnscaled(7, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0), (std::array{8, 9, 12, 11}));
}

// An empty slot draws black only when scaled; numbers naming no slot, places
// beyond reach and sizes beyond a Screen draw nothing.
TEST_F(ImageSlots, EmptySlotsAndPlacesNoScreenReaches)
{
    TargetScreen frame(30, 30, 0x00808080);
    DrawSlot(500, 15, 15, 0, 0, 0, 0, 0, 0);
    DrawSlot(500, 15, 15, 1, 0, 10, 10, 0, 0); // keyed: black is transparent
    EXPECT_EQ(ChangedBox(frame.get(), 0x00808080), Nothing);
    DrawSlot(500, 15, 15, 2, 0, 10, 10, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0x00808080), (std::array{10, 10, 19, 19}));
    EXPECT_EQ(frame.at(10, 10), 0x00404040u); // black mixed half and half

    TestSlot picture(20, 4, 4);
    Fill(frame.get(), 0);
    const int calls[][5] = { // slot, x, y, width, height
        {1000, 8, 8, 6, 6},   {65536 + 1000, 8, 8, 0, 0}, {20, (1 << 30) + 1, 8, 0, 0}, {20, 8, INT_MIN, 6, 6},
        {20, 8, 8, 65536, 6}, {20, 8, 8, 6, INT_MAX},
    };
    for (const auto& [slot, x, y, width, height] : calls) {
        for (int type : {0, 1}) {
            DrawSlot(slot, x, y, 0, 0, width, height, type, 450);
            if (width <= 65535 && height <= 65535) // the size is DrawSlot's alone
                DrawSlotUnscaled(slot, x, y, 0, 1, type, 450);
        }
        EXPECT_EQ(ChangedBox(frame.get(), 0), Nothing) << slot << " at " << x << "," << y;
    }
    DrawSlot(65536 + 20, 8, 8, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0), (std::array{6, 6, 9, 9}));
}

TEST_F(ImageSlots, LoadingIntoASlotOutsideTheTableIsFatal)
{
    const std::string file = dir.Write("one.tga", Tga(1, 1, {5}));
    EXPECT_EXIT(LoadSlot(file.c_str(), -1), testing::ExitedWithCode(255),
                testing::HasSubstr("numero de imagen fuera de rango en LoadSlot " + file));
}

TEST_F(ImageSlots, OverlapOfPlacedBoxes)
{
    TestSlot a(30, 10, 10), b(31, 10, 10), tall(32, 3, 20); // tall spans x -1..1, y -10..9 at (0, 0)
    const int cases[][7] = { // slots, positions, overlap
        {30, 31, 0, 0, 10, 0, 0},  {30, 31, 0, 0, 9, 9, 1},  {30, 31, 0, 0, -10, 0, 0}, {30, 31, 0, 0, 0, -10, 0},
        {30, 32, 0, 0, 5, 0, 1},   {30, 32, 0, 0, 6, 0, 0},  {32, 30, 0, 14, 0, 0, 1},  {32, 30, 0, 15, 0, 0, 0},
        // Boxes at the ends of the int range; numbers outside the table.
        {30, 31, INT_MAX, 0, INT_MAX - 5, 0, 1}, {30, 31, INT_MAX, 0, INT_MIN, 0, 0},
        {30, 1000, 0, 0, 0, 0, 0}, {65535, 30, 0, 0, 0, 0, 0},
    };
    for (const auto& [s1, s2, x1, y1, x2, y2, overlap] : cases)
        EXPECT_EQ(SlotsOverlap(s1, s2, x1, y1, x2, y2), overlap) << s1 << "," << s2 << " " << x2 << "," << y2;
}

} // namespace
