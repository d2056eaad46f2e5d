#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "image/imagebank.h"
#include "image/image_test_util.h"
#include "raster/mathtables.h"
#include "raster/rotate.h"
#include "raster/scale.h"

namespace {

// Gives slot `slot` a w x h picture of distinct non-zero pixels and its
// hotspot at the centre; released at the end of the scope.
struct TestSlot {
    int slot;
    TestSlot(int slot, int w, int h) : slot(slot)
    {
        ImageSlot& s = ImageBank[slot];
        newscreen(&s.image, w, h);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                s.image.rows[y][x] = uint32_t(0x010000 + y * 256 + x + 1);
        s.hotspotX = w / 2;
        s.hotspotY = h / 2;
    }
    ~TestSlot()
    {
        FreeScreen(&ImageBank[slot].image);
        ImageBank[slot] = ImageSlot{};
    }
};

// Bounding box of the pixels of `s` that differ from `background`:
// {x1, y1, x2, y2}, or all -1 when none does.
std::array<int, 4> ChangedBox(const Screen* s, uint32_t background)
{
    std::array<int, 4> box{-1, -1, -1, -1};
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            if (s->rows[y][x] != background) {
                if (box[0] < 0)
                    box = {x, y, x, y};
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
            }
    return box;
}

} // namespace

TEST(ImageSlots, LoadSlotSizesHotspotAndKeepsTheTarget)
{
    TempDir dir;
    TgaFile t{.width = 64, .height = 32, .descriptor = 0x20};
    for (int i = 0; i < 64 * 32; i++)
        t.pixels.push_back(uint32_t(i + 1));
    dir.Write("graph/sprite00.TGA", TgaBytes(t));
    const std::string name = dir.path.string() + "/graph\\sprite00.TGA";

    OwnedScreen other(3, 3);
    SetTarget(other.get());
    LoadSlot(name.c_str(), 7);
    EXPECT_EQ(CurrentTarget, other.get());
    const ImageSlot& s = ImageBank[7];
    EXPECT_EQ(s.image.width, 64);
    EXPECT_EQ(s.image.height, 32);
    EXPECT_EQ(s.hotspotX, 32);
    EXPECT_EQ(s.hotspotY, 16);
    EXPECT_EQ(Pixels(&s.image), t.pixels);
    EXPECT_EQ(Pixels(other.get()), std::vector<uint32_t>(9, 0));

    // Drawn at (100, 100) it covers x 68-131 and y 84-115.
    OwnedScreen frame(200, 200);
    SetTarget(frame.get());
    DrawSlot(7, 100, 100, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0), (std::array<int, 4>{68, 84, 131, 115}));
    EXPECT_EQ(frame.at(68, 84), 1u);
    SetTarget(nullptr);
    FreeScreen(&ImageBank[7].image);
    ImageBank[7] = ImageSlot{};
}

TEST(ImageSlots, OddSizesRoundTheHotspotDown)
{
    TempDir dir;
    TgaFile t{.width = 5, .height = 3, .pixels = std::vector<uint32_t>(15, 0x123456)};
    LoadSlot(dir.Write("five.tga", TgaBytes(t)).c_str(), 65536 + 3); // slot numbers are 16-bit
    EXPECT_EQ(ImageBank[3].hotspotX, 2);
    EXPECT_EQ(ImageBank[3].hotspotY, 1);
    OwnedScreen frame(20, 20);
    SetTarget(frame.get());
    DrawSlotUnscaled(3, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0), (std::array<int, 4>{8, 9, 12, 11}));
    SetTarget(nullptr);
    FreeScreen(&ImageBank[3].image);
    ImageBank[3] = ImageSlot{};
}

TEST(ImageSlots, DrawSlotPathsMatchTheirBlits)
{
    CalcMathTables();
    TestSlot picture(20, 9, 6);
    const ImageSlot& s = ImageBank[20];
    OwnedScreen drawn(40, 30), expected(40, 30);
    std::mt19937 rng(5);
    FillRandom(drawn.get(), rng);
    for (int y = 0; y < 30; y++)
        std::copy(drawn.get()->rows[y], drawn.get()->rows[y] + 40, expected.get()->rows[y]);

    struct Call {
        int width, height, mode, mirror, type, angle;
        bool natural;
    };
    for (const Call c : {Call{0, 0, 0, 0, 0, 0, true}, Call{0, 50, 3, 1, 0, 0, true}, Call{50, 0, 2, 2, 3, 900, true},
                         Call{9, 6, 1, 3, 2, 1800, true}, Call{18, 12, 0, 0, 0, 0, false},
                         Call{9, 7, 5, 1, 3, 450, false}, Call{-4, 6, 0, 0, 0, 0, false},
                         Call{4, 3, 1, 0, 1, 300, false}}) {
        SetTarget(drawn.get());
        DrawSlot(20, 17, 11, c.mode, c.mirror, c.width, c.height, c.type, c.angle);
        SetTarget(expected.get());
        if (c.natural)
            BlitRotated(&s.image, expected.get(), 0, 0, 8, 5, 17 - 4, 11 - 3, c.mode, c.mirror, c.type, c.angle);
        else
            BlitScaled(20, 17, 11, c.width, c.height, c.mode, c.mirror, c.type, c.angle);
        ASSERT_EQ(Pixels(drawn.get()), Pixels(expected.get())) << c.width << "x" << c.height;
    }
    SetTarget(nullptr);
}

TEST(ImageSlots, EmptySlotDrawsNothingAtNaturalSizeAndBlackWhenScaled)
{
    OwnedScreen frame(30, 30);
    Fill(frame.get(), 0x00808080);
    SetTarget(frame.get());
    DrawSlot(500, 15, 15, 0, 0, 0, 0, 0, 0);
    DrawSlotUnscaled(500, 15, 15, 0, 0, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0x00808080), (std::array<int, 4>{-1, -1, -1, -1}));
    DrawSlot(500, 15, 15, 1, 0, 10, 10, 0, 0); // keyed: black is transparent
    EXPECT_EQ(ChangedBox(frame.get(), 0x00808080), (std::array<int, 4>{-1, -1, -1, -1}));
    DrawSlot(500, 15, 15, 0, 0, 10, 10, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0x00808080), (std::array<int, 4>{10, 10, 19, 19}));
    EXPECT_EQ(frame.at(10, 10), 0u);
    SetTarget(nullptr);
}

TEST(ImageSlots, OverlapOfPlacedBoxes)
{
    TestSlot a(30, 10, 10), b(31, 10, 10), tall(32, 3, 20);
    EXPECT_EQ(SlotsOverlap(30, 31, 0, 0, 10, 0), 0); // edges touch
    EXPECT_EQ(SlotsOverlap(30, 31, 0, 0, 9, 9), 1);
    EXPECT_EQ(SlotsOverlap(30, 31, 0, 0, -10, 0), 0);
    EXPECT_EQ(SlotsOverlap(30, 31, 0, 0, -9, 0), 1);
    EXPECT_EQ(SlotsOverlap(30, 31, 0, 0, 0, 10), 0);
    EXPECT_EQ(SlotsOverlap(30, 31, 0, 0, 0, -10), 0);
    // Hotspots move the boxes: tall spans x -1..1 and y -10..9 at (0, 0).
    EXPECT_EQ(SlotsOverlap(30, 32, 0, 0, 5, 0), 1);
    EXPECT_EQ(SlotsOverlap(30, 32, 0, 0, 6, 0), 0);
    EXPECT_EQ(SlotsOverlap(32, 30, 0, 14, 0, 0), 1);
    EXPECT_EQ(SlotsOverlap(32, 30, 0, 15, 0, 0), 0);
    EXPECT_EQ(SlotsOverlap(65536 + 30, 31, 0, 0, 9, 9), 1);
}
