// The generated content set against the show's asset list and its reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "content/content_test_util.h"
#include "image/tga.h"

Pixels ReadWithShowReader(const char* name)
{
    Pixels p;
    SizeTGA(name, &p.width, &p.height);
    Screen s;
    newscreen(&s, p.width, p.height);
    Screen* previous = CurrentTarget;
    SetTarget(&s);
    LoadTGA(name, 0, 0);
    SetTarget(previous);
    for (int y = 0; y < p.height; ++y)
        p.data.insert(p.data.end(), s.rows[y], s.rows[y] + p.width);
    FreeScreen(&s);
    return p;
}

namespace {

const std::filesystem::path ContentDir = TARVEL_CONTENT_DIR;

// Sizes that fit the places where the timeline draws each slot.
std::pair<int, int> ExpectedSize(int slot)
{
    if (slot == 0)
        return {800, 600};
    if (slot == 1)
        return {32, 32};
    if (slot == 13 || slot == 50)
        return {64, 64};
    if (slot == 14)
        return {700, 100};
    if (slot == 16)
        return {800, 800};
    if (slot == 39)
        return {800, 160};
    if (slot == 48)
        return {300, 60};
    if (slot == 49)
        return {400, 400};
    if (slot == 37 || slot == 38)
        return {250, 300};
    if (slot == 45 || slot == 17 || slot == 18 || (slot >= 51 && slot <= 78))
        return {200, 200};
    if (slot == 47 || (slot >= 85 && slot <= 88))
        return {100, 100};
    if (slot >= 41 && slot <= 44)
        return {200, 100};
    if (slot == 31 || (slot >= 33 && slot <= 36))
        return {200, 400};
    if (slot == 29 || slot == 30 || slot == 32 || (slot >= 81 && slot <= 84))
        return {400, 200};
    if (slot >= 101)
        return {36, 44};
    const std::set<int> upper = {3, 5, 7, 8, 11, 12, 15, 19, 46};
    if (upper.count(slot))
        return {800, 400};
    return {800, 200}; // captions, band images, phrases, the band
}

// Slots drawn colour-keyed as sprites: black is their background.
bool IsSprite(int slot)
{
    const std::set<int> sprites = {1, 2, 4, 6, 13, 14, 17, 18, 31, 37, 38, 39, 45, 47, 48, 50};
    return sprites.count(slot) || slot >= 101;
}

// Every picture, read once through the show's reader and shared by the tests.
const std::map<int, Pixels>& Pictures()
{
    static const std::map<int, Pixels> pictures = [] {
        std::map<int, Pixels> m;
        InFolder(ContentDir, [&] {
            for (const ManifestEntry& e : ShowManifest())
                m[e.slot] = ReadWithShowReader(e.name.c_str());
        });
        return m;
    }();
    return pictures;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(ContentFiles, EveryFileOfTheAssetListExistsUnderItsExactName)
{
    const std::vector<ManifestEntry> manifest = ShowManifest();
    ASSERT_EQ(manifest.size(), 114u);
    std::set<std::string> expected;
    for (const ManifestEntry& e : manifest) {
        EXPECT_TRUE(std::filesystem::is_regular_file(ContentDir / PosixName(e.name))) << e.name;
        expected.insert(PosixName(e.name));
    }
    // Nothing else in graph/: a stray file would mean a misspelt name.
    for (const auto& f : std::filesystem::directory_iterator(ContentDir / "graph"))
        EXPECT_TRUE(expected.count("graph/" + f.path().filename().string())) << f.path();
}

TEST(ContentFiles, TheShowsReaderLoadsEveryPictureAtTheSizeOfItsRole)
{
    for (const ManifestEntry& e : ShowManifest()) {
        const Pixels& p = Pictures().at(e.slot);
        EXPECT_EQ(std::make_pair(p.width, p.height), ExpectedSize(e.slot)) << e.name;
        EXPECT_EQ(p.data.size(), size_t(p.width) * size_t(p.height));
    }
}

TEST(ContentFiles, StorageCoversBothDepthsBothRowOrdersAndAnImageId)
{
    std::set<std::pair<int, bool>> layouts;
    bool withId = false;
    for (const ManifestEntry& e : ShowManifest()) {
        std::vector<uint8_t> b = FileBytes(ContentDir / PosixName(e.name));
        ASSERT_GE(b.size(), 18u);
        EXPECT_EQ(b[1], 0) << e.name;
        EXPECT_EQ(b[2], 2) << e.name;
        const int width = b[12] | b[13] << 8, height = b[14] | b[15] << 8;
        EXPECT_EQ(b.size(), 18u + b[0] + size_t(width) * size_t(height) * (b[16] / 8)) << e.name;
        layouts.insert({b[16], (b[17] & 0x20) != 0});
        withId = withId || b[0] != 0;
    }
    EXPECT_EQ(layouts, (std::set<std::pair<int, bool>>{{24, false}, {24, true}, {32, false}, {32, true}}));
    EXPECT_TRUE(withId);
}

TEST(ContentFiles, SpritesHaveABlackBackgroundAndNoBlackHoles)
{
    for (const auto& [slot, p] : Pictures()) {
        if (!IsSprite(slot))
            continue;
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
        EXPECT_TRUE(borderClear) << "slot " << slot;
        EXPECT_EQ(holes, 0u) << "slot " << slot;
        EXPECT_GT(visible, p.data.size() / 20) << "slot " << slot;
        EXPECT_LT(visible, p.data.size() * 19 / 20) << "slot " << slot;
    }
}

TEST(ContentFiles, OpaquePicturesHaveNoPureBlackPixel)
{
    // Slots 11 and 41-44 are also drawn keyed: any black pixel would be a hole.
    for (const auto& [slot, p] : Pictures()) {
        if (!IsSprite(slot)) {
            EXPECT_EQ(std::count(p.data.begin(), p.data.end(), 0u), 0) << "slot " << slot;
        }
    }
}

TEST(ContentFiles, ThePhotographsAreAllDifferent)
{
    for (int a = 51; a <= 78; ++a)
        for (int b = a + 1; b <= 78; ++b) {
            const Pixels &pa = Pictures().at(a), &pb = Pictures().at(b);
            long long difference = 0;
            for (size_t i = 0; i < pa.data.size(); ++i)
                for (int shift : {0, 8, 16})
                    difference += std::abs(int((pa.data[i] >> shift) & 255) - int((pb.data[i] >> shift) & 255));
            // Mean difference per channel of at least 12 levels.
            EXPECT_GT(difference, 12LL * 3 * (long long)pa.data.size()) << "photos " << a << " and " << b;
        }
}

} // namespace
