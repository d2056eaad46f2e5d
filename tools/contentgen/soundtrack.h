#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "contentgen/synth.h"

// Sample rate of the soundtrack and its length: the show ends at 133.46 s
// of playback, the music rings out a little beyond.
constexpr int SampleRate = 44100;
constexpr int SoundtrackSeconds = 137;

// A sixteenth note at the nominal tempo of 146 beats per minute, in seconds.
// Each section holds a whole number of sixteenths, so within a section the
// tempo is bent slightly to fit its length.
constexpr double NominalStep = 60.0 / 146.0 / 4.0;

// The soundtrack changes section on these clock values (hundredths of a
// second): the values at which the show's timeline moves to its next window,
// so picture and music cut together. The last section is the tail after the
// show has closed.
constexpr int SectionStarts[] = {0,    475,  682,  882,  1086, 1290, 1470, 1640,  1807,  2026,  2370,  2710,  2998,
                                 3336, 3711, 3998, 4354, 4651, 4973, 5289, 5629,  6080,  6736,  7640,  8508,  8901,
                                 9292, 9686, 10011, 10389, 10679, 11045, 11339, 11504, 11669, 11838, 12010, 13346};

// The soundtrack is mixed from four buses: drums, bass, chords, lead. They
// are independent, so they can be rendered on different threads; the mix
// adds them in a fixed order, so the result never depends on which.
constexpr int SoundtrackBuses = 4;
StereoBuffer RenderSoundtrackBus(int bus);

// Interleaved 16-bit stereo samples of the mixed, levelled buses.
std::vector<int16_t> MixSoundtrack(const StereoBuffer (&buses)[SoundtrackBuses]);

// All of it on the calling thread.
std::vector<int16_t> RenderSoundtrack();

// MP3 bytes of interleaved stereo samples at SampleRate.
std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& samples);
