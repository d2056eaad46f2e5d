#include "capture/progress.h"

#include <cstdio>

namespace {

void Draw(const Progress& p, int64_t done)
{
    constexpr int Width = 30;
    const double fraction = p.total > 0 ? double(done) / double(p.total) : 1.0;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - p.started).count();
    const double showSeconds = double(done) / p.fps;
    const double speed = elapsed > 0 ? showSeconds / elapsed : 0.0;
    const double left = done > 0 ? elapsed * double(p.total - done) / double(done) : 0.0;
    char bar[Width + 1];
    const int filled = int(fraction * Width);
    for (int i = 0; i < Width; i++)
        bar[i] = i < filled ? '#' : '-';
    bar[Width] = '\0';
    const int leftSeconds = int(left + 0.5);
    std::fprintf(stderr, "\r[%s] %lld/%lld frames %3d%%  %.2fx  %d:%02d left ", bar, static_cast<long long>(done),
                 static_cast<long long>(p.total), int(fraction * 100.0), speed, leftSeconds / 60, leftSeconds % 60);
    std::fflush(stderr);
}

} // namespace

Progress StartProgress(int64_t totalFrames, int fps)
{
    const auto now = std::chrono::steady_clock::now();
    return {totalFrames, fps, now, now};
}

void ShowProgress(Progress* progress, int64_t framesDone)
{
    const auto now = std::chrono::steady_clock::now();
    if (now - progress->drawn < std::chrono::milliseconds(200))
        return;
    progress->drawn = now;
    Draw(*progress, framesDone);
}

void EndProgress(Progress* progress, int64_t framesDone)
{
    Draw(*progress, framesDone);
    std::fputc('\n', stderr);
}
