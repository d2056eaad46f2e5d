// CopyRect, every BlendRect mode and a mirrored Blit on a full 800x600 frame
// and on a 200x200 sprite drawn into the middle of one; then every row kernel
// of every kernel set this processor runs, over a full frame.
#include <string>

#include "bench_reference.h"
#include "raster/blend.h"
#include "raster/blit.h"
#include "raster/row_transfer.h"

namespace {

struct Frame {
    Screen src{}, dst{};
    Frame(int w, int h)
    {
        newscreen(&src, w, h);
        newscreen(&dst, 800, 600);
        FillPicture(&src, 1);
        FillPicture(&dst, 2);
    }
    ~Frame()
    {
        FreeScreen(&src);
        FreeScreen(&dst);
    }
};

void Copy(benchmark::State& state, int w, int h)
{
    Frame f(w, h);
    for (auto _ : state) {
        CopyRect(&f.src, &f.dst, 0, 0, w - 1, h - 1, (800 - w) / 2, (600 - h) / 2);
        benchmark::DoNotOptimize(f.dst.rows);
    }
}

void Blend(benchmark::State& state, int w, int h, int mode)
{
    Frame f(w, h);
    for (auto _ : state) {
        BlendRect(&f.src, &f.dst, 0, 0, w - 1, h - 1, (800 - w) / 2, (600 - h) / 2, mode);
        benchmark::DoNotOptimize(f.dst.rows);
    }
}

void Mirrored(benchmark::State& state, int w, int h, int mode, int mirror)
{
    Frame f(w, h);
    for (auto _ : state) {
        Blit(&f.src, &f.dst, 0, 0, w - 1, h - 1, (800 - w) / 2, (600 - h) / 2, mode, mirror);
        benchmark::DoNotOptimize(f.dst.rows);
    }
}

// One kernel of one set over every row of a full frame, as BlendRect would
// run the active set's.
void Kernel(benchmark::State& state, const RowKernelSet* set, int mode)
{
    Frame f(800, 600);
    const RowTransfer row = set->forward[size_t(mode)];
    for (auto _ : state) {
        for (int y = 0; y < 600; y++)
            row(f.src.rows[y], f.dst.rows[y], 800);
        benchmark::DoNotOptimize(f.dst.rows);
    }
}

} // namespace

void RegisterRasterBenchmarks()
{
    CompareWithSdl("CopyRect", "SDL opaque blit");
    CompareWithSdl("BlendRect mode 1 (keyed copy)", "SDL keyed blit");
    CompareWithSdl("Blit mode 1, mirror 1", "SDL keyed blit");
    for (auto [w, h] : {std::pair{800, 600}, std::pair{200, 200}}) {
        const std::string size = SizePath(w, h);
        benchmark::RegisterBenchmark(("CopyRect" + size).c_str(), Copy, w, h);
        for (int mode = 1; mode < BlendModeCount; mode++) {
            std::string name = "BlendRect mode " + std::to_string(mode);
            if (mode == 1)
                name += " (keyed copy)";
            benchmark::RegisterBenchmark((name + size).c_str(), Blend, w, h, mode);
        }
        benchmark::RegisterBenchmark(("Blit mode 0, mirror 1" + size).c_str(), Mirrored, w, h, 0, 1);
        benchmark::RegisterBenchmark(("Blit mode 1, mirror 1" + size).c_str(), Mirrored, w, h, 1, 1);
        benchmark::RegisterBenchmark(("Blit mode 1, mirror 3" + size).c_str(), Mirrored, w, h, 1, 3);
    }
    for (const RowKernelSet* set : UsableRowKernelSets())
        for (int mode = 0; mode < BlendModeCount; mode++) {
            const std::string name = std::string("Row kernels ") + set->name + ", mode " + std::to_string(mode);
            benchmark::RegisterBenchmark((name + SizePath(800, 600)).c_str(), Kernel, set, mode)->MinTime(0.1);
        }
}
