#include "bench_reference.h"

#include <cstring>
#include <map>
#include <random>
#include <vector>

std::map<std::string, std::string>& SdlReferences()
{
    static std::map<std::string, std::string> references;
    return references;
}

void CompareWithSdl(const std::string& operation, const std::string& sdlOperation)
{
    SdlReferences()[operation] = sdlOperation;
}

void FillPicture(Screen* s, unsigned seed)
{
    std::mt19937 rng(seed);
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            s->rows[y][x] = rng() % 8 == 0 ? 0 : rng() & 0xFFFFFF;
}

SDL_Surface* PictureSurface(int w, int h, unsigned seed)
{
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; y++) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; x++)
            row[x] = rng() % 8 == 0 ? 0 : rng() & 0xFFFFFF;
    }
    return s;
}

namespace {

void SdlBlit(benchmark::State& state, int w, int h, bool keyed)
{
    SDL_Surface* src = PictureSurface(w, h, 1);
    SDL_Surface* dst = PictureSurface(800, 600, 2);
    if (keyed)
        SDL_SetColorKey(src, SDL_TRUE, 0);
    for (auto _ : state) {
        SDL_Rect to{(800 - w) / 2, (600 - h) / 2, w, h};
        SDL_BlitSurface(src, nullptr, dst, &to);
        benchmark::DoNotOptimize(dst->pixels);
    }
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}

void Memcpy(benchmark::State& state, int w, int h)
{
    std::vector<uint32_t> from(size_t(w) * size_t(h), 0x123456), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

void RegisterReferences(int w, int h)
{
    const std::string size = SizePath(w, h);
    benchmark::RegisterBenchmark(("memcpy" + size).c_str(), Memcpy, w, h);
    benchmark::RegisterBenchmark(("SDL opaque blit" + size).c_str(), SdlBlit, w, h, false);
    benchmark::RegisterBenchmark(("SDL keyed blit" + size).c_str(), SdlBlit, w, h, true);
}
