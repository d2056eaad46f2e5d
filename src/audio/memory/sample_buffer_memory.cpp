#include "audio/memory/sample_buffer_memory.h"

#include <cstdlib>

#include "audio/audio_seam.h"

// Like the written device, a buffer must hold at least one sample frame.
SampleBuffer* SampleBufferCreate(uint32_t length)
{
    if (length < SampleFrameBytes)
        return nullptr;
    auto* buffer = static_cast<SampleBuffer*>(std::malloc(sizeof(SampleBuffer)));
    if (!buffer)
        return nullptr;
    buffer->data = static_cast<uint8_t*>(std::calloc(length, 1));
    buffer->length = length;
    if (!buffer->data) {
        std::free(buffer);
        return nullptr;
    }
    return buffer;
}

uint8_t* SampleBufferLock(SampleBuffer* buffer)
{
    return buffer->data;
}

bool SampleBufferUnlock(SampleBuffer*)
{
    return true;
}

void SampleBufferRelease(SampleBuffer* buffer)
{
    std::free(buffer->data);
    std::free(buffer);
}
