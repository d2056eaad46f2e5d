// libFuzzer target for the drawing calls over any arguments. A picture made
// from the input is written as a TGA file and loaded into a slot (LoadSlot),
// two noise layers are made, and a sequence of calls follows: DrawSlot and
// DrawSlotUnscaled with every blend mode, mirror and transformation at
// fuzzed slot numbers, positions, sizes and angles, NoiseDraw, FillRect,
// CopyRect and BlendRect (also of the target onto itself) and SlotsOverlap.
// The target's rows lie inside one block with guard pixels all round:
// afterwards the guards must be as they were and every pixel of the target
// must keep a zero top byte, as every producer of pixels does. A call that
// names no slot or layer, or a place no Screen reaches, must leave the
// target as it was. The sanitizers catch every read or write outside a heap
// block. A fatal error ends the input, not the process: this program's
// ShowMessageBox throws.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_seam.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "raster/blend.h"
#include "raster/mathtables.h"
#include "raster/screen.h"

namespace {

struct DrawEnded {};

constexpr int Guard = 4;              // guard pixels on every side of the target
constexpr uint32_t GuardPixel = 0xFF5A5A5Au; // a top byte no drawing writes
constexpr int PictureLimit = 40;      // the loaded picture's sides
constexpr int SizeLimit = 300;        // sizes asked of DrawSlot, either sign

std::string PictureFile;

// The target: `width` x `height` rows inside a block of guard pixels.
struct GuardedTarget {
    int width, height, pitch;
    std::vector<uint32_t> block;
    Screen screen{};

    GuardedTarget(int w, int h) : width(w), height(h), pitch(w + 2 * Guard), block(size_t(pitch) * size_t(h + 2 * Guard), GuardPixel)
    {
        newscreenwin(&screen, w, h);
        for (int y = 0; y < h; y++) {
            screen.rows[y] = &block[size_t(y + Guard) * size_t(pitch) + Guard];
            for (int x = 0; x < w; x++)
                screen.rows[y][x] = uint32_t(x * 0x010203 + y * 0x030201) & 0xFFFFFF;
        }
    }
    ~GuardedTarget() { std::free(screen.rows); }

    bool Intact() const
    {
        for (int y = 0; y < height + 2 * Guard; y++)
            for (int x = 0; x < pitch; x++) {
                const uint32_t p = block[size_t(y) * size_t(pitch) + size_t(x)];
                const bool inside = y >= Guard && y < Guard + height && x >= Guard && x < Guard + width;
                if (inside ? (p >> 24) != 0 : p != GuardPixel)
                    return false;
            }
        return true;
    }
};

// An uncompressed true-colour TGA of the input's choosing, some of its
// pixels black so that the keyed modes skip them.
std::vector<uint8_t> PictureBytes(FuzzedDataProvider& in)
{
    const int w = in.ConsumeIntegralInRange(0, PictureLimit), h = in.ConsumeIntegralInRange(0, PictureLimit);
    const int depth = in.ConsumeBool() ? 32 : 24;
    std::vector<uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8),
                                  uint8_t(depth), uint8_t(in.ConsumeBool() ? 0x20 : 0)};
    const uint32_t seed = in.ConsumeIntegral<uint32_t>();
    for (int i = 0; i < w * h; i++) {
        const uint32_t p = (i * 7 + seed) % 5 == 0 ? 0 : (seed * 2654435761u + uint32_t(i) * 40503u);
        for (int b = 0; b < depth / 8; b++)
            bytes.push_back(uint8_t(p >> (8 * b)));
    }
    return bytes;
}

void WritePicture(const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(PictureFile.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
        std::abort();
}

// Mostly near the target, now and then anywhere an int reaches.
int Position(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-120, 180) : in.ConsumeIntegral<int>();
}

// Mostly the loaded slot, now and then any number.
int SlotNumber(FuzzedDataProvider& in, int loaded)
{
    return in.ConsumeBool() ? loaded : in.ConsumeIntegral<int>();
}

bool NamesSlot(int slot)
{
    return uint16_t(slot) < ImageSlotCount;
}

void DrawOne(FuzzedDataProvider& in, int loaded, GuardedTarget& target)
{
    const std::vector<uint32_t> before = target.block;
    bool drawsNothing = false;
    switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
    case 1: {
        const bool unscaled = in.ConsumeBool();
        const int slot = SlotNumber(in, loaded), x = Position(in), y = Position(in);
        const int mode = in.ConsumeIntegralInRange(-2, 41), mirror = in.ConsumeIntegralInRange(-1, 5);
        const int width = in.ConsumeIntegralInRange(-SizeLimit, SizeLimit);
        const int height = in.ConsumeIntegralInRange(-SizeLimit, SizeLimit);
        const int type = in.ConsumeIntegralInRange(-1, 5);
        const int angle = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 3600) : in.ConsumeIntegral<int>();
        drawsNothing = !NamesSlot(slot) || !WithinReach(x, y);
        if (unscaled)
            DrawSlotUnscaled(slot, x, y, mode, mirror, type, angle);
        else
            DrawSlot(slot, x, y, mode, mirror, width, height, type, angle);
        break;
    }
    case 2: {
        const int layer = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 1) : in.ConsumeIntegral<int>();
        const int x = Position(in), y = Position(in);
        drawsNothing = layer < 0 || layer >= NoiseLayerCount || !WithinReach(x, y);
        NoiseDraw(layer, x, y);
        break;
    }
    case 3: {
        const int x1 = Position(in), y1 = Position(in), x2 = Position(in), y2 = Position(in);
        drawsNothing = x1 > x2 || y1 > y2;
        FillRect(x1, y1, x2, y2, in.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
        break;
    }
    case 4:
    case 5: {
        const Screen* source = in.ConsumeBool() ? &target.screen : &Images.ImageBank[uint16_t(loaded)].image;
        const int x1 = Position(in), y1 = Position(in), x2 = Position(in), y2 = Position(in);
        const int dx = Position(in), dy = Position(in), mode = in.ConsumeIntegralInRange(-1, 41);
        drawsNothing = x1 > x2 || y1 > y2;
        if (mode == 0)
            CopyRect(source, &target.screen, x1, y1, x2, y2, dx, dy);
        else
            BlendRect(source, &target.screen, x1, y1, x2, y2, dx, dy, mode);
        break;
    }
    default: {
        const int a = SlotNumber(in, loaded), b = SlotNumber(in, loaded);
        const int overlap = SlotsOverlap(a, b, Position(in), Position(in), Position(in), Position(in));
        if (overlap != 0 && overlap != 1)
            __builtin_trap();
        drawsNothing = true;
        break;
    }
    }
    if (drawsNothing && target.block != before)
        __builtin_trap();
}

} // namespace

void ShowMessageBox(const char*, const char*)
{
    throw DrawEnded{};
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A memory-backed folder where there is one: one file is written per input.
    const std::filesystem::path folder =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    PictureFile = (folder / ("tarvel-draw-fuzz-" + std::to_string(getpid()) + ".tga")).string();
    std::atexit([] { std::remove(PictureFile.c_str()); });
    CalcMathTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    SeedRandom(in.ConsumeIntegral<int>());
    GuardedTarget target(in.ConsumeIntegralInRange(1, 64), in.ConsumeIntegralInRange(1, 48));
    WritePicture(PictureBytes(in));
    const int loaded = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, ImageSlotCount - 1) : in.ConsumeIntegral<int>();
    try {
        LoadSlot(PictureFile.c_str(), loaded);
        NoiseInit(0, 0, in.ConsumeIntegralInRange(1, 80), in.ConsumeIntegralInRange(1, 60));
        NoiseInit(1, 1, in.ConsumeIntegralInRange(1, 120), in.ConsumeIntegralInRange(1, 60));
        SetTarget(&target.screen);
        for (int calls = in.ConsumeIntegralInRange(1, 8); calls > 0 && in.remaining_bytes() > 0; calls--)
            DrawOne(in, loaded, target);
    } catch (const DrawEnded&) {
        // LoadSlot refused a number outside the table: nothing was drawn.
        if (NamesSlot(loaded))
            __builtin_trap();
    }
    SetTarget(nullptr);
    ResetImages();
    if (!target.Intact())
        __builtin_trap();
    return 0;
}
