#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "raster_test_util.h"

// New Screens are zeroed; pixel access goes through the target's rows, GetPixel
// cutting to 16 bits.
TEST(Screen, NewScreensAreZeroedAndPixelsGoThroughTheTargetsRows)
{
    OwnedScreen a(3, 2), empty(0, 0); // empty: released without touching a row
    EXPECT_EQ(Pixels(a.get()), std::vector<uint32_t>(6, 0));
    uint32_t memory[2][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    Screen view;
    newscreenwin(&view, 65536 + 4, 2);
    view.rows[0] = memory[1];
    view.rows[1] = memory[0];
    SetTarget(&view);
    EXPECT_EQ(GetPixel(65536 + 3, 65536 + 1), 4u);
    PutPixel(2, 1, 0x00ABCDEF);
    EXPECT_EQ(memory[0][2], 0x00ABCDEFu);
    SetTarget(nullptr);
    std::free(view.rows); // a window Screen owns only its table
}

// FillRect is inclusive and clipped to the target whatever its corners.
TEST(Screen, FillRectIsInclusiveAndClippedToTheTarget)
{
    const int cases[][8] = { // corners, then the part filled {left, top, right, bottom}; left > right: none
        {2, 1, 2, 1, 2, 1, 2, 1},   {-3, -2, 2, 1, 0, 0, 2, 1},  {4, 1, 65535, 65535, 4, 1, 5, 2},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 5, 2},       {6, 0, 9, 2, 1, 0, 0, 0},
        {0, -5, 5, -1, 1, 0, 0, 0}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1, 0, 0, 0},
        {5, 0, 4, 0, 1, 0, 0, 0},   {0, 2, 5, 1, 1, 0, 0, 0},    {65536, 0, 0, 0, 1, 0, 0, 0},
    };
    for (const auto& [x1, y1, x2, y2, left, top, right, bottom] : cases) {
        TargetScreen a(6, 3);
        FillRect(x1, y1, x2, y2, 5);
        for (int y = 0; y < 3; y++)
            for (int x = 0; x < 6; x++)
                EXPECT_EQ(a.at(x, y), x >= left && x <= right && y >= top && y <= bottom ? 5u : 0u)
                    << x1 << "," << y1 << " " << x2 << "," << y2;
    }
    FillRect(0, 0, 5, 2, 7); // no target: nothing to fill
}
