#pragma once

#include <cstdint>
#include <vector>

// The mixing seams of the test program: a device that records every call
// and can be made to fail at each step.
struct SampleBuffer {
    std::vector<uint8_t> bytes;
};

struct FakeChannelCall {
    int channel;
    const SampleBuffer* buffer;
};

struct FakeSoundDevice {
    bool createFails = false;
    bool cooperativeFails = false;
    int referencesLeft = 0;
    bool lockFails = false;
    bool unlockFails = false;
    bool playFails = false;
    int releasedDevices = 0;
    int releasedBuffers = 0;
    std::vector<FakeChannelCall> duplicates;
    std::vector<int> plays;
    std::vector<int> stops;
};

extern FakeSoundDevice FakeSound;
