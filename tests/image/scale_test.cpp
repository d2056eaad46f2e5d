#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "image/image_test_util.h"
#include "image/imagebank.h"
#include "raster/blend.h"
#include "raster/mathtables.h"
#include "raster/rotate.h"
#include "raster/scale.h"

namespace {

// The written loops: each source row and pixel lands on its own place and
// repeats up to the next one's.
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

} // namespace

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
                                {640, 3, 7, 650}})
        check(sw, sh, W, H);
}

// DrawSlot at a size draws the written loops' copy by BlitRotated at
// (x - W / 2, y - H / 2), sizes below 0 taken as 1, and at its own size when
// either is 0 (the hotspot is the centre), in every mode and clip.
TEST(ScaleBlit, DrawSlotMatchesTheCopyAndBlitReference)
{
    CalcMathTables();
    std::mt19937 rng(17);
    TestSlot picture(41, 13, 7, &rng);
    OwnedScreen fast(50, 40), slow(50, 40);
    FillRandom(fast.get(), rng);
    const auto both = [&](int x, int y, int W, int H, int mode, int mirror, int type, int angle) {
        CopyRect(fast.get(), slow.get(), 0, 0, 49, 39, 0, 0);
        SetTarget(fast.get());
        DrawSlot(41, x, y, mode, mirror, W, H, type, angle);
        const bool natural = W == 0 || H == 0;
        const int w = natural ? 13 : std::max(W, 1), h = natural ? 7 : std::max(H, 1);
        OwnedScreen copy(w, h);
        ReferenceResample(&picture.image(), copy.get());
        BlitRotated(copy.get(), slow.get(), 0, 0, w - 1, h - 1, x - w / 2, y - h / 2, mode, mirror, type, angle);
        ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get()))
            << "at " << x << "," << y << " size " << W << "x" << H << " mode " << mode << " mirror " << mirror
            << " type " << type;
    };
    for (int mode = -1; mode <= 41; mode++)
        for (auto [x, y] : {std::pair{25, 20}, {2, 3}, {48, 38}, {-10, 20}, {60, 20}, {25, -12}, {25, 52}})
            for (auto [W, H] : {std::pair{26, 21}, {5, 3}, {13, 14}, {-3, 9}, {40, -2}, {0, 9}, {30, 0}})
                both(x, y, W, H, mode, 0, 0, 0);
    for (int mirror : {-1, 1, 2, 3, 4})
        both(20, 15, 20, 9, 1, mirror, 0, 0);
    for (auto [type, angle] : {std::pair{-1, 0}, {1, 300}, {2, 450}, {3, 2000}, {4, 0}})
        for (auto [W, H] : {std::pair{17, 11}, {0, 0}})
            both(20, 15, W, H, 2, 0, type, angle);
    SetTarget(nullptr);
}
