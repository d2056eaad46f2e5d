#pragma once

#include <cstdint>
#include <vector>

// The instruments of the soundtrack.
enum Instrument : uint8_t {
    Kick,
    Snare,
    ClosedHat,
    OpenHat,
    Crash,
    Bass,
    Pad,
    Stab,
    Lead,
    Pluck,
    Riser,
};

// One note: where it starts and how long it is held, in samples; the pitch
// as a MIDI note number; loudness 0..1; pan -1 (left) .. 1 (right).
struct Note {
    int64_t start;
    int64_t length;
    Instrument instrument;
    float pitch;
    float velocity;
    float pan;
};

// A stereo mix bus of float samples.
struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
};

StereoBuffer NewStereoBuffer(int64_t frames);

// Adds the note, with its release tail, into the bus. Noise comes from a
// generator seeded by the note's start, so every render is the same.
void RenderNote(const Note& note, StereoBuffer& bus);

// Ping-pong echo: each repeat `delay` samples later, `feedback` quieter,
// alternating sides; `mix` is the level of the first repeat.
void ApplyEcho(StereoBuffer& bus, int delay, float feedback, float mix);
