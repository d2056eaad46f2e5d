// libFuzzer target for the drawing calls over any arguments: a fuzzed picture in a slot, two noise
// layers, then drawing calls with fuzzed slots, positions, sizes, modes, mirrors, types and angles onto
// a target whose rows lie in one block with guard pixels all round, which must stay as they were.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/app_seam.h"
#include "contentgen/tga_write.h"
#include "fuzz_file.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "raster/blend.h"
#include "raster/mathtables.h"
#include "raster/screen.h"

namespace {

struct DrawEnded {};

constexpr int Guard = 4;
constexpr uint32_t GuardPixel = 0xFF5A5A5Au;

// A value mostly in [low, high], now and then anything an int holds.
int Mostly(FuzzedDataProvider& in, int low, int high)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(low, high) : in.ConsumeIntegral<int>();
}

int Position(FuzzedDataProvider& in)
{
    return Mostly(in, -120, 180);
}

void DrawOne(FuzzedDataProvider& in, int loaded, Screen* target)
{
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0: {
        const int slot = Mostly(in, loaded, loaded), x = Position(in), y = Position(in);
        const int mode = in.ConsumeIntegralInRange(-2, 41), mirror = in.ConsumeIntegralInRange(-1, 5);
        const int width = in.ConsumeIntegralInRange(-300, 300), height = in.ConsumeIntegralInRange(-300, 300);
        const int type = in.ConsumeIntegralInRange(-1, 5), angle = Mostly(in, 0, 3600);
        if (in.ConsumeBool())
            DrawSlotUnscaled(slot, x, y, mode, mirror, type, angle);
        else
            DrawSlot(slot, x, y, mode, mirror, width, height, type, angle);
        break;
    }
    case 1:
        NoiseDraw(Mostly(in, 0, 1), Position(in), Position(in));
        break;
    case 2:
        FillRect(Position(in), Position(in), Position(in), Position(in), in.ConsumeIntegral<uint32_t>() & 0xFFFFFF);
        break;
    case 3: {
        const Screen* source = in.ConsumeBool() ? target : &Images.ImageBank[uint16_t(loaded)].image;
        const int x1 = Position(in), y1 = Position(in), x2 = Position(in), y2 = Position(in);
        const int dx = Position(in), dy = Position(in), mode = in.ConsumeIntegralInRange(-1, 41);
        if (mode == 0)
            CopyRect(source, target, x1, y1, x2, y2, dx, dy);
        else
            BlendRect(source, target, x1, y1, x2, y2, dx, dy, mode);
        break;
    }
    default:
        SlotsOverlap(Mostly(in, loaded, loaded), Mostly(in, loaded, loaded), Position(in), Position(in),
                     Position(in), Position(in));
    }
}

} // namespace

// A fatal error ends the input, not the process.
void ShowMessageBox(const char*, const char*)
{
    throw DrawEnded{};
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CalcMathTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    SeedRandom(in.ConsumeIntegral<int>());
    const int w = in.ConsumeIntegralInRange(1, 64), h = in.ConsumeIntegralInRange(1, 48), pitch = w + 2 * Guard;
    std::vector<uint32_t> block(size_t(pitch * (h + 2 * Guard)), GuardPixel);
    Screen target{};
    newscreenwin(&target, w, h);
    for (int y = 0; y < h; y++)
        std::fill_n(target.rows[y] = &block[size_t((y + Guard) * pitch + Guard)], w, 0x00336699u);
    // A picture of up to 40 x 40 pixels, about one in five black for the keyed modes.
    Picture picture{in.ConsumeIntegralInRange(0, 40), in.ConsumeIntegralInRange(0, 40), {}};
    const uint32_t seed = in.ConsumeIntegral<uint32_t>();
    for (uint32_t i = 0; i < uint32_t(picture.width * picture.height); i++)
        picture.pixels.push_back((i * 7 + seed) % 5 == 0 ? 0 : (seed * 2654435761u + i * 40503u) & 0xFFFFFF);
    const std::vector<uint8_t> file = EncodeTga(picture, {in.ConsumeBool() ? 32 : 24, in.ConsumeBool(), nullptr});
    WriteWholeFile(ScratchFile(), file.data(), file.size());
    const int loaded = Mostly(in, 0, ImageSlotCount - 1);
    try {
        LoadSlot(ScratchFile(), loaded);
        NoiseInit(0, 0, in.ConsumeIntegralInRange(1, 80), in.ConsumeIntegralInRange(1, 60));
        NoiseInit(1, 1, in.ConsumeIntegralInRange(1, 120), in.ConsumeIntegralInRange(1, 60));
        SetTarget(&target);
        for (int calls = in.ConsumeIntegralInRange(1, 8); calls > 0 && in.remaining_bytes() > 0; calls--)
            DrawOne(in, loaded, &target);
    } catch (const DrawEnded&) {
    }
    SetTarget(nullptr);
    ResetImages();
    std::free(target.rows);
    // Inside the target's rows the pixels may be anything; all around them the guards stay.
    for (int y = 0; y < h; y++)
        std::fill_n(&block[size_t((y + Guard) * pitch + Guard)], w, GuardPixel);
    if (std::count(block.begin(), block.end(), GuardPixel) != std::ssize(block))
        __builtin_trap();
    return 0;
}
