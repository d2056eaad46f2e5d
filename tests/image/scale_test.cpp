#include <gtest/gtest.h>

#include "image/image_test_util.h"
#include "image/imagebank.h"
#include "raster/mathtables.h"
#include "raster/rotate.h"
#include "raster/scale.h"

namespace {

// The resampling loops exactly as the drawing rules state them: each source
// row is copied to its own copy row and repeated up to the next one's, each
// source pixel written to its own column and repeated up to the next one's.
void ReferenceResample(const Screen* src, Screen* copy)
{
    const int sw = src->width, sh = src->height, W = copy->width, H = copy->height;
    const auto c = [&](int j) { return (j * W) / sw; };
    const auto r = [&](int i) { return (i * H) / sh; };
    const auto rowCopy = [&](int i, int t) {
        for (int j = 0; j < sw; j++) {
            copy->rows[t][c(j)] = src->rows[i][j];
            if (c(j + 1) > c(j) + 1)
                for (int k = c(j); k < c(j + 1); k++)
                    copy->rows[t][k] = src->rows[i][j];
        }
    };
    for (int i = 0; i < sh; i++) {
        rowCopy(i, r(i));
        if (r(i + 1) > r(i) + 1)
            for (int t = r(i); t < r(i + 1); t++)
                rowCopy(i, t);
    }
}

// BlitScaled as the drawing rules state it: a whole resized copy, then
// BlitRotated.
void ReferenceBlitScaled(int slot, int x, int y, int W, int H, int mode, int mirror, int type, int angle)
{
    W = W < 0 ? 1 : W;
    H = H < 0 ? 1 : H;
    Screen copy;
    newscreen(&copy, W, H);
    ReferenceResample(&ImageBank[slot].image, &copy);
    BlitRotated(&copy, CurrentTarget, 0, 0, W - 1, H - 1, x - W / 2, y - H / 2, mode, mirror, type, angle);
    FreeScreen(&copy);
}

// A one-row picture of the given pixels.
std::vector<uint32_t> ResizedRow(const std::vector<uint32_t>& row, int W)
{
    OwnedScreen src(int(row.size()), 1), copy(W, 1);
    std::copy(row.begin(), row.end(), src.get()->rows[0]);
    ResampleNearest(src.get(), copy.get());
    return Pixels(copy.get());
}

struct SlotPicture {
    int slot;
    SlotPicture(int slot, int w, int h, std::mt19937& rng) : slot(slot)
    {
        newscreen(&ImageBank[slot].image, w, h);
        FillRandom(&ImageBank[slot].image, rng);
    }
    ~SlotPicture()
    {
        FreeScreen(&ImageBank[slot].image);
        ImageBank[slot] = ImageSlot{};
    }
};

constexpr uint32_t A = 0xA, B = 0xB, C = 0xC, D = 0xD;

} // namespace

TEST(ScaleResample, RowExamples)
{
    EXPECT_EQ(ResizedRow({A, B}, 5), (std::vector<uint32_t>{A, A, B, B, B}));
    EXPECT_EQ(ResizedRow({A, B, C}, 7), (std::vector<uint32_t>{A, A, B, B, C, C, C}));
    EXPECT_EQ(ResizedRow({A, B, C, D}, 2), (std::vector<uint32_t>{B, D})); // the last of each pair
    EXPECT_EQ(ResizedRow({A, B, C, D}, 1), (std::vector<uint32_t>{D}));
    EXPECT_EQ(ResizedRow({A, B, C, D}, 4), (std::vector<uint32_t>{A, B, C, D}));
}

TEST(ScaleResample, RowsBehaveAsColumns)
{
    // 3x2 picture, pixel (column, row) = 10 * row + column.
    OwnedScreen src(3, 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            src.at(x, y) = uint32_t(10 * y + x);
    OwnedScreen up(6, 4), down(2, 1);
    ResampleNearest(src.get(), up.get());
    ResampleNearest(src.get(), down.get());
    EXPECT_EQ(Pixels(up.get()), (std::vector<uint32_t>{0, 0, 1, 1, 2, 2, 0, 0, 1, 1, 2, 2, //
                                                       10, 10, 11, 11, 12, 12, 10, 10, 11, 11, 12, 12}));
    EXPECT_EQ(Pixels(down.get()), (std::vector<uint32_t>{11, 12}));
}

TEST(ScaleResample, MatchesTheWrittenLoopsForEverySize)
{
    std::mt19937 rng(11);
    const auto check = [&](int sw, int sh, int W, int H) {
        OwnedScreen src(sw, sh), fast(W, H), slow(W, H);
        FillRandom(src.get(), rng);
        ResampleNearest(src.get(), fast.get());
        ReferenceResample(src.get(), slow.get());
        ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get())) << sw << "x" << sh << " to " << W << "x" << H;
    };
    for (int sw = 1; sw <= 9; sw++)
        for (int sh = 1; sh <= 4; sh++)
            for (int W = 1; W <= 19; W++)
                for (int H = 1; H <= 5; H++)
                    check(sw, sh, W, H);
    for (auto [sw, sh, W, H] : {std::array{200, 100, 400, 200}, {800, 400, 400, 200}, {37, 91, 333, 17},
                                {640, 3, 7, 650}, {1, 1, 301, 3}})
        check(sw, sh, W, H);
}

TEST(ScaleResample, EveryPixelOfTheCopyIsFilled)
{
    OwnedScreen src(7, 5);
    Fill(src.get(), 0x00010203);
    for (auto [W, H] : {std::pair{7, 5}, {50, 3}, {3, 50}, {1, 1}, {13, 11}}) {
        OwnedScreen copy(W, H);
        ResampleNearest(src.get(), copy.get());
        EXPECT_EQ(Pixels(copy.get()), std::vector<uint32_t>(size_t(W * H), 0x00010203u)) << W << "x" << H;
    }
}

TEST(ScaleBlit, PlacementCentresTheCopy)
{
    std::mt19937 rng(3);
    SlotPicture picture(40, 3, 3, rng);
    Fill(&ImageBank[40].image, 0x00FFFFFF);
    OwnedScreen frame(40, 40);
    SetTarget(frame.get());
    const auto box = [&] {
        int x1 = 99, y1 = 99, x2 = -1, y2 = -1;
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 40; x++)
                if (frame.at(x, y)) {
                    x1 = std::min(x1, x), y1 = std::min(y1, y), x2 = std::max(x2, x), y2 = std::max(y2, y);
                }
        Fill(frame.get(), 0);
        return std::array{x1, y1, x2, y2};
    };
    BlitScaled(40, 20, 20, 7, 8, 0, 0, 0, 0);
    EXPECT_EQ(box(), (std::array{17, 16, 23, 23})); // left at x - 3, top at y - 4
    BlitScaled(40, 20, 20, -5, 4, 0, 0, 0, 0);
    EXPECT_EQ(box(), (std::array{20, 18, 20, 21})); // 1 wide, W / 2 = 0
    BlitScaled(40, 20, 20, 6, -1, 0, 0, 0, 0);
    EXPECT_EQ(box(), (std::array{17, 20, 22, 20}));
    SetTarget(nullptr);
}

TEST(ScaleBlit, EmptySlotScalesToBlack)
{
    OwnedScreen frame(20, 20);
    SetTarget(frame.get());
    for (int mode : {0, 1, 2, 3}) {
        Fill(frame.get(), 0x00FFFFFF);
        BlitScaled(998, 10, 10, 10, 10, mode, 0, 0, 0);
        const uint32_t inside = mode == 0 ? 0 : mode == 2 ? 0x007F7F7F : 0x00FFFFFF;
        EXPECT_EQ(frame.at(5, 5), inside) << mode;
        EXPECT_EQ(frame.at(14, 14), inside) << mode;
        EXPECT_EQ(frame.at(4, 5), 0x00FFFFFFu) << mode;
        EXPECT_EQ(frame.at(15, 14), 0x00FFFFFFu) << mode;
    }
    SetTarget(nullptr);
}

// Every way BlitScaled draws gives the pixels of the whole copy made by the
// written loops and placed by BlitRotated: each blend mode, clipped on each
// side, enlarged and shrunk, with and without mirror and transformation.
TEST(ScaleBlit, MatchesTheCopyAndBlitReference)
{
    CalcMathTables();
    std::mt19937 rng(17);
    SlotPicture picture(41, 13, 7, rng);
    OwnedScreen fast(50, 40), slow(50, 40);
    FillRandom(fast.get(), rng);
    const auto sync = [&] {
        for (int y = 0; y < 40; y++)
            std::copy(fast.get()->rows[y], fast.get()->rows[y] + 50, slow.get()->rows[y]);
    };
    const auto both = [&](int x, int y, int W, int H, int mode, int mirror, int type, int angle) {
        sync();
        SetTarget(fast.get());
        BlitScaled(41, x, y, W, H, mode, mirror, type, angle);
        SetTarget(slow.get());
        ReferenceBlitScaled(41, x, y, W, H, mode, mirror, type, angle);
        ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get()))
            << "at " << x << "," << y << " size " << W << "x" << H << " mode " << mode << " mirror " << mirror
            << " type " << type;
    };
    for (int mode = -1; mode <= 41; mode++)
        for (auto [x, y] : {std::pair{25, 20}, {2, 3}, {48, 38}, {-10, 20}, {60, 20}, {25, -12}, {25, 52}})
            for (auto [W, H] : {std::pair{26, 21}, {5, 3}, {13, 14}, {-3, 9}, {40, -2}})
                both(x, y, W, H, mode, 0, 0, 0);
    for (int mirror : {-1, 1, 2, 3, 4})
        both(20, 15, 20, 9, 1, mirror, 0, 0);
    for (auto [type, angle] : {std::pair{-1, 0}, {1, 300}, {2, 450}, {3, 2000}, {4, 0}})
        both(20, 15, 17, 11, 2, 0, type, angle);
    both(20, 15, 17, 11, 3, 1, 3, 900);
    SetTarget(nullptr);
}
