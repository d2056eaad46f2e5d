// The generator: flattening for each role, its TGA and PNG writers, and the
// soundtrack as a player decodes it (ffprobe and ffmpeg).
#include <gtest/gtest.h>

#include <random>

#include "common/png_read.h"
#include "content/content_test_util.h"
#include "image/image_test_util.h"
#include "contentgen/picture.h"
#include "contentgen/png_write.h"
#include "contentgen/tga_write.h"

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

// A 3x2 picture whose every pixel differs, including a black one.
const Picture Small{3, 2, {0x00112233, 0x00000000, 0x00FF0080, 0x00010203, 0x00A0B0C0, 0x00FFFFFF}};

TEST(TgaWriter, EveryLayoutReadsBackThroughTheShowsReader)
{
    TempDir dir;
    for (int depth : {24, 32})
        for (bool topDown : {false, true})
            for (const char* id : {static_cast<const char*>(nullptr), "tarvel"}) {
                const std::vector<uint8_t> bytes = EncodeTga(Small, TgaFormat{depth, topDown, id});
                const Decoded read = ReadWithShowReader(dir.Write("layout.tga", bytes).c_str());
                EXPECT_EQ(std::make_pair(read.width, read.height), std::make_pair(3, 2));
                EXPECT_EQ(read.data, Small.pixels) << depth << " bits, top-down " << topDown;
            }
}

// Tiny pictures, single rows and columns, and frames of random pixels (top
// bytes set too: RGB drops them, RGBA keeps them as alpha) whose rows lie
// further apart than their width: the "up" filter meets every difference
// between neighbouring bytes, wrapping ones included.
TEST(PngWriter, LibpngDecodesExactlyThePixelsWritten)
{
    std::mt19937 rng(3);
    const int shapes[][3] = {{3, 2, 3}, {1, 1, 1}, {1, 37, 4}, {53, 1, 53}, {800, 600, 800}, {333, 211, 350}};
    for (const auto [width, height, pitch] : shapes) {
        std::vector<uint32_t> pixels(size_t(pitch) * size_t(height));
        for (uint32_t& p : pixels)
            p = rng();
        for (bool alpha : {false, true}) {
            const DecodedPng png = DecodePng(alpha ? EncodePngRgba(pixels.data(), width, height, pitch)
                                                   : EncodePng(pixels.data(), width, height, pitch),
                                             alpha);
            std::vector<uint32_t> written;
            for (int y = 0; y < height; y++)
                for (int x = 0; x < width; x++)
                    written.push_back(pixels[size_t(y * pitch + x)] & (alpha ? 0xFFFFFFFFu : 0x00FFFFFFu));
            EXPECT_EQ(std::make_pair(png.width, png.height), std::make_pair(width, height));
            EXPECT_TRUE(png.pixels == written) << width << "x" << height << ", alpha " << alpha;
        }
    }
}

// The show closes at 133.46 s of playback; the decoded stream must last.
TEST(Soundtrack, IsStereo44100HzMp3LongerThanTheShow)
{
    const std::string mp3 = " '" TARVEL_CONTENT_DIR "/music/music00.mp3'";
    EXPECT_EQ(RunCommand("ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels"
                         " -of default=noprint_wrappers=1" + mp3),
              "codec_name=mp3\nsample_rate=44100\nchannels=2\n");
    const std::string samples = RunCommand("ffmpeg -v error -i" + mp3 + " -f s16le -ac 2 -ar 44100 -");
    EXPECT_GE(samples.size(), size_t(135 * 44100 * 4));
}

} // namespace
