#include <gtest/gtest.h>
#include <sys/resource.h>

#include "raster/screen.h"
#include "raster_test_util.h"

TEST(Screen, NewScreenIsZeroedAndWrapsTo16Bits)
{
    OwnedScreen a(3, 2);
    EXPECT_EQ(a->width, 3);
    EXPECT_EQ(a->height, 2);
    EXPECT_EQ(Pixels(a.get()), std::vector<uint32_t>(6, 0));

    OwnedScreen b(65536 + 4, 2);
    EXPECT_EQ(b->width, 4);
    EXPECT_EQ(Pixels(b.get()).size(), 8u);

    OwnedScreen empty(0, 0); // released without touching any row
    EXPECT_EQ(empty->width, 0);
    EXPECT_EQ(empty->height, 0);
    EXPECT_NE(empty->rows, nullptr);
}

TEST(Screen, WindowScreenMapsForeignRows)
{
    uint32_t memory[2][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    Screen view;
    newscreenwin(&view, 65536 + 4, 2);
    EXPECT_EQ(view.width, 4);
    view.rows[0] = memory[1];
    view.rows[1] = memory[0];
    SetTarget(&view);
    EXPECT_EQ(GetPixel(0, 0), 5u);
    PutPixel(3, 1, 0x00ABCDEF);
    EXPECT_EQ(memory[0][3], 0x00ABCDEFu);
    std::free(view.rows); // a window Screen owns only its table
}

TEST(Screen, PixelAccessUsesCurrentTarget)
{
    OwnedScreen a(4, 4), b(4, 4);
    SetTarget(a.get());
    EXPECT_EQ(CurrentTarget, a.get());
    PutPixel(1, 1, 0x00FF0000);
    EXPECT_EQ(a.at(1, 1), 0x00FF0000u);
    EXPECT_EQ(Pixels(b.get()), std::vector<uint32_t>(16, 0));
    auto pixels = Pixels(a.get());
    pixels[1 * 4 + 1] = 0;
    EXPECT_EQ(pixels, std::vector<uint32_t>(16, 0));

    a.at(3, 2) = 77;
    EXPECT_EQ(GetPixel(65536 + 3, 2), 77u); // coordinates wrap to 16 bits
    EXPECT_EQ(GetPixel(3, 65536 + 2), 77u);
}

TEST(Screen, FillRectIsInclusiveAndEmptyWhenInverted)
{
    OwnedScreen a(6, 3);
    SetTarget(a.get());
    FillRect(2, 1, 2, 1, 9);
    std::vector<uint32_t> expected(18, 0);
    expected[1 * 6 + 2] = 9;
    EXPECT_EQ(Pixels(a.get()), expected);

    FillRect(5, 0, 4, 0, 7);
    FillRect(0, 2, 5, 1, 7);
    EXPECT_EQ(Pixels(a.get()), expected);

    FillRect(1, 0, 5, 2, 3);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 6; x++)
            EXPECT_EQ(a.at(x, y), x >= 1 ? 3u : 0u) << x << "," << y;

    FillRect(65536 + 0, 0, 0, 0, 4); // the counters start at the low 16 bits
    EXPECT_EQ(a.at(0, 0), 4u);
}

TEST(Screen, BitCount)
{
    const std::pair<int, int> cases[] = {{1, 1}, {2, 2}, {3, 2}, {255, 8}, {256, 9},
                                         {0, 0}, {-5, 0}, {0x7FFFFFFF, 31}};
    for (auto [n, bits] : cases)
        EXPECT_EQ(BitCount(n), bits) << n;
}

// Limits the child's address space so that large allocations fail. The
// sanitizers reserve huge address ranges of their own, so there the limit
// cannot be applied.
static bool CanLimitMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#endif
#endif
    return true;
}

static void LimitMemory()
{
    rlimit limit{256u << 20, 256u << 20};
    setrlimit(RLIMIT_AS, &limit);
}

TEST(ScreenDeathTest, ExhaustedMemoryIsFatal)
{
    if (!CanLimitMemory())
        GTEST_SKIP() << "address-space limits do not mix with the sanitizers";
    Screen s;
    EXPECT_EXIT((LimitMemory(), newscreen(&s, 65535, 65535)), testing::ExitedWithCode(255),
                "no hay memoria en newscreen");
}
