// The image bank: LoadSlot of a set of 114 pictures of the show's sizes
// (reported as MB/s of pixel data), BlitScaled enlarging 200x100 and
// shrinking 800x400 to 400x200 against SDL2's nearest-neighbour
// SDL_BlitScaled of the same sizes, and NoiseDraw of both kinds against a
// colour-keyed half-transparent SDL2 blit of the same size.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_reference.h"
#include "contentgen/tga_write.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "raster/scale.h"

namespace {

// Picture sizes of the show: count, width, height, bits per pixel.
struct PictureSet {
    int count, width, height, depth;
};
constexpr PictureSet ShowPictures[] = {
    {1, 800, 600, 24}, {15, 800, 200, 24}, {9, 800, 400, 24}, {1, 800, 800, 24}, {1, 800, 160, 32},
    {1, 700, 100, 32}, {1, 400, 400, 24},  {7, 400, 200, 24}, {5, 200, 400, 24}, {2, 250, 300, 32},
    {3, 200, 200, 32}, {28, 200, 200, 24}, {4, 200, 100, 24}, {5, 100, 100, 24}, {1, 300, 60, 32},
    {2, 64, 64, 32},   {1, 32, 32, 32},    {27, 36, 44, 32},
};

// Writes the 114 pictures into a temporary folder; removed with it.
struct PictureFolder {
    std::filesystem::path path;
    std::vector<std::string> files;
    int64_t pixelBytes = 0;

    PictureFolder()
    {
        path = std::filesystem::temp_directory_path() / ("tarvel-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(path / "graph");
        for (const PictureSet& set : ShowPictures)
            for (int i = 0; i < set.count; i++)
                Write(set, int(files.size()));
    }
    ~PictureFolder() { std::filesystem::remove_all(path); }

    void Write(const PictureSet& set, int index)
    {
        Picture picture{set.width, set.height, std::vector<uint32_t>(size_t(set.width) * size_t(set.height))};
        for (size_t i = 0; i < picture.pixels.size(); i++)
            picture.pixels[i] = uint32_t(i * 2654435761u + size_t(index)) & 0xFFFFFF;
        const std::vector<uint8_t> bytes = EncodeTga(picture, {set.depth, true, nullptr});
        const std::string name = "pic" + std::to_string(index) + ".TGA";
        std::ofstream(path / "graph" / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        files.push_back((path.string() + "/graph\\") + name);
        pixelBytes += int64_t(picture.pixels.size()) * (set.depth / 8);
    }
};

void LoadShowPictures(benchmark::State& state)
{
    PictureFolder folder;
    for (auto _ : state) {
        for (size_t i = 0; i < folder.files.size(); i++)
            LoadSlot(folder.files[i].c_str(), int(i) + 1);
        state.PauseTiming();
        for (size_t i = 0; i < folder.files.size(); i++) {
            FreeScreen(&Images.ImageBank[i + 1].image);
            Images.ImageBank[i + 1] = ImageSlot{};
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * folder.pixelBytes);
}

constexpr int ScaledSlot = 900;

void Scaled(benchmark::State& state, int srcW, int srcH, int mode)
{
    ImageSlot& slot = Images.ImageBank[ScaledSlot];
    newscreen(&slot.image, srcW, srcH);
    FillPicture(&slot.image, 1);
    Screen frame{};
    newscreen(&frame, 800, 600);
    FillPicture(&frame, 2);
    SetTarget(&frame);
    for (auto _ : state) {
        BlitScaled(&Images.ImageBank[ScaledSlot].image, 400, 300, 400, 200, mode, 0, 0, 0);
        benchmark::DoNotOptimize(frame.rows);
    }
    SetTarget(nullptr);
    FreeScreen(&frame);
    FreeScreen(&slot.image);
    slot = ImageSlot{};
}

// SDL2's nearest-neighbour stretch of the whole picture to 400x200 in the
// middle of an 800x600 surface; keyed with colour key 0.
void SdlScaled(benchmark::State& state, int srcW, int srcH, bool keyed)
{
    SDL_Surface* picture = PictureSurface(srcW, srcH, 1);
    SDL_Surface* frame = PictureSurface(800, 600, 2);
    if (keyed)
        SDL_SetColorKey(picture, SDL_TRUE, 0);
    for (auto _ : state) {
        SDL_Rect to{200, 200, 400, 200};
        SDL_BlitScaled(picture, nullptr, frame, &to);
        benchmark::DoNotOptimize(frame->pixels);
    }
    SDL_FreeSurface(picture);
    SDL_FreeSurface(frame);
}

void Noise(benchmark::State& state, int kind, int width, int height)
{
    Screen frame{};
    newscreen(&frame, 800, 600);
    FillPicture(&frame, 2);
    SetTarget(&frame);
    NoiseInit(0, kind, width, height);
    for (auto _ : state) {
        NoiseDraw(0, 0, 400);
        benchmark::DoNotOptimize(frame.rows);
    }
    NoiseFree(0);
    Images.NoiseLayers[0] = NoiseLayer{};
    SetTarget(nullptr);
    FreeScreen(&frame);
}

// A colour-keyed blit at half opacity: SDL2's nearest counterpart of blend
// mode 3, the noise layers' mode.
void SdlKeyedHalfBlend(benchmark::State& state, int w, int h)
{
    SDL_Surface* picture = PictureSurface(w, h, 1);
    SDL_Surface* frame = PictureSurface(800, 600, 2);
    SDL_SetColorKey(picture, SDL_TRUE, 0);
    SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(picture, 128);
    for (auto _ : state) {
        SDL_Rect to{0, 400, w, h};
        SDL_BlitSurface(picture, nullptr, frame, &to);
        benchmark::DoNotOptimize(frame->pixels);
    }
    SDL_FreeSurface(picture);
    SDL_FreeSurface(frame);
}

bool RegisterImageBenchmarks()
{
    benchmark::RegisterBenchmark("LoadSlot 114 show pictures/all", LoadShowPictures)->Unit(benchmark::kMillisecond);

    const std::string out = SizePath(400, 200);
    for (auto [w, h] : {std::pair{200, 100}, std::pair{800, 400}}) {
        const std::string from = " from " + SizeName(w, h);
        const std::string opaque = "BlitScaled mode 0" + from, keyed = "BlitScaled mode 1" + from;
        const std::string sdlOpaque = "SDL scaled blit" + from, sdlKeyed = "SDL keyed scaled blit" + from;
        CompareWithSdl(opaque, sdlOpaque);
        CompareWithSdl(keyed, sdlKeyed);
        benchmark::RegisterBenchmark((sdlOpaque + out).c_str(), SdlScaled, w, h, false);
        benchmark::RegisterBenchmark((sdlKeyed + out).c_str(), SdlScaled, w, h, true);
        benchmark::RegisterBenchmark((opaque + out).c_str(), Scaled, w, h, 0);
        benchmark::RegisterBenchmark((keyed + out).c_str(), Scaled, w, h, 1);
    }

    RegisterReferences(800, 200);
    const std::string streaks = "NoiseDraw kind 0 (streaks)", dots = "NoiseDraw kind 1 (dots)";
    CompareWithSdl(streaks, "SDL keyed half blend");
    CompareWithSdl(dots, "SDL keyed half blend");
    for (auto [w, h] : {std::pair{400, 200}, std::pair{800, 200}})
        benchmark::RegisterBenchmark(("SDL keyed half blend" + SizePath(w, h)).c_str(), SdlKeyedHalfBlend, w, h);
    benchmark::RegisterBenchmark((streaks + SizePath(400, 200)).c_str(), Noise, 0, 400, 200);
    benchmark::RegisterBenchmark((dots + SizePath(800, 200)).c_str(), Noise, 1, 800, 200);
    return true;
}

// Registered when the program starts, beside the benchmarks main registers.
const bool Registered = RegisterImageBenchmarks();

} // namespace
