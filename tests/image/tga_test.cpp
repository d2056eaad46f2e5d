#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>

#include "image/file_open.h"
#include "image/tga.h"
#include "image/image_test_util.h"

namespace {

// The 2x2 picture of stored rows (00 00 FF, 00 FF 00) and (FF 00 00, FF FF FF).
TgaFile TwoByTwo(uint8_t descriptor)
{
    return TgaFile{.width = 2, .height = 2, .descriptor = descriptor,
                   .pixels = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF}};
}

// Loads `file` into a fresh w x h target holding `fill` and returns it.
std::vector<uint32_t> LoadInto(const std::string& file, int w, int h, int x, int y, uint32_t fill = 0x00ABCDEF)
{
    OwnedScreen target(w, h);
    Fill(target.get(), fill);
    SetTarget(target.get());
    LoadTGA(file.c_str(), x, y);
    SetTarget(nullptr);
    return Pixels(target.get());
}

} // namespace

TEST(FileNames, BackslashesBecomeTheHostSeparatorAndCaseIsKept)
{
    EXPECT_EQ(NativePath("graph\\sprite00.TGA"), "graph/sprite00.TGA");
    EXPECT_EQ(NativePath("music\\Music00.MP3"), "music/Music00.MP3");
    EXPECT_EQ(NativePath("plain.tga"), "plain.tga");

    TempDir dir;
    dir.Write("graph/Pic.TGA", {1, 2, 3});
    const std::string written = (dir.path / "graph").string() + "\\Pic.TGA";
    std::FILE* f = OpenDataFile(written.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const std::string wrongCase = (dir.path / "graph").string() + "\\pic.tga";
    EXPECT_EQ(OpenDataFile(wrongCase.c_str(), "rb"), nullptr);
}

TEST(TgaOrientation, BottomUpAndTopDownRows)
{
    TempDir dir;
    const auto at = [](const std::vector<uint32_t>& p, int x, int y) { return p[size_t(y * 16 + x)]; };

    for (uint8_t descriptor : {0x00, 0x08, 0x10, 0x0F}) { // bit 5 clear: first stored row at the bottom
        const auto p = LoadInto(dir.Write("up.tga", TgaBytes(TwoByTwo(descriptor))), 16, 24, 10, 20);
        EXPECT_EQ(at(p, 10, 21), 0x00FF0000u) << int(descriptor);
        EXPECT_EQ(at(p, 11, 21), 0x0000FF00u);
        EXPECT_EQ(at(p, 10, 20), 0x000000FFu);
        EXPECT_EQ(at(p, 11, 20), 0x00FFFFFFu);
    }
    for (uint8_t descriptor : {0x20, 0x28, 0x30}) { // bit 5 set: first stored row at the top
        const auto p = LoadInto(dir.Write("down.tga", TgaBytes(TwoByTwo(descriptor))), 16, 24, 10, 20);
        EXPECT_EQ(at(p, 10, 20), 0x00FF0000u) << int(descriptor);
        EXPECT_EQ(at(p, 11, 20), 0x0000FF00u);
        EXPECT_EQ(at(p, 10, 21), 0x000000FFu);
        EXPECT_EQ(at(p, 11, 21), 0x00FFFFFFu);
    }
    // Nothing else of the target changes.
    auto p = LoadInto(dir.Write("down.tga", TgaBytes(TwoByTwo(0x20))), 16, 24, 10, 20);
    for (int y : {20, 21})
        for (int x : {10, 11})
            p[size_t(y * 16 + x)] = 0x00ABCDEF;
    EXPECT_EQ(p, std::vector<uint32_t>(16 * 24, 0x00ABCDEF));
}

TEST(TgaDepth, ThirtyTwoBitPixelsDropAlphaAndBothDepthsAgree)
{
    TempDir dir;
    TgaFile one{.width = 1, .height = 1, .depth = 32, .pixels = {0x00302010}, .alpha = 0x40};
    EXPECT_EQ(TgaBytes(one), (std::vector<uint8_t>{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 32, 0,
                                                   0x10, 0x20, 0x30, 0x40}));
    EXPECT_EQ(LoadInto(dir.Write("a.tga", TgaBytes(one)), 1, 1, 0, 0), std::vector<uint32_t>{0x00302010});

    // A wider picture, odd width, in both depths: identical pixels, top byte 0.
    TgaFile wide{.width = 7, .height = 3, .descriptor = 0x20};
    for (uint32_t i = 0; i < 21; i++)
        wide.pixels.push_back((i * 0x9E3779B9u) & 0xFFFFFF);
    const auto p24 = LoadInto(dir.Write("w24.tga", TgaBytes(wide)), 7, 3, 0, 0);
    wide.depth = 32;
    wide.alpha = 0xFF;
    const auto p32 = LoadInto(dir.Write("w32.tga", TgaBytes(wide)), 7, 3, 0, 0);
    EXPECT_EQ(p24, wide.pixels);
    EXPECT_EQ(p32, wide.pixels);
}

TEST(TgaIdField, IdBytesAreSkipped)
{
    TempDir dir;
    TgaFile t = TwoByTwo(0x20);
    t.id = {9, 9, 9, 9, 9};
    const auto bytes = TgaBytes(t);
    EXPECT_EQ(bytes[23], 0x00); // pixel data starts at offset 23
    EXPECT_EQ(LoadInto(dir.Write("id.tga", bytes), 2, 2, 0, 0),
              (std::vector<uint32_t>{0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF}));

    t.id.assign(255, 0x77);
    EXPECT_EQ(LoadInto(dir.Write("id255.tga", TgaBytes(t)), 2, 2, 0, 0),
              (std::vector<uint32_t>{0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF}));
}

TEST(TgaSize, ReadsOnlyTheHeader)
{
    TempDir dir;
    int w = -1, h = -1;
    SizeTGA(dir.Write("a.tga", TgaBytes(TwoByTwo(0))).c_str(), &w, &h);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);

    // Header alone, pixel data missing, largest sizes: still reported.
    std::vector<uint8_t> header = TgaBytes(TgaFile{.width = 65535, .height = 40000, .depth = 32});
    header.push_back(1); // an ID length of 0 means this is read by nobody
    SizeTGA(dir.Write("big.tga", header).c_str(), &w, &h);
    EXPECT_EQ(w, 65535);
    EXPECT_EQ(h, 40000);
}

TEST(TgaEmpty, ZeroWidthOrHeightDrawsNothing)
{
    TempDir dir;
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {0, 0}}) {
        const auto p = LoadInto(dir.Write("e.tga", TgaBytes(TgaFile{.width = w, .height = h})), 3, 3, 0, 0);
        EXPECT_EQ(p, std::vector<uint32_t>(9, 0x00ABCDEF)) << w << "x" << h;
    }
}

TEST(TgaOversize, PixelsOutsideTheTargetAreSkipped)
{
    TempDir dir;
    // 4x3 picture, pixel value = 10 * row + column + 1, loaded at (-1, -1)
    // into a 3x2 target: picture rows 1-2, columns 1-3 show.
    TgaFile t{.width = 4, .height = 3, .descriptor = 0x20};
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 4; c++)
            t.pixels.push_back(uint32_t(10 * r + c + 1));
    const std::string file = dir.Write("o.tga", TgaBytes(t));
    EXPECT_EQ(LoadInto(file, 3, 2, -1, -1), (std::vector<uint32_t>{12, 13, 14, 22, 23, 24}));
    EXPECT_EQ(LoadInto(file, 3, 2, 1, 1, 0), (std::vector<uint32_t>{0, 0, 0, 0, 1, 2}));
    for (auto [x, y] : {std::pair{3, 0}, {-4, 0}, {0, 2}, {0, -3}, {INT32_MAX, 0}, {INT32_MIN, INT32_MIN}})
        EXPECT_EQ(LoadInto(file, 3, 2, x, y, 0), std::vector<uint32_t>(6, 0)) << x << "," << y;
    // Bottom-up storage clips the same picture the same way.
    std::vector<uint32_t> flipped;
    for (int r = 2; r >= 0; r--)
        for (int c = 0; c < 4; c++)
            flipped.push_back(uint32_t(10 * r + c + 1));
    t.descriptor = 0;
    t.pixels = flipped;
    EXPECT_EQ(LoadInto(dir.Write("o2.tga", TgaBytes(t)), 3, 2, -1, -1), (std::vector<uint32_t>{12, 13, 14, 22, 23, 24}));

    // A background larger than 800x600 fills the target and nothing beyond.
    TgaFile big{.width = 900, .height = 700, .descriptor = 0x20};
    big.pixels.resize(900 * 700);
    for (size_t i = 0; i < big.pixels.size(); i++)
        big.pixels[i] = uint32_t(i % 900 + 1000 * (i / 900));
    const auto p = LoadInto(dir.Write("fondo.tga", TgaBytes(big)), 800, 600, 0, 0);
    for (int y = 0; y < 600; y += 37)
        for (int x = 0; x < 800; x += 13)
            ASSERT_EQ(p[size_t(y * 800 + x)], uint32_t(x + 1000 * y));
    EXPECT_EQ(p.back(), uint32_t(799 + 1000 * 599));
}

// Every fatal path ends the process with code 255 and the caption, then the
// file name as passed, on stderr.
class TgaDeathTest : public testing::Test {
protected:
    TempDir dir;
    OwnedScreen target{4, 4};
    void SetUp() override { SetTarget(target.get()); }
    void TearDown() override { SetTarget(nullptr); }

    static std::string Message(const char* caption, const std::string& file)
    {
        std::string line(caption);
        line.append(" ").append(file);
        std::string pattern("^");
        pattern.append(Literal(line)).append("\n");
        return pattern;
    }
};

TEST_F(TgaDeathTest, MissingFile)
{
    const std::string name = (dir.path / "graph").string() + "\\missing.TGA";
    EXPECT_EXIT(LoadTGA(name.c_str(), 0, 0), testing::ExitedWithCode(255),
                Message("fichero no encontrado en LoadTGA:", name));
    int w, h;
    EXPECT_EXIT(SizeTGA(name.c_str(), &w, &h), testing::ExitedWithCode(255),
                Message("fichero no encontrado en SizeTGA:", name));
}

TEST_F(TgaDeathTest, WrongKindAndWrongDepth)
{
    int w, h;
    const auto expectBoth = [&](const TgaFile& t, const char* caption) {
        const std::string file = dir.Write("bad.tga", TgaBytes(t));
        EXPECT_EXIT(LoadTGA(file.c_str(), 0, 0), testing::ExitedWithCode(255), Message(caption, file));
        EXPECT_EXIT(SizeTGA(file.c_str(), &w, &h), testing::ExitedWithCode(255), Message(caption, file));
    };
    expectBoth(TgaFile{.width = 1, .height = 1, .imageType = 10, .pixels = {1}}, "error al leer un TGA");
    expectBoth(TgaFile{.width = 1, .height = 1, .colourMapType = 1, .pixels = {1}}, "error al leer un TGA");
    expectBoth(TgaFile{.width = 1, .height = 1, .depth = 16}, "error al leer un TGA, numero incorrecto de bits");
    expectBoth(TgaFile{.width = 1, .height = 1, .depth = 8}, "error al leer un TGA, numero incorrecto de bits");
    // Wrong in both: only the kind is reported.
    expectBoth(TgaFile{.width = 1, .height = 1, .depth = 16, .imageType = 10}, "error al leer un TGA");
}

TEST_F(TgaDeathTest, TruncatedFiles)
{
    TgaFile t = TwoByTwo(0x20);
    t.id = {1, 2, 3};
    const std::vector<uint8_t> whole = TgaBytes(t); // header 18, ID 3, pixels 12
    int w, h;
    for (size_t keep : {size_t(0), size_t(1), size_t(12), size_t(17)}) {
        const std::string file = dir.Write("cut.tga", {whole.begin(), whole.begin() + ptrdiff_t(keep)});
        EXPECT_EXIT(SizeTGA(file.c_str(), &w, &h), testing::ExitedWithCode(255),
                    Message("error al leer un TGA", file))
            << keep;
    }
    for (size_t keep : {size_t(0), size_t(17), size_t(18), size_t(20), size_t(21), size_t(26), whole.size() - 1}) {
        const std::string file = dir.Write("cut.tga", {whole.begin(), whole.begin() + ptrdiff_t(keep)});
        EXPECT_EXIT(LoadTGA(file.c_str(), 0, 0), testing::ExitedWithCode(255), Message("error al leer un TGA", file))
            << keep;
    }
    // A header whose pixel data would not fit 32 bits, in a short file.
    const std::string huge = dir.Write("huge.tga", TgaBytes(TgaFile{.width = 65535, .height = 65535, .depth = 32,
                                                                  .pixels = {1, 2, 3}}));
    SizeTGA(huge.c_str(), &w, &h);
    EXPECT_EQ(w, 65535);
    EXPECT_EXIT(LoadTGA(huge.c_str(), 0, 0), testing::ExitedWithCode(255),
                "^(error al leer un TGA " + Literal(huge) + "|no hay memoria en LoadTGA)\n");
}

// Limits the child's address space to what it uses now plus 1 GiB, so that a
// picture of 16 GiB cannot be allocated.
static void LimitAddressSpace()
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 30);
    rlimit r{limit, limit};
    setrlimit(RLIMIT_AS, &r);
}

TEST_F(TgaDeathTest, UnallocatablePixelData)
{
    // The size is computed in 64 bits: 65535 x 65535 x 4 bytes, not its
    // 32-bit remainder.
    const std::string file = dir.Write("huge.tga", TgaBytes(TgaFile{.width = 65535, .height = 65535, .depth = 32}));
    EXPECT_EXIT((LimitAddressSpace(), LoadTGA(file.c_str(), 0, 0)), testing::ExitedWithCode(255),
                "^no hay memoria en LoadTGA\n");
}

// In the sanitizer build an allocation that fails returns null, as it does
// without the sanitizer, instead of being reported.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
