#include "raster/rotate.h"

#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "raster/blend.h"
#include "raster/blit.h"
#include "raster/mathtables.h"
#include "raster/row_transfer.h"
#include "raster_test_util.h"

namespace {

constexpr uint32_t Marker = 0x00ABCDEF;

// BlitRotated as written: the w x h picture, read from the source's top-left
// corner (only the rectangle's size counts; pixels outside the source are
// skipped), visited column by column with each type's forward mapping into a
// temporary Screen, each pixel range-checked, then one Blit of that Screen.
void ReferenceBlitRotated(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx,
                          int dy, int mode, int mirror, int type, int angle)
{
    if (type <= 0)
        return Blit(src, dst, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
    if (type >= 4)
        return;
    const int w = sx2 - sx1 + 1, h = sy2 - sy1 + 1;
    int W, H, offX, offY, u = 0;
    if (type == 1) {
        W = PolarX(angle, h) + PolarY(angle, w) + 1;
        H = PolarX(angle, w) + PolarY(angle, h) + 1;
        offX = (W - w) / 2;
        offY = (H - h) / 2;
    } else if (type == 2) {
        u = std::abs(PolarY(angle, w));
        W = w, H = h + u, offX = 0, offY = u / 2;
    } else {
        u = std::abs(PolarX(angle, h));
        W = w + u, H = h, offX = u / 2, offY = 0;
    }
    if (W <= 0 || H <= 0)
        return;
    Screen t;
    newscreen(&t, W, H);
    const int cx = (w - 1) / 2, cy = (h - 1) / 2, turn = angle % 900;
    for (int pos = 0; pos < w && pos < src->width; pos++) {
        for (int off = 0; off < h && off < src->height; off++) {
            int tx, ty;
            if (type == 1) {
                int theta, r;
                ToPolar(pos - cx, off - cy, &theta, &r);
                tx = PolarX(theta + turn, r) + W / 2;
                ty = PolarY(theta + turn, r) + H / 2;
            } else if (type == 2) {
                tx = pos;
                ty = PolarY(angle, pos) + off + (angle < 900 || angle > 2699 ? 0 : u + 1);
            } else {
                ty = off;
                tx = PolarX(angle, off) + pos + (angle < 1800 ? 0 : u + 1);
            }
            if (tx >= 0 && tx < W && ty >= 0 && ty < H)
                t.rows[ty][tx] = src->rows[off][pos];
        }
    }
    Blit(&t, dst, 0, 0, W - 1, H - 1, dx - offX, dy - offY, mode, mirror);
    FreeScreen(&t);
}

class BlitRotatedTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CalcMathTables(); }
};

// The transformed picture T of each example, W x H, row by row, with its
// top-left corner at (dx - offX, dy - offY); drawn plainly, keyed (T's
// untouched pixels let the destination show) and mirrored after the turn.
TEST_F(BlitRotatedTest, WorkedExamplesLandAtTheirOffsets)
{
    struct WorkedExample {
        int w, h, type, angle, W, H, offX, offY;
        std::vector<uint32_t> t;
    };
    const WorkedExample examples[] = {
        {3, 2, 2, 0, 3, 5, 0, 1, {1, 0, 0, 4, 2, 0, 0, 5, 3, 0, 0, 6, 0, 0, 0}},
        {3, 2, 2, 900, 3, 2, 0, 0, {0, 0, 0, 1, 2, 3}},
        {3, 2, 2, 1800, 3, 5, 0, 1, {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 6, 1, 5, 0}},
        {3, 1, 2, 1800, 3, 4, 0, 1, {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0}}, // one row: column 0 drops out
        {3, 2, 3, 0, 3, 2, 0, 0, {1, 2, 3, 4, 5, 6}},
        {3, 2, 3, 900, 5, 2, 1, 0, {1, 2, 3, 0, 0, 0, 4, 5, 6, 0}},
        {3, 2, 3, 1800, 3, 2, 0, 0, {0, 1, 2, 0, 4, 5}},
        {3, 2, 1, 0, 4, 3, 0, 0, {0, 0, 0, 0, 0, 1, 6, 3, 0, 0, 5, 0}},
        // Counter-clockwise on screen: below the centre moves to the lower
        // right; the integer radius merges 4 into the centre, and 4 wins.
        {1, 5, 1, 450, 4, 4, 1, 0, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5}},
        {3, 2, 1, 1800, 0, 0, 0, 0, {}}, // half a turn has no bounding box: nothing drawn
        {3, 2, 4, 0, 0, 0, 0, 0, {}},    // unknown types draw nothing
        {3, 2, 1000, 0, 0, 0, 0, 0, {}},
    };
    const int dx = 5, dy = 4;
    for (const WorkedExample& e : examples) {
        OwnedScreen picture(e.w, e.h);
        for (int i = 0; i < e.w * e.h; i++)
            picture.at(i % e.w, i / e.w) = uint32_t(1 + i); // numbered row by row
        for (auto [mode, mirror] : {std::pair{0, 0}, {1, 0}, {0, int(MirrorHorizontal)}}) {
            SCOPED_TRACE(testing::Message() << e.w << "x" << e.h << " type " << e.type << " angle " << e.angle
                                            << " mode " << mode << " mirror " << mirror);
            OwnedScreen dst(14, 12);
            Fill(dst.get(), Marker);
            BlitRotated(picture.get(), dst.get(), 0, 0, e.w - 1, e.h - 1, dx, dy, mode, mirror, e.type, e.angle);
            const int left = dx - e.offX, top = dy - e.offY;
            for (int y = 0; y < 12; y++) {
                for (int x = 0; x < 14; x++) {
                    const int tx = mirror ? e.W - 1 - (x - left) : x - left, ty = y - top;
                    uint32_t want = Marker;
                    if (tx >= 0 && tx < e.W && ty >= 0 && ty < e.H)
                        want = e.t[size_t(ty * e.W + tx)];
                    ASSERT_EQ(dst.at(x, y), mode == 1 && want == 0 ? Marker : want) << "at " << x << "," << y;
                }
            }
        }
    }
}

// Inverted rectangles have no pixels; pictures no Screen could hold are not
// drawn.
TEST_F(BlitRotatedTest, EmptyAndOversizedPicturesDrawNothing)
{
    OwnedScreen picture(3, 2), dst(10, 10);
    Fill(dst.get(), Marker);
    for (int type = 1; type <= 3; type++)
        BlitRotated(picture.get(), dst.get(), 2, 1, 0, 0, 3, 3, 0, 0, type, 0);
    BlitRotated(picture.get(), dst.get(), 0, 0, 70000, 1, 0, 0, 0, 0, 2, 900);
    BlitRotated(picture.get(), dst.get(), 0, 0, 40000, 40000, 0, 0, 0, 0, 2, 0);
    EXPECT_EQ(Pixels(dst.get()), std::vector<uint32_t>(100, Marker));
}

// Drawn without the temporary Screen (or with it, onto its own source), the
// result matches the literal mapping everywhere (clipping, modes, mirrors,
// rectangles off the corner or beyond the source): small pictures of every
// type, known or not, then pictures wider than the blocks of the shears.
TEST_F(BlitRotatedTest, MatchesTheLiteralMappingOnRandomCalls)
{
    std::mt19937 rng(2024);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 3300; round++) {
        const bool wide = round >= 3000;
        const int type = wide ? 2 + round % 2 : round % 7 < 6 ? 1 + round % 3 : pick(-1, 5);
        const int srcW = wide ? pick(60, 300) : pick(1, 40), srcH = wide ? pick(1, 120) : pick(1, 40);
        OwnedScreen src(srcW, srcH);
        FillRandom(src.get(), rng);
        // Mostly inside the source; sometimes wider or taller than it.
        const int w = wide ? srcW : pick(1, srcW + (round % 7 == 0 ? 10 : 0));
        const int h = wide ? srcH : pick(1, srcH + (round % 11 == 0 ? 10 : 0));
        const int sx = wide ? 0 : pick(0, 3), sy = wide ? 0 : pick(0, 3);
        int angle = type == 1 ? pick(0, 899) : pick(0, 3599);
        if (round % 13 == 0 && !wide)
            angle = pick(-4000, 8000); // beyond the documented ranges
        const int dstW = wide ? pick(50, 260) : pick(1, 60), dstH = wide ? pick(50, 200) : pick(1, 60);
        const int dx = pick(wide ? -150 : -60, dstW + 10), dy = pick(wide ? -100 : -60, dstH + 10);
        const int mode = round % 4 == 0 ? 0 : pick(-1, 41);
        const int mirror = pick(-1, 7);

        OwnedScreen a(dstW, dstH), b(dstW, dstH);
        FillRandom(a.get(), rng);
        CopyRect(a.get(), b.get(), 0, 0, dstW - 1, dstH - 1, 0, 0);
        // One call in five draws the destination onto itself: the picture as it was before the call.
        const bool onto = round % 5 == 4;
        BlitRotated(onto ? a.get() : src.get(), a.get(), sx, sy, sx + w - 1, sy + h - 1, dx, dy, mode, mirror, type, angle);
        ReferenceBlitRotated(onto ? b.get() : src.get(), b.get(), sx, sy, sx + w - 1, sy + h - 1, dx, dy, mode, mirror,
                             type, angle);
        ASSERT_EQ(Pixels(a.get()), Pixels(b.get()))
            << "type " << type << " angle " << angle << " picture " << w << "x" << h << " from " << sx << ","
            << sy << " at " << dx << "," << dy << " mode " << mode << " mirror " << mirror << (onto ? " onto itself" : "");
    }
}

// Every kernel set places every point within the polar table's reach where
// ToPolar and the sine and cosine tables put it, turned either way, on a
// picture small enough that many points fall outside.
TEST_F(BlitRotatedTest, EveryKernelSetPlacesEveryPointOfThePolarTable)
{
    constexpr int reach = PolarTableReach, W = 1501, H = 1100;
    for (int turn : {-899, 0, 451}) {
        uint32_t sinCos[3601];
        for (int theta = 0; theta <= 3600; theta++) {
            const int a = ((theta + turn) % 3600 + 3600) % 3600;
            sinCos[theta] = uint32_t(uint16_t(SinTable[a])) | uint32_t(CosTable[a]) << 16;
        }
        std::vector<uint32_t> want(2 * reach + 1), got(2 * reach + 1);
        for (int x = -reach; x <= reach; x++) {
            for (int y = -reach; y <= reach; y++) {
                int theta, r;
                ToPolar(x, y, &theta, &r);
                const int a = ((theta + turn) % 3600 + 3600) % 3600;
                const int tx = r * SinTable[a] / 10000 + W / 2, ty = r * CosTable[a] / 10000 + H / 2;
                want[size_t(y + reach)] = tx >= 0 && tx < W && ty >= 0 && ty < H ? uint32_t(ty * W + tx) : W * H;
            }
            const uint32_t* column = PolarTableColumn(std::abs(x), PolarTableReach);
            for (const RowKernelSet* set : UsableRowKernelSets()) {
                set->rotatedOffsets(column + reach, -1, reach + 1, PolarQuadrantOf(x > 0, false), sinCos, W, H,
                                    got.data());
                set->rotatedOffsets(column + 1, 1, reach, PolarQuadrantOf(x > 0, true), sinCos, W, H,
                                    got.data() + reach + 1);
                ASSERT_EQ(got, want) << set->name << " x " << x << " turn " << turn;
            }
        }
    }
}

// Pictures whose points reach just as far as the polar table, corners
// included, and one point further, where polar forms are worked out anew.
TEST_F(BlitRotatedTest, RotationAtAndBeyondThePolarTableReach)
{
    std::mt19937 rng(7);
    const int side = 2 * PolarTableReach + 1, centre = 1050;
    OwnedScreen a(2 * centre, 2 * centre), b(2 * centre, 2 * centre);
    struct Case { int w, h, angle; };
    for (auto [w, h, angle] : {Case{side, 3, 7}, {side, 4, 450}, {side + 1, 3, 7}, {side + 1, 4, 899},
                               {4, side, 7}, {3, side, 450}, {3, side + 1, 7}, {4, side + 1, 899},
                               {side, side, 899}}) {
        OwnedScreen src(w, h);
        FillRandom(src.get(), rng);
        Fill(a.get(), Marker);
        Fill(b.get(), Marker);
        const int mode = angle & 1, dx = centre - w / 2, dy = centre - h / 2;
        BlitRotated(src.get(), a.get(), 0, 0, w - 1, h - 1, dx, dy, mode, 0, 1, angle);
        ReferenceBlitRotated(src.get(), b.get(), 0, 0, w - 1, h - 1, dx, dy, mode, 0, 1, angle);
        ASSERT_EQ(Pixels(a.get()), Pixels(b.get())) << w << "x" << h << " angle " << angle;
    }
}

} // namespace
