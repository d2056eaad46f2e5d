#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// BIN/CUE disc images made by the tests: audio tracks of known tones, data
// tracks of a fixed byte, each track with an optional pregap of its own.
struct ImageTrack {
    bool audio;
    int pregapSectors;  // sectors before index 1, filled with pregapTone
    int sectors;        // sectors from index 1 on
    double tone;        // Hz: left a sine, right a cosine, both from the track's index 1
    double pregapTone;  // Hz, likewise from the start of the pregap
};

struct DiscImage {
    std::string cue;                  // path of the .cue file
    std::vector<int16_t> samples;     // the whole .bin as 16-bit stereo samples
    std::vector<int32_t> index1;      // first sector of index 1, by track number (entry 0 unused)
};

constexpr int SectorFrames = 588;
constexpr int16_t ToneAmplitude = 8000;

DiscImage WriteDiscImage(const std::filesystem::path& folder, const std::vector<ImageTrack>& tracks);

// The tmsf position of track, minutes, seconds, frames.
constexpr uint32_t Tmsf(int track, int minutes, int seconds, int frames)
{
    return uint32_t(track) | uint32_t(minutes) << 8 | uint32_t(seconds) << 16 | uint32_t(frames) << 24;
}
