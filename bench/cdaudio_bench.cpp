// The CD audio's cost per mixer buffer: the reader queueing disc sectors and
// the audio thread adding 1024 frames of them to the mix. A buffer of 1024
// frames lasts 23.2 ms; `x_realtime` is how many seconds of disc audio one
// second of this work gets through.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "audio/cdio/cd_ring.h"

namespace {

constexpr uint32_t SectorFrames = 588;
constexpr uint32_t BufferFrames = 1024;

void BM_CDQueueAndMixOneBuffer(benchmark::State& state)
{
    auto ring = std::make_unique<CDRing>();
    const std::vector<int16_t> sector(2 * SectorFrames, 1234);
    std::vector<int16_t> stream(2 * BufferFrames, -321);
    for (auto _ : state) {
        while (CDRingRoom(*ring) >= SectorFrames)
            CDRingAppend(*ring, sector);
        benchmark::DoNotOptimize(CDRingMixInto(*ring, stream));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * BufferFrames);
    state.counters["x_realtime"] =
        benchmark::Counter(double(state.iterations()) * BufferFrames / 44100.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CDQueueAndMixOneBuffer);

} // namespace
