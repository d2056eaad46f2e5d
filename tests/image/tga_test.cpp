#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>

#include "image/file_open.h"
#include "image/image_test_util.h"
#include "image/tga.h"

namespace {

// The 2x2 picture of stored rows (00 00 FF, 00 FF 00) and (FF 00 00, FF FF FF).
TgaFile TwoByTwo(uint8_t descriptor)
{
    return TgaFile{.width = 2, .height = 2, .descriptor = descriptor,
                   .pixels = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF}};
}

// Loads `file` at (x, y) into a fresh w x h target holding `fill`.
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
    const std::vector<uint32_t> bottomUp = {0x000000FF, 0x00FFFFFF, 0x00FF0000, 0x0000FF00};
    const std::vector<uint32_t> topDown = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    for (uint8_t descriptor : {0x00, 0x08, 0x10, 0x20, 0x28, 0x30}) {
        // Loaded at (10, 20) of a 13 x 23 target: the picture fills its corner.
        auto p = LoadInto(dir.Write("p.tga", TgaBytes(TwoByTwo(descriptor))), 13, 23, 10, 20);
        const std::vector<uint32_t> corner = {p[20 * 13 + 10], p[20 * 13 + 11], p[21 * 13 + 10], p[21 * 13 + 11]};
        EXPECT_EQ(corner, descriptor & 0x20 ? topDown : bottomUp) << int(descriptor);
        for (int i : {20 * 13 + 10, 20 * 13 + 11, 21 * 13 + 10, 21 * 13 + 11})
            p[size_t(i)] = 0x00ABCDEF;
        EXPECT_EQ(p, std::vector<uint32_t>(13 * 23, 0x00ABCDEF)); // nothing else written
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
    EXPECT_EQ(w, 65535);
    EXPECT_EQ(h, 40000);
    for (auto [pw, ph] : {std::pair{0, 5}, {5, 0}}) // passes every test, draws nothing
        EXPECT_EQ(LoadInto(dir.Write("e.tga", TgaBytes(TgaFile{.width = pw, .height = ph})), 3, 3, 0, 0),
                  std::vector<uint32_t>(9, 0x00ABCDEF));
}

TEST(TgaReader, PixelsOutsideTheTargetAreSkipped)
{
    TempDir dir;
    // 4x3 picture, pixel = 10 * row + column + 1, into a 3x2 target.
    TgaFile t{.width = 4, .height = 3, .descriptor = 0x20};
    for (uint32_t r = 0; r < 3; r++)
        for (uint32_t c = 0; c < 4; c++)
            t.pixels.push_back(10 * r + c + 1);
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
    for (uint32_t y = 0; y < 600; y += 37)
        for (uint32_t x = 0; x < 800; x += 13)
            ASSERT_EQ(p[y * 800 + x], x + 1000 * y);
    EXPECT_EQ(p.back(), 799u + 1000 * 599);
}

// Every fatal path ends the process with code 255 and "caption file" on stderr.
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
    void ExpectBothFail(const std::string& file, const char* caption)
    {
        int w, h;
        EXPECT_EXIT(SizeTGA(file.c_str(), &w, &h), testing::ExitedWithCode(255), Message(caption, file));
        EXPECT_EXIT(LoadTGA(file.c_str(), 0, 0), testing::ExitedWithCode(255), Message(caption, file));
    }
};

TEST_F(TgaDeathTest, MissingFileIsNamedAsPassed)
{
    const std::string name = (dir.path / "graph").string() + "\\missing.TGA";
    int w, h;
    EXPECT_EXIT(SizeTGA(name.c_str(), &w, &h), testing::ExitedWithCode(255),
                Message("fichero no encontrado en SizeTGA:", name));
    EXPECT_EXIT(LoadTGA(name.c_str(), 0, 0), testing::ExitedWithCode(255),
                Message("fichero no encontrado en LoadTGA:", name));
}

TEST_F(TgaDeathTest, WrongKindIsReportedBeforeWrongDepth)
{
    const auto file = [&](TgaFile t) { return dir.Write("bad.tga", TgaBytes(t)); };
    ExpectBothFail(file({.width = 1, .height = 1, .imageType = 10, .pixels = {1}}), "error al leer un TGA");
    ExpectBothFail(file({.width = 1, .height = 1, .colourMapType = 1, .pixels = {1}}), "error al leer un TGA");
    for (int depth : {8, 16})
        ExpectBothFail(file({.width = 1, .height = 1, .depth = depth}), "error al leer un TGA, numero incorrecto de bits");
    ExpectBothFail(file({.width = 1, .height = 1, .depth = 16, .imageType = 10}), "error al leer un TGA");
}

TEST_F(TgaDeathTest, FilesCutShortAreReadErrors)
{
    TgaFile t = TwoByTwo(0x20);
    t.id = {1, 2, 3};
    const std::vector<uint8_t> whole = TgaBytes(t); // header 18, ID 3, pixels 12
    const auto cut = [&](size_t keep) { return dir.Write("cut.tga", {whole.begin(), whole.begin() + ptrdiff_t(keep)}); };
    for (size_t keep : {0, 1, 17})
        ExpectBothFail(cut(keep), "error al leer un TGA");
    for (size_t keep : {18, 20, 21, 26, 32}) { // SizeTGA needs only the header
        const std::string file = cut(keep);
        EXPECT_EXIT(LoadTGA(file.c_str(), 0, 0), testing::ExitedWithCode(255), Message("error al leer un TGA", file));
    }
}

// Limits the child's address space to what it uses now plus 1 GiB.
static void LimitAddressSpace()
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 30);
    rlimit r{limit, limit};
    setrlimit(RLIMIT_AS, &r);
}

TEST_F(TgaDeathTest, PixelDataBeyondMemory)
{
    // 65535 x 65535 x 4 bytes, computed in 64 bits, not as its 32-bit remainder.
    const std::string file = dir.Write("huge.tga", TgaBytes(TgaFile{.width = 65535, .height = 65535, .depth = 32}));
    EXPECT_EXIT((LimitAddressSpace(), LoadTGA(file.c_str(), 0, 0)), testing::ExitedWithCode(255),
                "^no hay memoria en LoadTGA\n");
}

// In the sanitizer build a failed allocation returns null, as it does
// without the sanitizer, instead of being reported.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
