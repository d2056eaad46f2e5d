#pragma once

#include <cstdint>
#include <cstdio>

// Sample channels. A sample is a sound file taken whole, header bytes
// included, as raw 16-bit stereo 44100 Hz data; each play puts a copy of it
// on one of 16 channels, so one sample can sound several times at once.
// Every failure is fatal, with a caption that names the operation.
constexpr int SoundChannelCount = 16;

// Room in the sample table: sample numbers 0-100.
constexpr int SampleTableSize = 101;

struct SampleBuffer;

struct SoundState {
    // The channel chosen by the last automatic choice (playsound with -1).
    uint32_t LastChannel = 0;
    SampleBuffer* Samples[SampleTableSize] = {};
    bool ChannelPlayed[SoundChannelCount] = {};
    bool DeviceOpen = false;
};
extern SoundState Sound;

// Opens the sound device for the program's window.
void InitSound();

// Loads `file` (a program file name) whole under sample number `sample`;
// flip == 1 inverts the top bit of every byte (unsigned 8-bit data made signed).
void loadsound(const char* file, int sample, int flip);

// Plays sample `sample` from its start on `channel` (0-15), or on the next
// channel in turn when channel is -1. Pan, volume and frequency are passed
// to the device, whose buffers have none of those controls.
void playsound(int sample, int pan, int volume, int frequency, int channel);

// Stops a channel; a channel outside 0-15 or one that never played is left alone.
void stopchannel(int channel);

// Releases sample `sample`; an empty entry is left alone.
void freesound(int sample);

// Releases every sample, then the sound device with the channels' copies;
// safe to call twice and before InitSound.
void EndSound();

// Length of an open file in bytes; the read position is kept.
long filesize(std::FILE* stream);

// Releases the samples still loaded and puts the record back as it was at
// the start (after EndSound).
void ResetSound();
