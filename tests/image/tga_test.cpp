#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <cstdio>
#include <fstream>

#include "core/files.h"
#include "image/image_test_util.h"
#include "image/tga.h"

namespace {

constexpr uint32_t Marker = 0x00ABCDEF;

// The 2x2 picture of stored rows (00 00 FF, 00 FF 00) and (FF 00 00, FF FF FF).
TgaFile TwoByTwo(uint8_t descriptor)
{
    return TgaFile{.width = 2, .height = 2, .descriptor = descriptor,
                   .pixels = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF}};
}

// Loads `file` at (x, y) into a fresh w x h target holding `fill`.
std::vector<uint32_t> LoadInto(const std::string& file, int w, int h, int x, int y, uint32_t fill = Marker)
{
    OwnedScreen target(w, h);
    Fill(target.get(), fill);
    SetTarget(target.get());
    LoadTGA(file.c_str(), x, y);
    SetTarget(nullptr);
    return Pixels(target.get());
}

} // namespace

TEST(FileNames, BackslashesBecomeSlashesAndCaseIsKept)
{
    EXPECT_EQ(NativePath("graph\\sprite00.TGA"), "graph/sprite00.TGA");
    TempDir dir;
    dir.Write("graph/Pic.TGA", {1});
    const std::string folder = (dir.path / "graph").string();
    std::FILE* f = OpenDataFile((folder + "\\Pic.TGA").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(OpenDataFile((folder + "\\pic.tga").c_str(), "rb"), nullptr);
}

TEST(TgaReader, RowOrderFollowsDescriptorBitFiveOnly)
{
    TempDir dir;
    const uint32_t M = Marker, R = 0x00FF0000, G = 0x0000FF00, B = 0x000000FF, W = 0x00FFFFFF;
    for (uint8_t descriptor : {0x00, 0x08, 0x10, 0x20, 0x28, 0x30}) {
        // Loaded at (1, 2) of a 3 x 4 target: the picture fills its corner.
        const auto [a, b, c, d] = descriptor & 0x20 ? std::array{R, G, B, W} : std::array{B, W, R, G};
        EXPECT_EQ(LoadInto(dir.Write("p.tga", TgaBytes(TwoByTwo(descriptor))), 3, 4, 1, 2),
                  (std::vector<uint32_t>{M, M, M, M, M, M, M, a, b, M, c, d}))
            << int(descriptor);
    }
}

TEST(TgaReader, DepthsAndIdField)
{
    TempDir dir;
    TgaFile alpha{.width = 1, .height = 1, .depth = 32, .pixels = {0x00302010}, .alpha = 0x40};
    EXPECT_EQ(LoadInto(dir.Write("a.tga", TgaBytes(alpha)), 1, 1, 0, 0), std::vector<uint32_t>{0x00302010});

    TgaFile t{.width = 7, .height = 3, .descriptor = 0x20};
    for (uint32_t i = 0; i < 21; i++)
        t.pixels.push_back((i * 0x9E3779B9u) & 0xFFFFFF);
    for (int depth : {24, 32})
        for (size_t idLength : {0, 5, 255}) {
            t.depth = depth;
            t.id.assign(idLength, 0x77);
            EXPECT_EQ(LoadInto(dir.Write("d.tga", TgaBytes(t)), 7, 3, 0, 0), t.pixels) << depth << " " << idLength;
        }
}

TEST(TgaReader, SizeReadsTheHeaderOnly)
{
    TempDir dir;
    int w = -1, h = -1;
    SizeTGA(dir.Write("big.tga", TgaBytes(TgaFile{.width = 65535, .height = 40000, .depth = 32})).c_str(), &w, &h);
    EXPECT_EQ((std::pair{w, h}), (std::pair{65535, 40000}));
    for (auto [pw, ph] : {std::pair{0, 5}, {5, 0}}) // passes every test, draws nothing
        EXPECT_EQ(LoadInto(dir.Write("e.tga", TgaBytes(TgaFile{.width = pw, .height = ph})), 3, 3, 0, 0),
                  std::vector<uint32_t>(9, Marker));
}

TEST(TgaReader, PixelsOutsideTheTargetAreSkipped)
{
    TempDir dir;
    // 4x3 picture, pixel = 10 * row + column + 1, into a 3x2 target.
    TgaFile t{.width = 4, .height = 3, .descriptor = 0x20};
    for (uint32_t i = 0; i < 12; i++)
        t.pixels.push_back(10 * (i / 4) + i % 4 + 1);
    const std::string file = dir.Write("o.tga", TgaBytes(t));
    EXPECT_EQ(LoadInto(file, 3, 2, -1, -1), (std::vector<uint32_t>{12, 13, 14, 22, 23, 24}));
    EXPECT_EQ(LoadInto(file, 3, 2, 1, 1, 0), (std::vector<uint32_t>{0, 0, 0, 0, 1, 2}));
    for (auto [x, y] : {std::pair{3, 0}, {-4, 0}, {0, 2}, {0, -3}, {INT32_MAX, 0}, {INT32_MIN, INT32_MIN}})
        EXPECT_EQ(LoadInto(file, 3, 2, x, y, 0), std::vector<uint32_t>(6, 0)) << x << "," << y;

    // A background larger than 800x600 fills the target and nothing beyond.
    TgaFile big{.width = 900, .height = 700};
    for (uint32_t i = 0; i < 900 * 700; i++)
        big.pixels.push_back(i % 900 + 1000 * (699 - i / 900)); // stored bottom row first
    const auto p = LoadInto(dir.Write("fondo.tga", TgaBytes(big)), 800, 600, 0, 0);
    for (uint32_t i = 0; i < 800 * 600; i += 37)
        ASSERT_EQ(p[i], i % 800 + 1000 * (i / 800)) << i;
    EXPECT_EQ(p.back(), 799u + 1000 * 599);
}

// Every fatal path ends the process with code 255 and exactly "caption file"
// on stderr.
class TgaDeathTest : public testing::Test {
protected:
    TempDir dir;
    OwnedScreen target{4, 4};
    void SetUp() override { SetTarget(target.get()); }
    void TearDown() override { SetTarget(nullptr); }

    // LoadTGA fails with `caption`, and SizeTGA with `sizeCaption` unless
    // that is empty.
    static void ExpectFatal(const std::string& file, const std::string& caption, const std::string& sizeCaption)
    {
        int w, h;
        if (!sizeCaption.empty()) {
            EXPECT_EXIT(SizeTGA(file.c_str(), &w, &h), testing::ExitedWithCode(255),
                        testing::Matcher<const std::string&>(sizeCaption + " " + file + "\n"));
        }
        EXPECT_EXIT(LoadTGA(file.c_str(), 0, 0), testing::ExitedWithCode(255),
                    testing::Matcher<const std::string&>(caption + " " + file + "\n"));
    }
};

TEST_F(TgaDeathTest, MissingFileWrongKindAndWrongDepth)
{
    ExpectFatal((dir.path / "graph").string() + "\\missing.TGA", // named as passed
                "fichero no encontrado en LoadTGA:", "fichero no encontrado en SizeTGA:");
    // A wrong kind is reported before a wrong depth.
    const auto fails = [&](TgaFile t, const std::string& caption) {
        ExpectFatal(dir.Write("bad.tga", TgaBytes(t)), caption, caption);
    };
    fails({.width = 1, .height = 1, .imageType = 10, .pixels = {1}}, "error al leer un TGA");
    fails({.width = 1, .height = 1, .colourMapType = 1, .pixels = {1}}, "error al leer un TGA");
    for (int depth : {8, 16})
        fails({.width = 1, .height = 1, .depth = depth}, "error al leer un TGA, numero incorrecto de bits");
    fails({.width = 1, .height = 1, .depth = 16, .imageType = 10}, "error al leer un TGA");
}

TEST_F(TgaDeathTest, FilesCutShortAreReadErrors)
{
    TgaFile t = TwoByTwo(0x20);
    t.id = {1, 2, 3};
    const std::vector<uint8_t> whole = TgaBytes(t); // header 18, ID 3, pixels 12
    for (size_t keep : {0, 1, 17, 18, 20, 21, 26, 32}) // SizeTGA needs only the header
        ExpectFatal(dir.Write("cut.tga", {whole.begin(), whole.begin() + ptrdiff_t(keep)}), "error al leer un TGA",
                    keep < 18 ? "error al leer un TGA" : "");
}

TEST_F(TgaDeathTest, PixelDataBeyondMemory)
{
    // Up to 65535 x 65535 x 4 bytes, computed in 64 bits, not as the 32-bit
    // remainder (0 for 32768 x 32768); the child's address space is what it
    // uses now plus 1 GiB.
    const auto limitAddressSpace = [] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 30);
        rlimit r{limit, limit};
        setrlimit(RLIMIT_AS, &r);
    };
    for (int side : {32768, 65535}) {
        const std::string file = dir.Write("huge.tga", TgaBytes(TgaFile{.width = side, .height = side, .depth = 32}));
        EXPECT_EXIT((limitAddressSpace(), LoadTGA(file.c_str(), 0, 0)), testing::ExitedWithCode(255),
                    "^no hay memoria en LoadTGA\n");
    }
}

// In the sanitizer build a failed allocation returns null, as it does
// without the sanitizer, instead of being reported.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
