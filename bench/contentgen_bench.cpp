// Cost of generating the show's content: the pictures, each soundtrack bus,
// the MP3 encoding, and the whole set on two threads as the build makes it.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "contentgen/assets.h"
#include "contentgen/font.h"
#include "contentgen/generate.h"
#include "contentgen/soundtrack.h"

namespace {

void BM_PaintAllPictures(benchmark::State& state)
{
    OpenFont();
    for (auto _ : state)
        for (const PictureAsset& asset : PictureAssets())
            benchmark::DoNotOptimize(PaintPicture(asset));
    CloseFont();
}
BENCHMARK(BM_PaintAllPictures)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_RenderSoundtrackBus(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderSoundtrackBus(int(state.range(0))));
}
// 0 drums, 1 bass, 2 chords, 3 lead.
BENCHMARK(BM_RenderSoundtrackBus)->DenseRange(0, SoundtrackBuses - 1)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_EncodeMp3(benchmark::State& state)
{
    const std::vector<int16_t> samples = RenderSoundtrack();
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeMp3(samples));
}
BENCHMARK(BM_EncodeMp3)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_WriteContent(benchmark::State& state)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tarvel-contentgen-bench";
    for (auto _ : state)
        WriteContent(dir.string());
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WriteContent)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace
