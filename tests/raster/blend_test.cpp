#include <gtest/gtest.h>

#include <climits>

#include "raster/blend.h"
#include "raster/blit.h"
#include "raster/row_transfer.h"
#include "raster_test_util.h"

namespace {

// Every kernel set, mode and reading direction against the rules: random rows
// around the vector chunk lengths; grey rows meeting every channel pair (every
// third source one off in blue: grey 0 but not black); a row onto itself shifted.
TEST(Blend, EveryKernelSetMatchesTheRules)
{
    std::mt19937 rng(42);
    OwnedScreen row(1300, 1);
    const int counts[] = {1, 7, 255, 256, 257, 600}, shifts[] = {-9, -1, 1, 3, 9};
    for (const RowKernelSet* set : UsableRowKernelSets())
        for (int mode = 0; mode < 40; mode++)
            for (int step : {1, -1})
                for (int round = 0; round < 6 + 256 + 5; round++) {
                    int from = 650, to = 20, count = 256;
                    if (round < 6) {
                        FillRandom(row.get(), rng);
                        count = counts[round];
                    } else if (round < 6 + 256) {
                        for (int i = 0; i < 256; i++) {
                            row.at(from + i, 0) = uint32_t((round + i) & 255) * 0x010101u ^ (i % 3 == 0);
                            row.at(to + i, 0) = uint32_t(i) * 0x010101u;
                        }
                    } else {
                        FillRandom(row.get(), rng);
                        to = 50, from = to + shifts[round - 6 - 256], count = 300;
                    }
                    const auto before = Pixels(row.get());
                    auto want = before;
                    const int first = from + (step > 0 ? 0 : count - 1);
                    for (int i = 0; i < count; i++) {
                        const size_t s = size_t(first + i * step);
                        uint32_t& d = want[size_t(to + i)];
                        d = ReferenceBlend(mode, mode == 0 && step > 0 ? before[s] : want[s], d);
                    }
                    const RowTransfer kernel = (step > 0 ? set->forward : set->reverse)[size_t(mode)];
                    kernel(row->rows[0] + first, row->rows[0] + to, count);
                    ASSERT_EQ(Pixels(row.get()), want) << set->name << " mode " << mode << " step " << step
                                                       << " round " << round;
                }
}

// Every edge, corner, mirror and mode, rectangles inverted or off the source,
// some mirrored onto their own Screen (rows are heap blocks: ASan sees strays);
// unmirrored ones also through CopyRect and BlendRect, which clip on their own
// and draw nothing outside modes 1-39; unmirrored corners at the ends of the int range.
TEST(Blit, BlitCopyRectAndBlendRectMatchTheReferenceEverywhere)
{
    std::mt19937 rng(7);
    OwnedScreen src(13, 9), dst(17, 11), want(17, 11), self(13, 9), selfWant(13, 9);
    FillRandom(src.get(), rng);
    for (int trial = 0; trial < 20000; trial++) {
        const int mirror = int(rng() % 6) - 1, mode = trial % 5 ? int(rng() % 44) - 2 : 0;
        int sx1 = int(rng() % 30) - 15, sx2 = sx1 + int(rng() % 30) - 1;
        int sy1 = int(rng() % 20) - 10, sy2 = sy1 + int(rng() % 20) - 1;
        if (trial % 2) { // inside the source, where a mirrored row is read in place
            sx1 = int(rng() % 13), sx2 = sx1 + int(rng() % (13 - sx1));
            sy1 = int(rng() % 9), sy2 = sy1 + int(rng() % (9 - sy1));
        }
        int dx = int(rng() % 50) - 25, dy = int(rng() % 36) - 18;
        const bool onto = mirror > 0 && trial % 4 == 0, direct = mirror <= 0 && trial % 3 == 0;
        if (mirror <= 0 && trial % 2) {
            int* const values[] = {&sx1, &sy1, &sx2, &sy2, &dx, &dy};
            *values[rng() % 6] = rng() % 2 ? INT_MIN : INT_MAX;
        }
        Screen *from = onto ? self.get() : src.get(), *to = onto ? self.get() : dst.get();
        Screen* reference = onto ? selfWant.get() : want.get();
        FillRandom(to, rng);
        CopyRect(to, reference, 0, 0, to->width - 1, to->height - 1, 0, 0);
        const bool blendZero = direct && mode == 0 && trial % 4 == 0;
        if (!direct)
            Blit(from, to, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        else if (mode == 0 && !blendZero)
            CopyRect(from, to, sx1, sy1, sx2, sy2, dx, dy);
        else
            BlendRect(from, to, sx1, sy1, sx2, sy2, dx, dy, mode);
        ReferenceBlit(onto ? reference : from, reference, sx1, sy1, sx2, sy2, dx, dy, blendZero ? -1 : mode,
                      mirror);
        ASSERT_EQ(Pixels(to), Pixels(reference)) << "trial " << trial;
    }
}

} // namespace
