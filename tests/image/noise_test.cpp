#include <gtest/gtest.h>

#include <climits>

#include "image/image_test_util.h"
#include "image/noise.h"
#include "raster/mathtables.h"

// Frees the layers a test made, whatever its end.
struct Noise : testing::Test {
    void TearDown() override { ResetImages(); }
    static Screen& Buffer(int layer) { return Images.NoiseLayers[layer].buffer; }
};
using NoiseDeathTest = Noise;

// Each draw, even one clipped away, takes one random grey per column.
TEST_F(Noise, StreaksTakeOneRandomGreyPerColumnEachDraw)
{
    SeedRandom(1234);
    NoiseInit(0, 0, 400, 200);
    TargetScreen frame(450, 260, 0x00204060);
    NoiseDraw(0, 500, 500);
    NoiseDraw(0, 30, 40);
    const uint32_t after = RandomState;
    SeedRandom(1234);
    std::vector<uint32_t> greys(800);
    for (uint32_t& grey : greys)
        grey = uint32_t(Random() % 255) * 0x010101u;
    EXPECT_EQ(RandomState, after);
    for (int y = 0; y < 260; y++)
        for (int x = 0; x < 450; x++) {
            const bool shown = x >= 30 && x < 430 && y >= 40 && y < 240;
            ASSERT_EQ(frame.at(x, y), ReferenceBlend(3, shown ? greys[size_t(400 + x - 30)] : 0, 0x00204060))
                << x << "," << y;
        }
}

// (w - 1) * (h - 1) / 70 dots of three numbers each: grey 127-254, row, column.
TEST_F(Noise, DotsScatterDrawsThreeNumbersPerDot)
{
    SeedRandom(77);
    NoiseInit(1, 1, 800, 200);
    const uint32_t after = RandomState;
    SeedRandom(77);
    std::vector<uint32_t> expected(801 * 200, 0);
    for (int i = 0; i < 2271; i++) {
        const int v = Random() % 128 + 127;
        const int row = Random() % 200;
        expected[size_t(row * 801 + Random() % 799)] = uint32_t(v) * 0x010101u;
    }
    EXPECT_EQ(RandomState, after);
    EXPECT_EQ(Pixels(&Buffer(1)), expected);
}

// Each draw shows the spare column, then rows move one pixel left and wrap.
TEST_F(Noise, DotsRowsDriftLeftAndWrap)
{
    NoiseInit(3, 1, 4, 1); // no dots
    uint32_t* row = Buffer(3).rows[0];
    const uint32_t a = 0x101010, b = 0x202020, c = 0, d = 0x404040; // black lets the frame show
    row[0] = a, row[1] = b, row[2] = c, row[3] = d, row[4] = 0x505050;
    TargetScreen frame(10, 3, 0x00FEFEFE);
    const uint32_t before = RandomState;
    NoiseDraw(3, 2, 1);
    EXPECT_EQ(RandomState, before);
    EXPECT_EQ(std::vector<uint32_t>(row, row + 5), (std::vector<uint32_t>{b, c, d, a, a}));
    const uint32_t shown[] = {0, 0, b, c, d, a, a, 0, 0, 0};
    for (int x = 0; x < 10; x++)
        EXPECT_EQ(frame.at(x, 1), ReferenceBlend(3, shown[x], 0x00FEFEFE)) << x;
    for (int i = 0; i < 3; i++)
        NoiseDraw(3, 2, 1);
    EXPECT_EQ(std::vector<uint32_t>(row, row + 4), (std::vector<uint32_t>{a, b, c, d}));
}

// Inert (no buffer), never created (99), freed (twice) and unknown layers draw
// nothing and take no random number; nor do places beyond any Screen's reach.
TEST_F(Noise, InertNeverCreatedFreedAndUnknownLayersDoNothing)
{
    TargetScreen frame(8, 8, 0x00FFFFFF);
    SeedRandom(3);
    for (auto [layer, kind] : {std::pair{4, 2}, {0, 0}, {1, 1}, {2, 0}})
        NoiseInit(layer, kind, 6, 6);
    EXPECT_EQ(Buffer(4).rows, nullptr);
    for (int layer : {0, 1, 0, 1, -1, 100, INT_MIN})
        NoiseFree(layer);
    for (int layer : {4, 99, 0, 1, -1, 100, INT_MIN, INT_MAX})
        NoiseDraw(layer, 0, 0);
    NoiseDraw(2, -(1 << 30) - 1, 0);
    NoiseDraw(2, 0, INT_MAX);
    EXPECT_EQ(RandomState, 3u);
    EXPECT_EQ(Pixels(frame.get()), std::vector<uint32_t>(64, 0x00FFFFFF));
}

// A layer made again frees its buffer; impossible layers and sizes are fatal.
TEST_F(NoiseDeathTest, LayersOutsideTheTableAndSizesNoScreenHoldsAreRefused)
{
    NoiseInit(3, 1, 80, 80);
    NoiseInit(3, 0, 10, 10);
    EXPECT_EQ(Buffer(3).width, 12);
    const char* layer = "capa de ruido fuera de rango en NoiseInit";
    const char* size = "tamano de ruido fuera de rango en NoiseInit";
    const struct { int layer, kind, width, height; const char* message; } refused[] = {
        {100, 0, 10, 10, layer}, {-1, 2, 10, 10, layer}, {5, 0, 0, 10, size}, {5, 0, 65534, 1, size},
        {5, 1, 1, 65536, size},
    };
    for (const auto& r : refused)
        EXPECT_EXIT(NoiseInit(r.layer, r.kind, r.width, r.height), testing::ExitedWithCode(255), r.message)
            << r.layer << " " << r.kind << " " << r.width << "x" << r.height;
}
