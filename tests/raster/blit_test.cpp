#include <gtest/gtest.h>

#include <climits>

#include "raster/blend.h"
#include "raster/blit.h"
#include "raster_test_util.h"

namespace {

// Every edge, corner, mirror and mode, rectangles inverted or off the source,
// some mirrored onto their own Screen (rows are heap blocks: ASan sees strays);
// unmirrored ones also through CopyRect and BlendRect, which clip on their own
// (also at the ends of the int range) and draw nothing outside modes 1-39.
TEST(Blit, BlitCopyRectAndBlendRectMatchTheReferenceEverywhere)
{
    std::mt19937 rng(7);
    OwnedScreen src(13, 9), dst(17, 11), want(17, 11), self(13, 9), selfWant(13, 9);
    FillRandom(src.get(), rng);
    for (int trial = 0; trial < 20000; trial++) {
        const int mirror = int(rng() % 6) - 1, mode = int(rng() % 44) - 2;
        int sx1 = int(rng() % 30) - 15, sx2 = sx1 + int(rng() % 30) - 1;
        int sy1 = int(rng() % 20) - 10, sy2 = sy1 + int(rng() % 20) - 1;
        if (trial % 2) { // inside the source, where a mirrored row is read in place
            sx1 = int(rng() % 13), sx2 = sx1 + int(rng() % (13 - sx1));
            sy1 = int(rng() % 9), sy2 = sy1 + int(rng() % (9 - sy1));
        }
        int dx = int(rng() % 50) - 25, dy = int(rng() % 36) - 18;
        const bool onto = mirror > 0 && trial % 4 == 0, direct = mirror <= 0 && trial % 3 == 0;
        if (direct && trial % 2) {
            int* const values[] = {&sx1, &sy1, &sx2, &sy2, &dx, &dy};
            *values[rng() % 6] = rng() % 2 ? INT_MIN : INT_MAX;
        }
        Screen *from = onto ? self.get() : src.get(), *to = onto ? self.get() : dst.get();
        Screen* reference = onto ? selfWant.get() : want.get();
        FillRandom(to, rng);
        CopyRect(to, reference, 0, 0, to->width - 1, to->height - 1, 0, 0);
        if (!direct)
            Blit(from, to, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        else
            BlendRect(from, to, sx1, sy1, sx2, sy2, dx, dy, mode);
        if (direct && mode == 0)
            CopyRect(from, to, sx1, sy1, sx2, sy2, dx, dy);
        ReferenceBlit(onto ? reference : from, reference, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        ASSERT_EQ(Pixels(to), Pixels(reference)) << "trial " << trial;
    }
}

} // namespace
