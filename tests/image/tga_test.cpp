#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <cstdint>
#include <fstream>

#include "image/image_test_util.h"
#include "image/tga.h"

namespace {

constexpr uint32_t M = 0x00ABCDEF; // target pixels the reader leaves alone

// Loads `file` at (x, y) into a fresh w x h target holding `fill`.
std::vector<uint32_t> LoadInto(const std::string& file, int w, int h, int x, int y, uint32_t fill = M)
{
    TargetScreen target(w, h, fill);
    LoadTGA(file.c_str(), x, y);
    return Pixels(target.get());
}

struct TgaReader : testing::Test {
    TempDir dir;
};
using TgaReaderDeathTest = TgaReader;

// Stored rows (B W) (R G): top row first only when descriptor bit 5 is set;
// the ID field skipped, 32-bit pixels' alpha byte ignored.
TEST_F(TgaReader, RowOrderFollowsDescriptorBitFiveOnly)
{
    const uint32_t R = 0x00FF0000, G = 0x0000FF00, B = 0x000000FF, W = 0x00FFFFFF;
    for (uint8_t descriptor : {0x00, 0x08, 0x10, 0x20, 0x28, 0x30}) {
        std::vector<uint8_t> file = Tga(2, 2, {B, W, R, G}, {descriptor & 0x08 ? 32 : 24, true, "id"});
        file[17] = descriptor;
        // Loaded at (1, 2) of a 3 x 4 target: the picture fills its corner.
        const auto [a, b, c, d] = descriptor & 0x20 ? std::array{B, W, R, G} : std::array{R, G, B, W};
        EXPECT_EQ(LoadInto(dir.Write("p.tga", file), 3, 4, 1, 2),
                  (std::vector<uint32_t>{M, M, M, M, M, M, M, a, b, M, c, d}))
            << int(descriptor);
    }
}

// A background larger than 800x600, bottom row first, placed to clip each side
// or nowhere near; empty pictures draw nothing.
TEST_F(TgaReader, PixelsOutsideTheTargetAreSkipped)
{
    std::vector<uint32_t> big(900 * 700);
    for (uint32_t i = 0; i < big.size(); i++)
        big[i] = i % 900 + 1000 * (i / 900) + 1;
    const std::string file = dir.Write("fondo.tga", Tga(900, 700, big, {24, false, nullptr}));
    for (auto [x, y] :
         {std::pair{0, 0}, {-1, -2}, {750, 580}, {800, 0}, {0, -700}, {INT32_MAX, 0}, {INT32_MIN, 5}}) {
        const std::vector<uint32_t> p = LoadInto(file, 800, 600, x, y, 0);
        for (int i = 0; i < 800 * 600; i++) {
            const int64_t column = i % 800 - int64_t(x), row = i / 800 - int64_t(y);
            const bool inside = column >= 0 && column < 900 && row >= 0 && row < 700;
            ASSERT_EQ(p[size_t(i)], inside ? uint32_t(column + 1000 * row + 1) : 0u) << x << "," << y;
        }
    }
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}})
        EXPECT_EQ(LoadInto(dir.Write("e.tga", Tga(w, h, {})), 3, 3, 0, 0), std::vector<uint32_t>(9, M));
}

// Exit 255 with "caption file" from LoadTGA, and from SizeTGA unless empty.
void ExpectFatal(const std::string& file, const std::string& caption, const std::string& sizeCaption)
{
    TargetScreen target(4, 4);
    int w, h;
    if (!sizeCaption.empty()) { // braces: the macro ends in an if
        EXPECT_EXIT(SizeTGA(file.c_str(), &w, &h), testing::ExitedWithCode(255),
                    testing::Matcher<const std::string&>(sizeCaption + " " + file + "\n"));
    }
    EXPECT_EXIT(LoadTGA(file.c_str(), 0, 0), testing::ExitedWithCode(255),
                testing::Matcher<const std::string&>(caption + " " + file + "\n"));
}

// Missing, wrong kind or depth (kind reported first), cut short.
TEST_F(TgaReaderDeathTest, BrokenFiles)
{
    ExpectFatal((dir.path / "graph").string() + "\\missing.TGA", // named as passed
                "fichero no encontrado en LoadTGA:", "fichero no encontrado en SizeTGA:");
    const std::string read = "error al leer un TGA", depth = read + ", numero incorrecto de bits";
    // {byte, value}: run-length coded, a colour map, 16 bits, both.
    const std::vector<std::pair<int, uint8_t>> patches[] = {
        {{2, 10}}, {{1, 1}}, {{16, 16}}, {{16, 16}, {2, 10}}};
    for (const auto& patch : patches) {
        std::vector<uint8_t> file = Tga(1, 1, {1});
        for (auto [at, value] : patch)
            file[size_t(at)] = value;
        const std::string& caption = patch.size() == 1 && patch[0].first == 16 ? depth : read;
        ExpectFatal(dir.Write("bad.tga", file), caption, caption);
    }
    const std::vector<uint8_t> whole = Tga(2, 2, {1, 2, 3, 4}, {24, true, "abc"}); // header 18, ID 3, pixels 12
    for (size_t keep : {0, 17, 20, 32})
        ExpectFatal(dir.Write("cut.tga", {whole.begin(), whole.begin() + ptrdiff_t(keep)}), read,
                    keep < 18 ? read : "");
}

// A huge picture: its size read from the header alone, its pixel data beyond
// memory fatal (the child gets 1 GiB more).
TEST_F(TgaReaderDeathTest, HugePictureSizedFromItsHeaderAndBeyondMemory)
{
    const auto limitAddressSpace = [] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(1) << 30);
        rlimit r{limit, limit};
        setrlimit(RLIMIT_AS, &r);
    };
    std::vector<uint8_t> header = Tga(0, 0, {}, {32, false, nullptr});
    header[13] = header[15] = 0x80; // 32768 x 32768: the size counted in 64 bits, not 32 (0)
    const std::string file = dir.Write("huge.tga", header);
    int w = -1, h = -1;
    SizeTGA(file.c_str(), &w, &h); // from the header alone, unsigned
    EXPECT_EQ((std::pair{w, h}), (std::pair{32768, 32768}));
    EXPECT_EXIT((limitAddressSpace(), LoadTGA(file.c_str(), 0, 0)), testing::ExitedWithCode(255),
                "^no hay memoria en LoadTGA\n");
}

} // namespace

// Under ASan a failed allocation returns null, as it does without.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
