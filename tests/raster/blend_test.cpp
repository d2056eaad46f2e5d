#include <gtest/gtest.h>

#include "raster/blend.h"
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

} // namespace
