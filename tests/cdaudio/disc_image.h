#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

// BIN/CUE disc images made by the tests: audio tracks of known tones (left a
// sine, right a cosine, each from its start), data tracks of a fixed byte.
struct ImageTrack {
    bool audio;
    int pregapSectors; // sectors before index 1, of pregapTone
    int sectors;       // sectors from index 1 on, of tone
    double tone, pregapTone; // Hz
};

struct DiscImage {
    std::string cue;              // path of the .cue file
    std::vector<int16_t> samples; // the whole .bin as 16-bit stereo samples
    std::vector<int32_t> index1;  // first sector of index 1, by track number (entry 0 unused)
};

constexpr int SectorFrames = 588;

// The tmsf position of track, minutes, seconds, frames.
constexpr uint32_t Tmsf(int track, int minutes, int seconds, int frames)
{
    return uint32_t(track) | uint32_t(minutes) << 8 | uint32_t(seconds) << 16 | uint32_t(frames) << 24;
}

inline DiscImage WriteDiscImage(const std::filesystem::path& folder, const std::vector<ImageTrack>& tracks)
{
    DiscImage image{(folder / "disc.cue").string(), {}, {0}};
    auto append = [&](int sectors, double hz) {
        for (int n = 0; n < sectors * SectorFrames; n++) {
            const double phase = 2.0 * std::numbers::pi * hz * n / 44100.0;
            image.samples.push_back(int16_t(std::lround(8000 * std::sin(phase))));
            image.samples.push_back(int16_t(std::lround(8000 * std::cos(phase))));
        }
    };
    std::string cue = "FILE \"disc.bin\" BINARY\n";
    char line[64];
    auto index = [&](int number, int32_t sector) {
        std::snprintf(line, sizeof line, "    INDEX %02d %02d:%02d:%02d\n", number, sector / 75 / 60,
                      sector / 75 % 60, sector % 75);
        cue += line;
    };
    for (const ImageTrack& t : tracks) {
        const char* mode = t.audio ? "AUDIO" : "MODE1/2352";
        std::snprintf(line, sizeof line, "  TRACK %02zu %s\n", image.index1.size(), mode);
        cue += line;
        const int32_t start = int32_t(image.samples.size() / 2 / SectorFrames);
        if (t.pregapSectors > 0)
            index(0, start);
        append(t.pregapSectors, t.pregapTone);
        image.index1.push_back(start + t.pregapSectors);
        index(1, image.index1.back());
        if (t.audio)
            append(t.sectors, t.tone);
        else
            image.samples.insert(image.samples.end(), size_t(t.sectors) * SectorFrames * 2, int16_t(0x5555));
    }
    std::ofstream bin(folder / "disc.bin", std::ios::binary); // little-endian, as CD audio is
    for (const int16_t sample : image.samples) {
        const char bytes[2] = {char(uint16_t(sample) & 0xFF), char(uint16_t(sample) >> 8)};
        bin.write(bytes, 2);
    }
    std::ofstream(image.cue) << cue;
    return image;
}
