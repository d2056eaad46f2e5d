#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/capture/capture_platform.h"
#include "capture/bench_plot.h"
#include "capture/capture_commands.h"
#include "capture/capture_show.h"
#include "demo/timeline.h"

namespace {

struct Timing {
    size_t frames = 0;
    double mean = 0, median = 0, worst = 0;
};

Timing Summarise(std::vector<double> seconds)
{
    Timing t;
    t.frames = seconds.size();
    if (seconds.empty())
        return t;
    double sum = 0;
    for (double s : seconds)
        sum += s;
    t.mean = sum / double(seconds.size());
    t.worst = *std::max_element(seconds.begin(), seconds.end());
    std::nth_element(seconds.begin(), seconds.begin() + std::ptrdiff_t(seconds.size() / 2), seconds.end());
    t.median = seconds[seconds.size() / 2];
    return t;
}

// Median time of one memcpy of a whole 800x600 frame between two buffers
// that are not in the cache's way of each other.
double FrameCopySeconds()
{
    const size_t pixels = size_t(DisplayWidth) * DisplayHeight;
    std::vector<uint32_t> a(pixels, 0x00102030), b(pixels, 0);
    std::vector<double> times;
    for (int i = 0; i < 101; i++) {
        uint32_t* from = i % 2 ? b.data() : a.data();
        uint32_t* to = i % 2 ? a.data() : b.data();
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(to, from, pixels * sizeof(uint32_t));
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    if (a[pixels / 2] != b[pixels / 2])
        std::fprintf(stderr, "tarvel-capture: memcpy check failed\n");
    return Summarise(times).median;
}

void PrintRow(const char* name, const char* clocks, const Timing& t)
{
    if (t.frames == 0) {
        std::printf("%-6s %-13s %7zu %9s %9s %9s\n", name, clocks, t.frames, "-", "-", "-");
        return;
    }
    std::printf("%-6s %-13s %7zu %9.3f %9.3f %9.3f\n", name, clocks, t.frames, t.mean * 1e3, t.median * 1e3,
                t.worst * 1e3);
}

} // namespace

// Plays the whole show as fast as it goes and reports, per window and for
// the whole show, the time from the start of the background copy to the end
// of DrawScene, next to the time of one full-frame memcpy. With more than one
// run the show is played again from its start, the same frames in the same
// order, and each frame counts with its fastest time.
int RunBench(const CaptureOptions& options)
{
    std::vector<int> windowOf;
    std::vector<int32_t> clockOf;
    std::vector<double> fastest;
    for (int run = 0; run < options.runs; run++) {
        OpenShow();
        PlayAtRate(options.fps, ShowEndClock, [&](int64_t frame, int32_t drawn) {
            if (run == 0) {
                windowOf.push_back(SceneWindowAt(drawn));
                clockOf.push_back(drawn);
                fastest.push_back(CaptureDrawSeconds);
            } else {
                fastest[size_t(frame)] = std::min(fastest[size_t(frame)], CaptureDrawSeconds);
            }
            return true;
        });
        CloseShow();
    }
    std::vector<double> byWindow[SceneWindowCount + 1]; // [0]: frames in no window
    for (size_t i = 0; i < fastest.size(); i++)
        byWindow[windowOf[i]].push_back(fastest[i]);
    const std::vector<double>& all = fastest;
    const double copy = FrameCopySeconds();

    std::printf("frames at %d per second of music time, fastest of %d run%s; times in ms\n", options.fps,
                options.runs, options.runs == 1 ? "" : "s");
    std::printf("%-6s %-13s %7s %9s %9s %9s\n", "window", "clocks", "frames", "mean", "median", "worst");
    int worstWindow = 0;
    double worstMean = 0;
    for (int w = 1; w <= SceneWindowCount; w++) {
        const SceneWindow& sw = SceneWindows[w - 1];
        char name[8], clocks[48];
        std::snprintf(name, sizeof name, "%d", w);
        if (w == 1)
            std::snprintf(clocks, sizeof clocks, "..%lld", static_cast<long long>(sw.before - 1));
        else
            std::snprintf(clocks, sizeof clocks, "%lld..%lld", static_cast<long long>(sw.after + 1),
                          static_cast<long long>(sw.before - 1));
        const Timing t = Summarise(byWindow[w]);
        PrintRow(name, clocks, t);
        if (t.frames > 0 && t.mean > worstMean) {
            worstMean = t.mean;
            worstWindow = w;
        }
    }
    PrintRow("none", "background", Summarise(byWindow[0]));
    const Timing whole = Summarise(all);
    PrintRow("show", "all", whole);
    std::printf("memcpy of one 800x600x4-byte frame: %.3f ms\n", copy * 1e3);
    std::printf("mean frame / memcpy: %.2f\n", whole.mean / copy);
    std::printf("slowest window (%d) mean / memcpy: %.2f\n", worstWindow, worstMean / copy);
    std::printf("worst frame / memcpy: %.2f\n", whole.worst / copy);
    if (!options.plot.empty()) {
        std::vector<FrameTiming> frames;
        for (size_t i = 0; i < fastest.size(); i++)
            frames.push_back({clockOf[i], fastest[i]});
        char title[160];
        std::snprintf(title, sizeof title,
                      "Time to draw each frame, %d per second of music time, fastest of %d run%s: mean %.2f x memcpy",
                      options.fps, options.runs, options.runs == 1 ? "" : "s", whole.mean / copy);
        if (!WriteBenchPlot(options.plot, frames, copy, title)) {
            std::fprintf(stderr, "tarvel-capture: cannot write %s\n", options.plot.c_str());
            return 1;
        }
    }
    return 0;
}
