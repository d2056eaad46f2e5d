// The generated content set: the pictures against the show's asset list and
// its reader, the soundtrack as a player decodes it (ffprobe and ffmpeg).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "content/content_test_util.h"
#include "demo/letter_text.h"

namespace {

const std::filesystem::path ContentDir = TARVEL_CONTENT_DIR;

// Sizes that fit the places where the timeline draws each slot.
std::pair<int, int> RoleSize(int slot)
{
    // First slot, last slot, width, height.
    const int roles[][4] = {
        {0, 0, 800, 600},   {1, 1, 32, 32},     {13, 13, 64, 64},   {50, 50, 64, 64},    {14, 14, 700, 100},
        {16, 16, 800, 800}, {39, 39, 800, 160}, {48, 48, 300, 60},  {49, 49, 400, 400},  {37, 38, 250, 300},
        {17, 18, 200, 200}, {45, 45, 200, 200}, {51, 78, 200, 200}, {47, 47, 100, 100},  {85, 88, 100, 100},
        {41, 44, 200, 100}, {31, 31, 200, 400}, {33, 36, 200, 400}, {29, 30, 400, 200},  {32, 32, 400, 200},
        {81, 84, 400, 200}, {3, 3, 800, 400},   {5, 5, 800, 400},   {7, 8, 800, 400},    {11, 12, 800, 400},
        {15, 15, 800, 400}, {19, 19, 800, 400}, {46, 46, 800, 400}, {101, 127, 36, 44},
    };
    for (const auto& r : roles)
        if (slot >= r[0] && slot <= r[1])
            return {r[2], r[3]};
    return {800, 200}; // captions, band images, phrases, the band
}

// Slots drawn colour-keyed as sprites: black is their background.
bool IsSprite(int slot)
{
    return slot >= 101 || std::set<int>{1, 2, 4, 6, 13, 14, 17, 18, 31, 37, 38, 39, 45, 47, 48, 50}.count(slot);
}

// Every picture, read once through the show's reader and shared by the tests.
const std::map<int, Decoded>& Pictures()
{
    static const std::map<int, Decoded> pictures = [] {
        std::map<int, Decoded> m;
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(ContentDir);
        for (const auto& [slot, name] : ShowFiles())
            m[slot] = ReadWithShowReader(name.c_str());
        std::filesystem::current_path(before);
        return m;
    }();
    return pictures;
}

TEST(ContentFiles, EveryFileOfTheAssetListIsThereUnderItsExactNameAtTheSizeOfItsRole)
{
    ASSERT_EQ(ShowFiles().size(), 114u);
    std::set<std::string> expected;
    std::set<std::pair<int, bool>> layouts;
    bool withId = false;
    for (const auto& [slot, name] : ShowFiles()) {
        expected.insert(PosixName(name));
        const std::vector<uint8_t> b = FileBytes(ContentDir / PosixName(name));
        ASSERT_GE(b.size(), 18u) << name;
        EXPECT_EQ(b[1], 0) << name;
        EXPECT_EQ(b[2], 2) << name;
        const int width = b[12] | b[13] << 8, height = b[14] | b[15] << 8;
        EXPECT_EQ(b.size(), 18u + b[0] + size_t(width) * size_t(height) * (b[16] / 8)) << name;
        layouts.insert({b[16], (b[17] & 0x20) != 0});
        withId = withId || b[0] != 0;
        const Decoded& p = Pictures().at(slot);
        EXPECT_EQ(std::make_pair(p.width, p.height), RoleSize(slot)) << name;
    }
    // The set stores both depths in both row orders, and an image ID.
    EXPECT_EQ(layouts, (std::set<std::pair<int, bool>>{{24, false}, {24, true}, {32, false}, {32, true}}));
    EXPECT_TRUE(withId);
    // Nothing else in graph/: a stray file would mean a misspelt name.
    for (const auto& f : std::filesystem::directory_iterator(ContentDir / "graph"))
        EXPECT_TRUE(expected.count("graph/" + f.path().filename().string())) << f.path();
}

TEST(ContentFiles, SpritesHaveABlackBackgroundAndNoBlackHolesAndOpaquePicturesNoBlackAtAll)
{
    for (const auto& [slot, p] : Pictures()) {
        size_t visible = 0, holes = 0;
        bool borderClear = true;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const uint32_t v = p.at(x, y);
                visible += v != 0;
                if (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1) {
                    borderClear = borderClear && v == 0;
                } else if (v == 0 && p.at(x - 1, y) && p.at(x + 1, y) && p.at(x, y - 1) && p.at(x, y + 1)) {
                    ++holes; // a black pixel inside the shape would show through
                }
            }
        if (!IsSprite(slot)) {
            // Slots 11 and 41-44 are also drawn keyed: any black pixel would be a hole.
            EXPECT_EQ(visible, p.data.size()) << "slot " << slot;
            continue;
        }
        EXPECT_TRUE(borderClear) << "slot " << slot;
        EXPECT_EQ(holes, 0u) << "slot " << slot;
        EXPECT_GT(visible, p.data.size() / 20) << "slot " << slot;
        EXPECT_LT(visible, p.data.size() * 19 / 20) << "slot " << slot;
    }
}

TEST(ContentFiles, ThePhotographsAreAllDifferent)
{
    for (int a = 51; a <= 78; ++a)
        for (int b = a + 1; b <= 78; ++b) {
            const Decoded &pa = Pictures().at(a), &pb = Pictures().at(b);
            long long difference = 0;
            for (size_t i = 0; i < pa.data.size(); ++i)
                for (int shift : {0, 8, 16})
                    difference += std::abs(int((pa.data[i] >> shift) & 255) - int((pb.data[i] >> shift) & 255));
            // Mean difference per channel of at least 12 levels.
            EXPECT_GT(difference, 12LL * 3 * (long long)pa.data.size()) << "photos " << a << " and " << b;
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

const std::string Mp3 = std::string(TARVEL_CONTENT_DIR) + "/music/music00.mp3";

std::string RunCommand(const std::string& command)
{
    std::string out;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;)
            out.append(buffer, n);
        pclose(p);
    }
    return out;
}

// Interleaved stereo 16-bit samples at 44.1 kHz, decoded once.
const std::vector<int16_t>& Samples()
{
    static const std::vector<int16_t> samples = [] {
        std::string raw = RunCommand("ffmpeg -v error -i '" + Mp3 + "' -f s16le -acodec pcm_s16le -ac 2 -ar 44100 -");
        std::vector<int16_t> s(raw.size() / 2);
        std::memcpy(s.data(), raw.data(), s.size() * 2);
        return s;
    }();
    return samples;
}

// Mean square of both channels over [t0, t1) seconds.
double Energy(double t0, double t1)
{
    const size_t a = size_t(t0 * 44100) * 2, b = size_t(t1 * 44100) * 2;
    double sum = 0;
    for (size_t i = a; i < b; ++i)
        sum += double(Samples()[i]) * Samples()[i];
    return sum / double(b - a);
}

TEST(Soundtrack, IsStereo44100HzLongerThanTheShowAndBelowFullScaleAtAReasonableLoudness)
{
    const std::string info = RunCommand("ffprobe -v error -select_streams a:0 -show_entries "
                                        "stream=codec_name,sample_rate,channels -of default=noprint_wrappers=1 '" +
                                        Mp3 + "'");
    for (const char* field : {"codec_name=mp3", "sample_rate=44100", "channels=2"})
        EXPECT_NE(info.find(field), std::string::npos) << info;
    // The show closes at 133.46 s of playback; the decoded stream must last.
    const std::vector<int16_t>& s = Samples();
    EXPECT_GE(s.size() / 2, size_t(135 * 44100));
    int peak = 0;
    double sum = 0;
    for (int16_t v : s) {
        peak = std::max(peak, std::abs(int(v)));
        sum += double(v) * v;
    }
    const double rmsDb = 10.0 * std::log10(sum / double(s.size()) / (32768.0 * 32768.0));
    EXPECT_LT(peak, 32767 * 99 / 100) << "clipped";
    EXPECT_GT(rmsDb, -22.0);
    EXPECT_LT(rmsDb, -10.0);
}

TEST(Soundtrack, TheBeatComesBackExactlyWhenTheTimelineChangesWindow)
{
    // Clock values (hundredths) where the timeline moves on and the drums
    // return after a quieter passage. The strongest onset near each must sit
    // on it: decoded time lines up with the show's clock.
    for (int bound : {475, 1640, 2026, 7640}) {
        const double t = bound / 100.0, frame = 0.005;
        double bestRatio = 0, bestTime = 0;
        for (int k = -40; k < 40; ++k) {
            const double at = t + k * frame, ratio = Energy(at, at + frame) / (Energy(at - 0.05, at) + 1.0);
            if (ratio > bestRatio) {
                bestRatio = ratio;
                bestTime = at;
            }
        }
        EXPECT_NEAR(bestTime, t, 0.011) << "bound " << bound;
        EXPECT_GT(bestRatio, 4.0) << "bound " << bound;
    }
}

} // namespace
