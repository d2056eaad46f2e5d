#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "image/image_test_util.h"
#include "image/noise.h"
#include "raster/mathtables.h"

namespace {

struct Layer {
    int n;
    Layer(int n, int kind, int w, int h) : n(n) { NoiseInit(n, kind, w, h); }
    ~Layer()
    {
        NoiseFree(n);
        Images.NoiseLayers[n] = NoiseLayer{};
    }
    NoiseLayer* operator->() { return &Images.NoiseLayers[n]; }
};

} // namespace

TEST(NoiseStreaks, EachDrawIsOneRandomGreyPerColumn)
{
    SeedRandom(1234);
    Layer layer(0, 0, 400, 200);
    EXPECT_EQ((std::array<int, 4>{layer->bufferWidth, layer->bufferHeight, layer->buffer.width, layer->buffer.height}),
              (std::array{402, 202, 402, 202}));
    EXPECT_EQ(RandomState, 1234u); // nothing drawn at creation

    OwnedScreen frame(450, 260);
    Fill(frame.get(), 0x00204060);
    SetTarget(frame.get());
    const uint32_t before = RandomState;
    NoiseDraw(0, 30, 40);

    // Replayed, 400 numbers give each column's grey; the 400 x 200 area at
    // (30, 40) shows it, mixed where it is not black.
    const uint32_t after = RandomState;
    RandomState = before;
    std::vector<uint32_t> greys;
    for (int c = 0; c < 400; c++)
        greys.push_back(uint32_t(Random() % 255) * 0x010101u);
    EXPECT_EQ(RandomState, after);
    for (int y = 0; y < 260; y++)
        for (int x = 0; x < 450; x++) {
            const bool shown = x >= 30 && x < 430 && y >= 40 && y < 240;
            const uint32_t grey = shown ? greys[size_t(x - 30)] : 0;
            ASSERT_EQ(frame.at(x, y), ReferenceBlend(3, grey, 0x00204060)) << x << "," << y;
        }

    // A draw that is clipped away still steps.
    NoiseDraw(0, 500, 500);
    const uint32_t clipped = RandomState;
    RandomState = after;
    for (int c = 0; c < 400; c++)
        Random();
    EXPECT_EQ(RandomState, clipped);
    SetTarget(nullptr);
}

TEST(NoiseDots, ScatterDrawsThreeNumbersPerDot)
{
    SeedRandom(77);
    const uint32_t before = RandomState;
    Layer layer(1, 1, 800, 200);
    EXPECT_EQ((std::array{layer->bufferWidth, layer->bufferHeight}), (std::array{801, 200}));

    // Replayed, three numbers for each of 2271 dots: grey 127-254, row,
    // column below 799; a later dot replaces an earlier one.
    const uint32_t after = RandomState;
    RandomState = before;
    std::vector<uint32_t> expected(801 * 200, 0);
    for (int i = 0; i < 2271; i++) {
        const int v = Random() % 128 + 127;
        const int row = Random() % 200;
        expected[size_t(row * 801 + Random() % 799)] = uint32_t(v) * 0x010101u;
    }
    EXPECT_EQ(RandomState, after);
    EXPECT_EQ(Pixels(&layer->buffer), expected);

    for (auto [w, h] : {std::pair{1, 50}, {50, 1}, {8, 10}, {70, 2}}) { // (w - 1) * (h - 1) < 70
        const uint32_t start = RandomState;
        Layer small(2, 1, w, h);
        EXPECT_EQ(RandomState, start) << w << "x" << h;
    }
}

TEST(NoiseDots, RowsDriftLeftAndWrap)
{
    Layer layer(3, 1, 4, 1); // no dots
    uint32_t* row = layer->buffer.rows[0];
    const uint32_t a = 0x101010, b = 0x202020, c = 0, d = 0x404040; // black lets the frame show
    row[0] = a, row[1] = b, row[2] = c, row[3] = d, row[4] = 0x505050;

    OwnedScreen frame(10, 3);
    Fill(frame.get(), 0x00FEFEFE);
    SetTarget(frame.get());
    const uint32_t before = RandomState;
    NoiseDraw(3, 2, 1);
    EXPECT_EQ(RandomState, before);
    EXPECT_EQ(std::vector<uint32_t>(row, row + 5), (std::vector<uint32_t>{b, c, d, a, a}));
    // The spare column is drawn too: 5 columns from x = 2, mixed in mode 3.
    const uint32_t shown[] = {0, 0, b, c, d, a, a, 0, 0, 0};
    for (int x = 0; x < 10; x++)
        EXPECT_EQ(frame.at(x, 1), ReferenceBlend(3, shown[x], 0x00FEFEFE)) << x;
    for (int i = 0; i < 3; i++)
        NoiseDraw(3, 2, 1);
    EXPECT_EQ(std::vector<uint32_t>(row, row + 4), (std::vector<uint32_t>{a, b, c, d}));
    SetTarget(nullptr);
}

TEST(NoiseOtherKinds, InertNeverCreatedFreedAndUnknownLayersDoNothing)
{
    OwnedScreen frame(8, 8);
    Fill(frame.get(), 0x00FFFFFF);
    SetTarget(frame.get());
    SeedRandom(3);
    Layer inert(4, 2, 100, 100), freed(0, 0, 6, 6), freedDots(1, 1, 6, 6), streaks(2, 0, 6, 6); // too small for dots
    EXPECT_EQ(inert->buffer.rows, nullptr);
    NoiseDraw(4, 0, 0);
    NoiseDraw(99, 0, 0); // never created: kind 0, no buffer
    for (int layer : {0, 1}) {
        NoiseFree(layer);
        NoiseFree(layer);
        NoiseDraw(layer, 0, 0);
    }
    for (int unknown : {-1, 100, INT_MIN, INT_MAX}) {
        NoiseDraw(unknown, 0, 0);
        NoiseFree(unknown);
    }
    NoiseDraw(2, -(1 << 30) - 1, 0); // farther than any Screen reaches
    NoiseDraw(2, 0, INT_MAX);
    EXPECT_EQ(RandomState, 3u);
    EXPECT_EQ(Pixels(frame.get()), std::vector<uint32_t>(64, 0x00FFFFFF));
    SetTarget(nullptr);
}

// A layer made again lets its earlier buffer go (the sanitizer build's leak
// check sees to that); numbers and sizes no buffer can have are refused.
TEST(NoiseDeathTest, LayersOutsideTheTableAndSizesNoScreenHoldsAreRefused)
{
    Layer again(3, 1, 80, 80);
    NoiseInit(3, 0, 10, 10);
    EXPECT_EQ(again->buffer.width, 12);

    const struct {
        int layer, kind, width, height;
        const char* message;
    } refused[] = {
        {100, 0, 10, 10, "capa de ruido fuera de rango en NoiseInit"},
        {-1, 2, 10, 10, "capa de ruido fuera de rango en NoiseInit"},
        {5, 0, 0, 10, "tamano de ruido fuera de rango en NoiseInit"},
        {5, 0, 65534, 1, "tamano de ruido fuera de rango en NoiseInit"},
        {5, 1, 1, 65536, "tamano de ruido fuera de rango en NoiseInit"},
        {5, 1, -1, 10, "tamano de ruido fuera de rango en NoiseInit"},
    };
    for (const auto& r : refused)
        EXPECT_EXIT(NoiseInit(r.layer, r.kind, r.width, r.height), testing::ExitedWithCode(255), r.message)
            << r.layer << " " << r.kind << " " << r.width << "x" << r.height;
}
