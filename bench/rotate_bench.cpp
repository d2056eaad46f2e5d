// BlitRotated of a 400x200 picture onto an 800x600 frame, keyed (mode 1):
// rotation and both shears, each including its temporary Screen. Rotation is
// compared with SDL2's software renderer turning the same picture; the shears
// have no SDL2 counterpart and are set against its plain keyed blit.
#include <cstring>
#include <string>

#include "bench_reference.h"
#include "raster/mathtables.h"
#include "raster/rotate.h"

namespace {

constexpr int PictureWidth = 400, PictureHeight = 200;

void Rotated(benchmark::State& state, int type, int angle)
{
    CalcMathTables();
    Screen src{}, dst{};
    newscreen(&src, PictureWidth, PictureHeight);
    newscreen(&dst, 800, 600);
    FillPicture(&src, 1);
    FillPicture(&dst, 2);
    for (auto _ : state) {
        BlitRotated(&src, &dst, 0, 0, PictureWidth - 1, PictureHeight - 1, (800 - PictureWidth) / 2,
                    (600 - PictureHeight) / 2, 1, 0, type, angle);
        benchmark::DoNotOptimize(dst.rows);
    }
    FreeScreen(&src);
    FreeScreen(&dst);
}

// The same picture turned by the same angle through SDL2's software
// renderer, colour-keyed, into an 800x600 surface.
void SdlRotated(benchmark::State& state, double degrees)
{
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, PictureWidth, PictureHeight, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_RGB888);
    Screen pixels{};
    newscreen(&pixels, PictureWidth, PictureHeight);
    FillPicture(&pixels, 1);
    for (int y = 0; y < PictureHeight; y++)
        std::memcpy(static_cast<uint8_t*>(picture->pixels) + y * picture->pitch, pixels.rows[y],
                    PictureWidth * sizeof(uint32_t));
    FreeScreen(&pixels);
    SDL_SetColorKey(picture, SDL_TRUE, 0);

    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(frame);
    SDL_Texture* texture = renderer ? SDL_CreateTextureFromSurface(renderer, picture) : nullptr;
    if (!texture) {
        state.SkipWithError("SDL software renderer unavailable");
    } else {
        const SDL_Rect to{(800 - PictureWidth) / 2, (600 - PictureHeight) / 2, PictureWidth, PictureHeight};
        for (auto _ : state) {
            SDL_RenderCopyEx(renderer, texture, nullptr, &to, degrees, nullptr, SDL_FLIP_NONE);
            benchmark::DoNotOptimize(frame->pixels);
        }
        SDL_DestroyTexture(texture);
    }
    if (renderer)
        SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(picture);
    SDL_FreeSurface(frame);
}

bool RegisterRotateBenchmarks()
{
    const std::string size = SizePath(PictureWidth, PictureHeight);
    const std::string rotation = "BlitRotated mode 1, type 1 (rotation 30)";
    const std::string columns = "BlitRotated mode 1, type 2 (column shear 30)";
    const std::string rows = "BlitRotated mode 1, type 3 (row shear 30)";
    CompareWithSdl(rotation, "SDL keyed rotation");
    CompareWithSdl(columns, "SDL keyed blit");
    CompareWithSdl(rows, "SDL keyed blit");
    benchmark::RegisterBenchmark(("SDL keyed rotation" + size).c_str(), SdlRotated, -30.0);
    benchmark::RegisterBenchmark((rotation + size).c_str(), Rotated, TransformRotate, 300);
    benchmark::RegisterBenchmark((columns + size).c_str(), Rotated, TransformShearColumns, 300);
    benchmark::RegisterBenchmark((rows + size).c_str(), Rotated, TransformShearRows, 300);
    return true;
}

// Registered when the program starts, beside the benchmarks main registers.
const bool Registered = RegisterRotateBenchmarks();

} // namespace
