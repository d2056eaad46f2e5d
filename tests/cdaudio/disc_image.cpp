#include "cdaudio/disc_image.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>

static void AppendTone(std::vector<int16_t>& samples, int sectors, double hz)
{
    const int frames = sectors * SectorFrames;
    for (int n = 0; n < frames; n++) {
        const double phase = 2.0 * std::numbers::pi * hz * n / 44100.0;
        samples.push_back(int16_t(std::lround(ToneAmplitude * std::sin(phase))));
        samples.push_back(int16_t(std::lround(ToneAmplitude * std::cos(phase))));
    }
}

static std::string Msf(int32_t sector)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", sector / 75 / 60, sector / 75 % 60, sector % 75);
    return text;
}

DiscImage WriteDiscImage(const std::filesystem::path& folder, const std::vector<ImageTrack>& tracks)
{
    DiscImage image;
    image.index1.push_back(0);
    std::string cue = "FILE \"disc.bin\" BINARY\n";
    int track = 1;
    for (const ImageTrack& t : tracks) {
        char header[64];
        std::snprintf(header, sizeof header, "  TRACK %02d %s\n", track++, t.audio ? "AUDIO" : "MODE1/2352");
        cue += header;
        const int32_t start = int32_t(image.samples.size() / 2 / SectorFrames);
        if (t.pregapSectors > 0) {
            cue += "    INDEX 00 " + Msf(start) + "\n";
            AppendTone(image.samples, t.pregapSectors, t.pregapTone);
        }
        image.index1.push_back(start + t.pregapSectors);
        cue += "    INDEX 01 " + Msf(start + t.pregapSectors) + "\n";
        if (t.audio)
            AppendTone(image.samples, t.sectors, t.tone);
        else
            image.samples.insert(image.samples.end(), size_t(t.sectors) * SectorFrames * 2, int16_t(0x5555));
    }
    // Little-endian on disc, as CD audio is.
    std::ofstream bin(folder / "disc.bin", std::ios::binary);
    for (const int16_t sample : image.samples) {
        const char bytes[2] = {char(uint16_t(sample) & 0xFF), char(uint16_t(sample) >> 8)};
        bin.write(bytes, 2);
    }
    image.cue = (folder / "disc.cue").string();
    std::ofstream(image.cue) << cue;
    return image;
}
