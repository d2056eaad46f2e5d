// The generator: its painting helpers (flattening for each role, shapes,
// text), the soundtrack's plan, its writers, its determinism and its fatal path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <random>

#include "common/png_read.h"
#include "content/content_test_util.h"
#include "contentgen/font.h"
#include "contentgen/generate.h"
#include "contentgen/icon.h"
#include "contentgen/picture.h"
#include "contentgen/png_write.h"
#include "contentgen/shapes.h"
#include "contentgen/soundtrack.h"
#include "contentgen/tga_write.h"

#ifndef TARVEL_CONTENTGEN
#error "TARVEL_CONTENTGEN must name the generator program"
#endif

namespace {

TEST(Flatten, OpaquePicturesNeverKeepPureBlackAndKeyedSpritesKeepHalfCoveredPixelsAtFullColour)
{
    Canvas opaque = NewCanvas(2, 1);
    FillCanvas(opaque, [](int x, int) { return x == 0 ? Colour{0, 0, 0} : Colour{1.0f, 0.5f, 0.0f}; });
    EXPECT_EQ(FlattenOpaque(opaque).pixels, (std::vector<uint32_t>{0x010101, 0xFF8000}));

    Canvas keyed = NewCanvas(3, 1);
    Blend(keyed, 0, 0, Colour{1, 0, 0}, 0.49f); // less than half: background
    Blend(keyed, 1, 0, Colour{0, 0, 1}, 0.5f);  // an edge pixel keeps its colour
    Blend(keyed, 2, 0, Colour{0, 0, 0}, 1.0f);  // black ink must stay visible
    EXPECT_EQ(FlattenKeyed(keyed).pixels, (std::vector<uint32_t>{0, 0x0000FF, 0x010101}));
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
    const Picture p = FlattenKeyed(c);
    EXPECT_EQ(p.pixels[2 * 5 + 2], 0x00FF00u);
    EXPECT_EQ(p.pixels[2 * 5 + 0], 0u);
    EXPECT_EQ(p.pixels[0 * 5 + 1], 0u);
    EXPECT_EQ(p.pixels[0 * 5 + 2], 0u);
}

TEST(Shapes, DistancesAreNegativeInsideWhateverTheWindingAndPaintingCoversInsideFully)
{
    const float clockwise[] = {0, 0, 10, 0, 10, 10, 0, 10};
    const float counter[] = {0, 0, 0, 10, 10, 10, 10, 0};
    for (const float* square : {clockwise, counter}) {
        EXPECT_FLOAT_EQ(PolygonDistance(5, 5, square, 4), -5.0f);
        EXPECT_FLOAT_EQ(PolygonDistance(5, 13, square, 4), 3.0f);
        EXPECT_FLOAT_EQ(PolygonDistance(13, 14, square, 4), 5.0f); // to the corner
    }
    // A star's tips and notches lie on their radii.
    EXPECT_NEAR(StarDistance(50, 20, 50, 50, 30, 12, 5, 0.0f), 0.0f, 1e-3f); // the top tip
    EXPECT_LT(StarDistance(50, 50, 50, 50, 30, 12, 5, 0.0f), -10.0f);
    const float a = TwoPi / 10.0f; // first notch, between the first two tips
    EXPECT_NEAR(StarDistance(50 + std::sin(a) * 12, 50 - std::cos(a) * 12, 50, 50, 30, 12, 5, 0.0f), 0.0f, 1e-3f);

    Canvas c = NewCanvas(20, 20);
    PaintShape(
        c, [](float x, float y) { return CircleDistance(x, y, 10, 10, 6); }, [](int, int) { return Colour{1, 1, 1}; });
    EXPECT_FLOAT_EQ(c.alpha[10 * 20 + 10], 1.0f);
    EXPECT_FLOAT_EQ(c.alpha[0], 0.0f);
    // A pixel the rim crosses, off the diagonal centre by 0.36, is partly covered.
    EXPECT_GT(c.alpha[14 * 20 + 14], 0.0f);
    EXPECT_LT(c.alpha[14 * 20 + 14], 1.0f);
}

bool InkOnBorder(const Mask& m, int inset)
{
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if ((x < inset || y < inset || x >= m.width - inset || y >= m.height - inset) && MaskAt(m, x, y) > 0.0f)
                return true;
    return false;
}

TEST(Font, TextFittedToABoxFillsItWithoutOverflowing)
{
    // Letter cells are checked in the generated letters themselves.
    OpenFont();
    const Mask m = RenderTextToFit("NO LIMITS", 700, 90, 4);
    EXPECT_LE(m.width, 700 + 8);
    EXPECT_LE(m.height, 90 + 8);
    EXPECT_GT(m.width, 600);                                // a long line is limited by the width...
    EXPECT_GT(RenderTextToFit("I", 700, 90, 0).height, 80); // ...a single letter by the height
    EXPECT_FALSE(InkOnBorder(m, 4));
    CloseFont();
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

std::filesystem::path TempPath(const std::string& leaf)
{
    return std::filesystem::temp_directory_path() / ("tarvel-content-" + std::to_string(getpid()) + "-" + leaf);
}

// A 3x2 picture whose every pixel differs, including a black one.
const Picture Small{3, 2, {0x00112233, 0x00000000, 0x00FF0080, 0x00010203, 0x00A0B0C0, 0x00FFFFFF}};

TEST(TgaWriter, EveryLayoutReadsBackThroughTheShowsReader)
{
    const std::filesystem::path path = TempPath("layout.tga");
    for (int depth : {24, 32})
        for (bool topDown : {false, true})
            for (const char* id : {static_cast<const char*>(nullptr), "tarvel"}) {
                const std::vector<uint8_t> bytes = EncodeTga(Small, TgaFormat{depth, topDown, id});
                WriteBytes(path.string(), bytes);
                const Decoded read = ReadWithShowReader(path.c_str());
                EXPECT_EQ(std::make_pair(read.width, read.height), std::make_pair(3, 2));
                EXPECT_EQ(read.data, Small.pixels) << depth << " bits, top-down " << topDown;
                if (depth == 32 && topDown && !id) {
                    ASSERT_EQ(bytes.size(), 18u + 6 * 4);
                    EXPECT_EQ(bytes[17], 0x28); // top-down rows, eight alpha bits
                    EXPECT_EQ(bytes[18 + 3], 255);
                    EXPECT_EQ(bytes[18 + 4 + 3], 0); // the black pixel's alpha follows the key colour
                }
            }
    std::filesystem::remove(path);
}

// Tiny pictures, single rows and columns, and frames of random pixels (top
// bytes set too: RGB drops them, RGBA keeps them as alpha) whose rows lie
// further apart than their width: the "up" filter meets every difference
// between neighbouring bytes, wrapping ones included.
TEST(PngWriter, LibpngDecodesExactlyThePixelsWritten)
{
    std::mt19937 rng(3);
    const struct {
        int width, height;
        std::ptrdiff_t pitch;
    } shapes[] = {{3, 2, 3}, {1, 1, 1}, {1, 37, 4}, {53, 1, 53}, {800, 600, 800}, {333, 211, 350}};
    for (const auto& s : shapes) {
        std::vector<uint32_t> pixels(size_t(s.pitch) * size_t(s.height));
        for (uint32_t& p : pixels)
            p = rng();
        if (s.width == 3)
            pixels = Small.pixels;
        for (bool alpha : {false, true}) {
            const DecodedPng png = DecodePng(alpha ? EncodePngRgba(pixels.data(), s.width, s.height, s.pitch)
                                                   : EncodePng(pixels.data(), s.width, s.height, s.pitch),
                                             alpha);
            ASSERT_EQ(std::make_pair(png.width, png.height), std::make_pair(s.width, s.height));
            for (int y = 0; y < s.height; y++)
                for (int x = 0; x < s.width; x++)
                    ASSERT_EQ(png.pixels[size_t(y * s.width + x)],
                              pixels[size_t(y * s.pitch + x)] & (alpha ? 0xFFFFFFFFu : 0x00FFFFFFu))
                        << s.width << "x" << s.height << " at (" << x << ", " << y << "), alpha " << alpha;
        }
    }
}

TEST(Icon, ADiscOnATransparentSquareAtEverySizeWrittenWithItsAlpha)
{
    EXPECT_EQ(std::vector<bool>({IsIconSize(8), IsIconSize(16), IsIconSize(48), IsIconSize(256), IsIconSize(512)}),
              std::vector<bool>({false, true, false, true, false}));
    for (int size : {16, 32, 64, 128, 256}) {
        const std::vector<uint32_t> icon = PaintIcon(size);
        ASSERT_EQ(icon.size(), size_t(size * size));
        auto alpha = [&](int x, int y) { return icon[size_t(y * size + x)] >> 24; };
        EXPECT_EQ(std::vector<uint32_t>({alpha(0, 0), alpha(size - 1, 0), alpha(0, size - 1), alpha(size - 1, size - 1)}),
                  std::vector<uint32_t>(4, 0u)) << size;
        EXPECT_EQ(alpha(size / 2, size / 2), 255u) << size;
        EXPECT_EQ(alpha(size / 2, size / 16), 255u) << size; // the rim, near the top edge
    }
    const std::vector<uint32_t> pixels = {0x80102030, 0x00000000};
    const std::vector<uint8_t> png = EncodePngRgba(pixels.data(), 2, 1, 2);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png[25], 6); // colour type RGBA
    EXPECT_EQ(DecodePng(png, true).pixels, pixels);
}

TEST(Generator, MakesTheSameBytesEveryTime)
{
    const std::filesystem::path fresh = TempPath("set"); // a fresh run against the set the build made
    ASSERT_EQ(std::system((std::string("'") + TARVEL_CONTENTGEN + "' '" + fresh.string() + "' > /dev/null").c_str()), 0);
    size_t compared = 0;
    for (const auto& f : std::filesystem::recursive_directory_iterator(TARVEL_CONTENT_DIR)) {
        if (!f.is_regular_file())
            continue;
        const std::filesystem::path relative = std::filesystem::relative(f.path(), TARVEL_CONTENT_DIR);
        EXPECT_TRUE(FileBytes(f.path()) == FileBytes(fresh / relative)) << relative;
        ++compared;
    }
    std::filesystem::remove_all(fresh);
    EXPECT_EQ(compared, 115u); // 114 pictures and the soundtrack
}

TEST(GeneratorDeathTest, AnOutputFolderThatCannotBeMadeIsFatal)
{
    // A regular file where a folder should be.
    const std::filesystem::path blocker = TempPath("blocker");
    std::ofstream(blocker).put('x');
    EXPECT_EXIT(WriteBytes((blocker / "graph" / "x.tga").string(), {1, 2, 3}), testing::ExitedWithCode(255),
                "tarvel-contentgen: cannot create the folder of .*blocker/graph/x.tga");
    std::filesystem::remove(blocker);
}

} // namespace
