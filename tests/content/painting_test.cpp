// The generator's painting helpers: flattening for each role, shapes, text.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

#include "contentgen/font.h"
#include "contentgen/picture.h"
#include "contentgen/shapes.h"
#include "contentgen/soundtrack.h"

namespace {

TEST(Flatten, OpaquePicturesNeverKeepPureBlack)
{
    Canvas c = NewCanvas(2, 1);
    FillCanvas(c, [](int x, int) { return x == 0 ? Colour{0, 0, 0} : Colour{1.0f, 0.5f, 0.0f}; });
    Picture p = FlattenOpaque(c);
    EXPECT_EQ(p.pixels[0], 0x010101u);
    EXPECT_EQ(p.pixels[1], 0xFF8000u);
}

TEST(Flatten, KeyedSpritesKeepHalfCoveredPixelsAtFullColour)
{
    Canvas c = NewCanvas(3, 1);
    Blend(c, 0, 0, Colour{1, 0, 0}, 0.49f); // less than half: background
    Blend(c, 1, 0, Colour{0, 0, 1}, 0.5f);  // an edge pixel keeps its colour
    Blend(c, 2, 0, Colour{0, 0, 0}, 1.0f);  // black ink must stay visible
    Picture p = FlattenKeyed(c);
    EXPECT_EQ(p.pixels[0], 0u);
    EXPECT_EQ(p.pixels[1], 0x0000FFu);
    EXPECT_EQ(p.pixels[2], 0x010101u);
}

TEST(Flatten, KeyedSpritesCloseALoneHoleButNotTheBorderOrAnOpening)
{
    // A 5x5 block covered except the centre, a pixel on the border and a
    // notch two pixels wide.
    Canvas c = NewCanvas(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            if (!(x == 2 && y == 2) && !(x == 0 && y == 2) && !(y == 0 && (x == 1 || x == 2)))
                Blend(c, x, y, Colour{0, 1, 0}, 1.0f);
    Picture p = FlattenKeyed(c);
    EXPECT_EQ(p.pixels[2 * 5 + 2], 0x00FF00u);
    EXPECT_EQ(p.pixels[2 * 5 + 0], 0u);
    EXPECT_EQ(p.pixels[0 * 5 + 1], 0u);
    EXPECT_EQ(p.pixels[0 * 5 + 2], 0u);
}

TEST(Shapes, PolygonDistanceIsNegativeInsideWhateverTheWinding)
{
    const float clockwise[] = {0, 0, 10, 0, 10, 10, 0, 10};
    const float counter[] = {0, 0, 0, 10, 10, 10, 10, 0};
    for (const float* square : {clockwise, counter}) {
        EXPECT_FLOAT_EQ(PolygonDistance(5, 5, square, 4), -5.0f);
        EXPECT_FLOAT_EQ(PolygonDistance(5, 13, square, 4), 3.0f);
        EXPECT_FLOAT_EQ(PolygonDistance(13, 14, square, 4), 5.0f); // to the corner
    }
}

TEST(Shapes, StarTipsAndNotchesLieOnTheirRadii)
{
    EXPECT_NEAR(StarDistance(50, 20, 50, 50, 30, 12, 5, 0.0f), 0.0f, 1e-3f); // the top tip
    EXPECT_LT(StarDistance(50, 50, 50, 50, 30, 12, 5, 0.0f), -10.0f);
    const float a = TwoPi / 10.0f; // first notch, between the first two tips
    EXPECT_NEAR(StarDistance(50 + std::sin(a) * 12, 50 - std::cos(a) * 12, 50, 50, 30, 12, 5, 0.0f), 0.0f, 1e-3f);
}

TEST(Shapes, PaintShapeCoversInsideFullyAndOutsideNot)
{
    Canvas c = NewCanvas(20, 20);
    PaintShape(c, [](float x, float y) { return CircleDistance(x, y, 10, 10, 6); }, [](int, int) { return Colour{1, 1, 1}; });
    EXPECT_FLOAT_EQ(c.alpha[10 * 20 + 10], 1.0f);
    EXPECT_FLOAT_EQ(c.alpha[0], 0.0f);
    // A pixel the rim crosses, off the diagonal centre by 0.36, is partly covered.
    float rim = c.alpha[14 * 20 + 14];
    EXPECT_GT(rim, 0.0f);
    EXPECT_LT(rim, 1.0f);
}

class FontTest : public testing::Test {
protected:
    void SetUp() override { OpenFont(); }
    void TearDown() override { CloseFont(); }
};

bool InkOnBorder(const Mask& m, int inset)
{
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if ((x < inset || y < inset || x >= m.width - inset || y >= m.height - inset) && MaskAt(m, x, y) > 0.0f)
                return true;
    return false;
}

TEST_F(FontTest, TextFittedToABoxFillsItWithoutOverflowing)
{
    Mask m = RenderTextToFit("NO LIMITS", 700, 90, 4);
    EXPECT_LE(m.width, 700 + 8);
    EXPECT_LE(m.height, 90 + 8);
    EXPECT_GT(m.width, 600); // a long line is limited by the width...
    Mask tall = RenderTextToFit("I", 700, 90, 0);
    EXPECT_GT(tall.height, 80); // ...a single letter by the height
    EXPECT_FALSE(InkOnBorder(m, 4));
}

TEST_F(FontTest, GlyphCellsLeaveRoomForTheOutline)
{
    for (char c : {'M', 'm', 'W', 'i', 'p'}) {
        Mask m = RenderGlyphCell(c, 38, 36, 44, 33);
        EXPECT_EQ(m.width, 36);
        EXPECT_EQ(m.height, 44);
        EXPECT_FALSE(InkOnBorder(m, 3)) << c;
        EXPECT_FALSE(InkOnBorder(DilateMask(m, 1.8f), 1)) << c;
    }
}

TEST(SoundtrackPlan, SectionsFollowTheTimelineWithinAFewPercentOfTheTempo)
{
    ASSERT_EQ(SectionStarts[0], 0);
    EXPECT_EQ(SectionStarts[std::size(SectionStarts) - 1], 13346); // the show's last clock value + 1
    for (size_t i = 0; i + 1 < std::size(SectionStarts); ++i) {
        ASSERT_LT(SectionStarts[i], SectionStarts[i + 1]);
        // The whole number of sixteenths nearest to the length keeps the
        // tempo within 4 percent of the nominal one.
        const double seconds = (SectionStarts[i + 1] - SectionStarts[i]) / 100.0;
        const double steps = std::round(seconds / NominalStep);
        EXPECT_LT(std::abs(seconds / steps / NominalStep - 1.0), 0.04) << "section from " << SectionStarts[i];
    }
}

} // namespace
