// The generator's own writers, its determinism and its fatal path.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>

#include "content/content_test_util.h"
#include "contentgen/generate.h"
#include "contentgen/png_write.h"
#include "contentgen/tga_write.h"

#ifndef TARVEL_CONTENTGEN
#error "TARVEL_CONTENTGEN must name the generator program"
#endif

namespace {

std::filesystem::path TempPath(const std::string& leaf)
{
    return std::filesystem::temp_directory_path() / ("tarvel-content-" + std::to_string(getpid()) + "-" + leaf);
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A 3x2 picture whose every pixel differs, including a black one.
Picture SmallPicture()
{
    return Picture{3, 2, {0x00112233, 0x00000000, 0x00FF0080, 0x00010203, 0x00A0B0C0, 0x00FFFFFF}};
}

TEST(TgaWriter, EveryLayoutReadsBackThroughTheShowsReader)
{
    const Picture picture = SmallPicture();
    for (int depth : {24, 32})
        for (bool topDown : {false, true})
            for (const char* id : {static_cast<const char*>(nullptr), "tarvel"}) {
                const std::filesystem::path path = TempPath("layout.tga");
                WriteBytes(path.string(), EncodeTga(picture, TgaFormat{depth, topDown, id}));
                Pixels read = ReadWithShowReader(path.c_str());
                std::filesystem::remove(path);
                EXPECT_EQ(read.width, 3);
                EXPECT_EQ(read.height, 2);
                EXPECT_EQ(read.data, picture.pixels) << depth << " bits, top-down " << topDown;
            }
}

TEST(TgaWriter, ThirtyTwoBitAlphaFollowsTheKeyColour)
{
    std::vector<uint8_t> b = EncodeTga(SmallPicture(), TgaFormat{32, true, nullptr});
    ASSERT_EQ(b.size(), 18u + 6 * 4);
    EXPECT_EQ(b[17], 0x28); // top-down rows, eight alpha bits
    EXPECT_EQ(b[18 + 3], 255);
    EXPECT_EQ(b[18 + 4 + 3], 0); // the black pixel
}

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

TEST(PngWriter, ChunksCarryValidChecksumsAndThePixelsInflateBack)
{
    const Picture picture = SmallPicture();
    std::vector<uint8_t> png = EncodePng(picture);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    std::vector<uint8_t> idat;
    std::vector<std::string> types;
    for (size_t at = 8; at + 12 <= png.size();) {
        uint32_t length = BigEndian(&png[at]);
        ASSERT_LE(at + 12 + length, png.size());
        std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
        uLong crc = crc32(0L, &png[at + 4], uInt(4 + length));
        EXPECT_EQ(BigEndian(&png[at + 8 + length]), uint32_t(crc)) << type;
        if (type == "IHDR") {
            EXPECT_EQ(BigEndian(&png[at + 8]), 3u);
            EXPECT_EQ(BigEndian(&png[at + 12]), 2u);
        }
        if (type == "IDAT")
            idat.insert(idat.end(), png.begin() + long(at) + 8, png.begin() + long(at) + 8 + length);
        types.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    std::vector<uint8_t> raw(2 * (1 + 3 * 3));
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, idat.data(), uLong(idat.size())), Z_OK);
    ASSERT_EQ(rawSize, raw.size());
    EXPECT_EQ(raw[0], 0); // filter type none
    EXPECT_EQ(std::vector<uint8_t>(raw.begin() + 11, raw.end()),
              (std::vector<uint8_t>{0x01, 0x02, 0x03, 0xA0, 0xB0, 0xC0, 0xFF, 0xFF, 0xFF}));
}

TEST(Generator, MakesTheSameBytesEveryTime)
{
    // A fresh run against the set the build made earlier.
    const std::filesystem::path fresh = TempPath("set");
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
    const std::string target = (blocker / "graph" / "x.tga").string();
    EXPECT_EXIT(WriteBytes(target, {1, 2, 3}), testing::ExitedWithCode(255),
                "tarvel-contentgen: cannot create the folder of .*blocker/graph/x.tga");
    std::filesystem::remove(blocker);
}

} // namespace
