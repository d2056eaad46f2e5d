// The generated content set: the generator's picture list against the show's
// asset list and reader, and the soundtrack as a player decodes it (ffprobe
// and ffmpeg).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "content/content_test_util.h"
#include "contentgen/assets.h"
#include "demo/letter_text.h"
#include "demo/manifest.h"

namespace {

const std::filesystem::path ContentDir = TARVEL_CONTENT_DIR;

// Every picture of the generator's list by slot, read once through the show's reader.
const std::map<int, Decoded>& Pictures()
{
    static const std::map<int, Decoded> pictures = [] {
        std::map<int, Decoded> m;
        for (const PictureAsset& asset : PictureAssets())
            m[asset.slot] = ReadWithShowReader((ContentDir / asset.file).c_str());
        return m;
    }();
    return pictures;
}

// The generator writes exactly the files the show loads, slot by slot, at
// the sizes of its list, in both depths and row orders, some with an ID.
TEST(ContentFiles, EveryFileTheShowLoadsIsThereUnderItsExactNameAtItsSize)
{
    std::set<std::string> listed;
    std::set<std::pair<int, bool>> layouts;
    bool withId = false;
    for (const PictureAsset& asset : PictureAssets()) {
        std::string shown = asset.slot == 0 ? BackgroundFile : ManifestFile(asset.slot);
        std::replace(shown.begin(), shown.end(), '\\', '/');
        EXPECT_EQ(shown, asset.file) << "slot " << asset.slot;
        listed.insert(asset.file);
        const std::vector<uint8_t> b = FileBytes(ContentDir / asset.file);
        ASSERT_GE(b.size(), 18u) << asset.file;
        const int width = b[12] | b[13] << 8, height = b[14] | b[15] << 8;
        EXPECT_EQ(b.size(), 18u + b[0] + size_t(width) * size_t(height) * (b[16] / 8)) << asset.file;
        layouts.insert({b[16], (b[17] & 0x20) != 0});
        withId = withId || b[0] != 0;
        const Decoded& p = Pictures().at(asset.slot);
        EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(asset.width, asset.height)) << asset.file;
    }
    int manifest = 1; // the background
    for (int slot = 1; slot <= LastManifestSlot; slot++)
        manifest += !ManifestFile(slot).empty();
    EXPECT_EQ(listed.size(), size_t(manifest));
    EXPECT_EQ(layouts, (std::set<std::pair<int, bool>>{{24, false}, {24, true}, {32, false}, {32, true}}));
    EXPECT_TRUE(withId);
    for (const auto& f : std::filesystem::directory_iterator(ContentDir / "graph")) // a stray file: a misspelt name
        EXPECT_TRUE(listed.count("graph/" + f.path().filename().string())) << f.path();
}

// Keyed sprites have a black border and no black hole inside their shape;
// opaque pictures no black at all (some are also drawn keyed).
TEST(ContentFiles, SpritesHaveABlackBackgroundAndNoBlackHolesAndOpaquePicturesNoBlackAtAll)
{
    for (const PictureAsset& asset : PictureAssets()) {
        const Decoded& p = Pictures().at(asset.slot);
        size_t visible = 0, holes = 0;
        bool borderClear = true;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const uint32_t v = p.at(x, y);
                visible += v != 0;
                if (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1)
                    borderClear = borderClear && v == 0;
                else if (v == 0 && p.at(x - 1, y) && p.at(x + 1, y) && p.at(x, y - 1) && p.at(x, y + 1))
                    ++holes;
            }
        if (!asset.keyed) {
            EXPECT_EQ(visible, p.data.size()) << asset.file;
            continue;
        }
        EXPECT_TRUE(borderClear && holes == 0) << asset.file << ": " << holes << " holes";
        EXPECT_GT(visible, p.data.size() / 20) << asset.file;
        EXPECT_LT(visible, p.data.size() * 19 / 20) << asset.file;
    }
}

TEST(ContentFiles, TheScrollerSpellsTheMessageWithTheLetterPictures)
{
    // The first character of a letter's file name (slot 100 + cell) names it.
    std::string text;
    for (uint8_t cell : LetterText) {
        ASSERT_LE(cell, 27);
        text += cell == 0 ? ' ' : ManifestFile(100 + cell)[6];
    }
    EXPECT_EQ(text, " Made in code  Sound and colour  Pure demo spirit ");
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
