#include <gtest/gtest.h>

#include "image/image_test_util.h"
#include "image/noise.h"
#include "raster/mathtables.h"

namespace {

// Random numbers drawn between two RandomStates (at most `limit`).
int RandomsBetween(uint32_t before, uint32_t after, int limit = 100000)
{
    const uint32_t saved = RandomState;
    RandomState = before;
    int n = 0;
    while (RandomState != after && n < limit) {
        Random();
        n++;
    }
    RandomState = saved;
    return n;
}

uint32_t HalfMix(uint32_t d, uint32_t s)
{
    uint32_t out = 0;
    for (int shift : {0, 8, 16})
        out |= ((((d >> shift) & 0xFF) + ((s >> shift) & 0xFF)) / 2) << shift;
    return out;
}

struct Layer {
    int n;
    Layer(int n, int kind, int w, int h) : n(n) { NoiseInit(n, kind, w, h); }
    ~Layer()
    {
        NoiseFree(n);
        NoiseLayers[n] = NoiseLayer{};
    }
    NoiseLayer& operator*() { return NoiseLayers[n]; }
    NoiseLayer* operator->() { return &NoiseLayers[n]; }
};

} // namespace

TEST(NoiseStreaks, BufferSizeRandomCountAndDrawnArea)
{
    SeedRandom(1234);
    Layer layer(0, 0, 400, 200);
    EXPECT_EQ(layer->kind, 0);
    EXPECT_EQ(layer->bufferWidth, 402);
    EXPECT_EQ(layer->bufferHeight, 202);
    EXPECT_EQ(layer->buffer.width, 402);
    EXPECT_EQ(layer->buffer.height, 202);
    EXPECT_EQ(RandomState, 1234u); // kind 0 draws nothing at creation

    OwnedScreen frame(450, 260);
    Fill(frame.get(), 0x00204060);
    SetTarget(frame.get());
    const uint32_t before = RandomState;
    NoiseDraw(0, 30, 40);
    EXPECT_EQ(RandomsBetween(before, RandomState), 400);

    // Replaying the 400 numbers gives each column's grey; the target shows
    // it mixed half and half where it is not black.
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
            const uint32_t expected = grey ? HalfMix(0x00204060, grey) : 0x00204060;
            ASSERT_EQ(frame.at(x, y), expected) << x << "," << y;
        }

    // Each shown column holds one grey; border row, last row and edge columns stay black.
    for (int c = 1; c <= 400; c++) {
        for (int t = 1; t <= 200; t++)
            ASSERT_EQ(layer->buffer.rows[t][c], greys[size_t(c - 1)]);
        EXPECT_EQ(layer->buffer.rows[201][c], 0u);
    }
    for (int t = 0; t < 202; t++)
        EXPECT_EQ(layer->buffer.rows[t][0] | layer->buffer.rows[t][401], 0u);
    for (uint32_t g : greys)
        EXPECT_LE(g, 254u * 0x010101u);

    // Every draw is a new step.
    const auto first = Pixels(frame.get());
    Fill(frame.get(), 0x00204060);
    NoiseDraw(0, 30, 40);
    EXPECT_NE(Pixels(frame.get()), first);
    SetTarget(nullptr);
}

TEST(NoiseStreaks, ClippedDrawStillStepsFully)
{
    SeedRandom(9);
    Layer layer(5, 0, 30, 10);
    OwnedScreen frame(20, 20);
    SetTarget(frame.get());
    uint32_t before = RandomState;
    NoiseDraw(5, -25, 15);
    EXPECT_EQ(RandomsBetween(before, RandomState), 30);
    before = RandomState;
    NoiseDraw(5, 500, 500); // wholly outside
    EXPECT_EQ(RandomsBetween(before, RandomState), 30);
    SetTarget(nullptr);
}

TEST(NoiseDots, ScatterCountsGreysAndColumns)
{
    SeedRandom(77);
    const uint32_t before = RandomState;
    Layer layer(1, 1, 800, 200);
    EXPECT_EQ(layer->bufferWidth, 801);
    EXPECT_EQ(layer->bufferHeight, 200);
    EXPECT_EQ(layer->buffer.width, 801);
    EXPECT_EQ(RandomsBetween(before, RandomState), 6813); // 2271 dots of three numbers

    // Replay: grey, then row, then column, a later dot replacing an earlier.
    const uint32_t after = RandomState;
    RandomState = before;
    std::vector<uint32_t> expected(801 * 200, 0);
    for (int i = 0; i < 2271; i++) {
        const int v = Random() % 128 + 127;
        const int row = Random() % 200;
        const int column = Random() % 799;
        expected[size_t(row * 801 + column)] = uint32_t(v) * 0x010101u;
    }
    EXPECT_EQ(RandomState, after);
    EXPECT_EQ(Pixels(&layer->buffer), expected);
    for (int t = 0; t < 200; t++) {
        EXPECT_EQ(layer->buffer.rows[t][799], 0u);
        EXPECT_EQ(layer->buffer.rows[t][800], 0u);
        for (int c = 0; c < 799; c++) {
            const uint32_t p = layer->buffer.rows[t][c];
            ASSERT_TRUE(p == 0 || (p % 0x010101u == 0 && p / 0x010101u >= 127 && p / 0x010101u <= 254));
        }
    }
}

TEST(NoiseDots, SmallLayersGetNoDots)
{
    SeedRandom(5);
    for (auto [w, h] : {std::pair{1, 50}, {50, 1}, {8, 10}, {70, 2}}) { // (w - 1) * (h - 1) < 70
        const uint32_t before = RandomState;
        Layer layer(2, 1, w, h);
        EXPECT_EQ(RandomState, before) << w << "x" << h;
        EXPECT_EQ(Pixels(&layer->buffer), std::vector<uint32_t>(size_t((w + 1) * h), 0));
    }
    const uint32_t before = RandomState;
    Layer layer(2, 1, 8, 12); // 7 * 11 / 70 = 1 dot
    EXPECT_EQ(RandomsBetween(before, RandomState), 3);
}

TEST(NoiseDots, RowsDriftLeftAndWrap)
{
    Layer layer(3, 1, 4, 1); // no dots: 3 * 0 / 70
    uint32_t* row = layer->buffer.rows[0];
    const uint32_t a = 0x101010, b = 0x202020, c = 0x303030, d = 0x404040, e = 0x505050;
    row[0] = a, row[1] = b, row[2] = c, row[3] = d, row[4] = e;

    OwnedScreen frame(10, 3);
    Fill(frame.get(), 0x00FEFEFE);
    SetTarget(frame.get());
    const uint32_t before = RandomState;
    NoiseDraw(3, 2, 1);
    EXPECT_EQ(RandomState, before); // the dots only drift
    EXPECT_EQ(std::vector<uint32_t>(row, row + 5), (std::vector<uint32_t>{b, c, d, a, a}));
    // The whole buffer is drawn, spare column included: 5 columns from x = 2.
    const std::vector<uint32_t> drawn(frame.get()->rows[1], frame.get()->rows[1] + 10);
    EXPECT_EQ(drawn, (std::vector<uint32_t>{0xFEFEFE, 0xFEFEFE, HalfMix(0xFEFEFE, b), HalfMix(0xFEFEFE, c),
                                             HalfMix(0xFEFEFE, d), HalfMix(0xFEFEFE, a), HalfMix(0xFEFEFE, a),
                                             0xFEFEFE, 0xFEFEFE, 0xFEFEFE}));
    for (int i = 0; i < 3; i++)
        NoiseDraw(3, 2, 1);
    EXPECT_EQ(std::vector<uint32_t>(row, row + 4), (std::vector<uint32_t>{a, b, c, d}));
    SetTarget(nullptr);
}

TEST(NoiseOtherKinds, InertAndNeverCreatedLayersDoNothing)
{
    OwnedScreen frame(8, 8);
    Fill(frame.get(), 0x00FFFFFF);
    SetTarget(frame.get());
    SeedRandom(3);

    NoiseInit(4, 2, 100, 100);
    EXPECT_EQ(NoiseLayers[4].kind, 2);
    EXPECT_EQ(NoiseLayers[4].buffer.rows, nullptr);
    NoiseDraw(4, 0, 0);
    NoiseDraw(99, 0, 0); // never created: kind 0 and no buffer
    EXPECT_EQ(RandomState, 3u);
    EXPECT_EQ(Pixels(frame.get()), std::vector<uint32_t>(64, 0x00FFFFFF));
    NoiseLayers[4] = NoiseLayer{};
    SetTarget(nullptr);
}
