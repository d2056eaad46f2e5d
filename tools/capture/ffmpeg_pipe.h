#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// An ffmpeg process reading raw frames on its standard input.
struct EncoderProcess {
    pid_t pid = -1;
    int input = -1; // write end of its standard input
};

// Starts `ffmpeg` (found on PATH) with the given arguments. False with a
// reason in `error` when it cannot be started, for instance because it is
// not installed.
bool StartEncoder(const std::vector<std::string>& arguments, EncoderProcess* encoder, std::string* error);

// Writes all `size` bytes to the encoder; false when it has stopped reading.
// An encoder that has ended raises no SIGPIPE in this process.
bool FeedEncoder(EncoderProcess* encoder, const void* bytes, size_t size);

// Closes its input and waits for it; true when it ended with exit code 0.
bool FinishEncoder(EncoderProcess* encoder);
