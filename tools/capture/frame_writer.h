#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Frame files written on worker threads while the show draws the next
// frames: each frame handed over is copied, then encoded and written by the
// first worker free. Compression is the slow part of `frames`; the workers
// spread it over the processor's cores.
struct FrameFile {
    std::vector<uint32_t> pixels; // 800x600 0x00RRGGBB
    std::string png;              // PNG file to write
    std::string raw;              // .rgb32 file to write too, or ""
};

struct FrameWriter {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<FrameFile> waiting;
    std::vector<std::vector<uint32_t>> spare; // pixel buffers to reuse
    size_t limit = 0;                         // frames waiting at most
    bool closing = false;
    std::string failed; // the first file that could not be written
    std::vector<std::thread> workers;
};

// Starts `workers` threads (at least one).
void StartFrameWriter(FrameWriter* writer, int workers);

// Copies the frame and queues its files; waits while the queue is full.
// False, without queueing, once a file has failed.
bool QueueFrameFiles(FrameWriter* writer, const uint32_t* pixels, const std::string& png, const std::string& raw);

// Writes what is queued, stops the workers and returns the first file that
// could not be written ("" when every one was).
std::string FinishFrameWriter(FrameWriter* writer);
