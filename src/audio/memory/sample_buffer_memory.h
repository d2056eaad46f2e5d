#pragma once

#include <cstdint>

// Sample buffers in the program's own memory, for sound devices whose
// channels make voices of their own from a copy of the bytes (SDL, the
// browser): the seam's SampleBuffer and its create, lock, unlock and release
// (sample_buffer_memory.cpp).

// One sample frame: 16-bit stereo.
constexpr uint32_t SampleFrameBytes = 4;

struct SampleBuffer {
    uint8_t* data;
    uint32_t length; // bytes, at least one frame
};
