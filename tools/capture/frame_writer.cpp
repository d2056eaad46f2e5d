#include "capture/frame_writer.h"

#include <algorithm>

#include "capture/frame_files.h"
#include "display/display.h"

namespace {

void Work(FrameWriter* w)
{
    std::unique_lock<std::mutex> hold(w->lock);
    for (;;) {
        w->changed.wait(hold, [w] { return w->closing || !w->waiting.empty(); });
        if (w->waiting.empty())
            return;
        FrameFile f = std::move(w->waiting.front());
        w->waiting.pop_front();
        w->changed.notify_all();
        hold.unlock();
        std::string failed;
        if (!WritePngFrame(f.png, f.pixels.data()))
            failed = f.png;
        else if (!f.raw.empty() && !WriteRawFrame(f.raw, f.pixels.data()))
            failed = f.raw;
        hold.lock();
        if (!failed.empty() && w->failed.empty())
            w->failed = failed;
        w->spare.push_back(std::move(f.pixels));
        w->changed.notify_all();
    }
}

} // namespace

void StartFrameWriter(FrameWriter* writer, int workers)
{
    workers = std::max(workers, 1);
    // Two frames per worker keep every worker busy while the show draws.
    writer->limit = size_t(2 * workers);
    for (int i = 0; i < workers; i++)
        writer->workers.emplace_back(Work, writer);
}

bool QueueFrameFiles(FrameWriter* writer, const uint32_t* pixels, const std::string& png, const std::string& raw)
{
    std::unique_lock<std::mutex> hold(writer->lock);
    writer->changed.wait(hold, [writer] { return writer->waiting.size() < writer->limit || !writer->failed.empty(); });
    if (!writer->failed.empty())
        return false;
    FrameFile f;
    if (!writer->spare.empty()) {
        f.pixels = std::move(writer->spare.back());
        writer->spare.pop_back();
    }
    hold.unlock();
    f.pixels.assign(pixels, pixels + size_t(DisplayWidth) * DisplayHeight);
    f.png = png;
    f.raw = raw;
    hold.lock();
    writer->waiting.push_back(std::move(f));
    writer->changed.notify_all();
    return true;
}

std::string FinishFrameWriter(FrameWriter* writer)
{
    {
        std::lock_guard<std::mutex> hold(writer->lock);
        writer->closing = true;
    }
    writer->changed.notify_all();
    for (std::thread& t : writer->workers)
        t.join();
    writer->workers.clear();
    return writer->failed;
}
