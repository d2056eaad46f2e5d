// The score: a four-chord tune at about 146 beats per minute whose sections
// start exactly on the timeline's window changes. Each section fits a whole
// number of sixteenth notes, so the tempo bends by a few percent from one
// section to the next instead of a cut landing inside a beat.
#include "contentgen/soundtrack.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "contentgen/synth.h"

namespace {

constexpr int64_t SamplesPerHundredth = SampleRate / 100;
constexpr int64_t TotalFrames = int64_t(SampleRate) * SoundtrackSeconds;

// What plays in a section. Drums: kick 1 four to the floor, 2 half time;
// snare 1 back beat, 2 a roll that builds up; hats 1 off-beat opens, 2 running
// sixteenths. Bass 1 eighths, 2 syncopated. Chords 1 pad, 2 stabs, 3 both.
// Lead 1 or 2 the two themes, 3 the first theme raised by one chord tone. Arp and riser
// on or off. Key: semitones above A minor.
struct Part {
    uint8_t kick, snare, hats, bass, chords, lead, arp, riser;
    int8_t key;
};

constexpr Part Parts[] = {
    {0, 0, 0, 0, 1, 0, 1, 1, 0}, // logo grows: pad and arp swell
    {1, 0, 0, 1, 1, 0, 0, 0, 0}, // first caption: the beat starts
    {1, 0, 1, 1, 1, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 0, 0, 0, 0},
    {1, 1, 2, 2, 2, 0, 0, 0, 0}, // band images
    {1, 1, 2, 2, 3, 1, 0, 0, 0}, // dancers
    {0, 2, 0, 0, 1, 0, 1, 1, 0}, // tall picture scrolls: break
    {1, 1, 2, 2, 3, 2, 0, 0, 0},
    {2, 0, 1, 0, 1, 0, 1, 1, 0}, // second scroll
    {1, 1, 2, 2, 2, 1, 0, 0, 0}, // phrase banners
    {1, 1, 2, 2, 2, 2, 1, 0, 0},
    {1, 1, 1, 1, 3, 0, 1, 0, 0},
    {1, 1, 2, 2, 2, 3, 0, 0, 0},
    {1, 1, 2, 2, 1, 1, 1, 0, 0}, // flashes
    {1, 1, 2, 2, 2, 2, 0, 0, 0},
    {1, 1, 2, 1, 3, 1, 1, 0, 0},
    {1, 1, 2, 2, 2, 2, 0, 0, 0},
    {1, 1, 1, 2, 2, 0, 1, 0, 0}, // flicker block
    {2, 1, 1, 1, 1, 3, 1, 0, 0}, // rotating sprites: half time
    {1, 1, 2, 2, 2, 1, 1, 0, 0},
    {1, 1, 2, 2, 3, 2, 1, 0, 0},
    {1, 1, 2, 2, 3, 3, 1, 0, 0}, // three bands: peak
    {0, 0, 1, 0, 1, 0, 1, 1, 0}, // photo wall: breakdown
    {1, 0, 1, 1, 1, 2, 0, 0, 0}, // letter scroller
    {1, 1, 2, 2, 2, 1, 0, 0, 0},
    {1, 1, 2, 2, 2, 2, 1, 0, 0},
    {1, 1, 2, 2, 3, 1, 0, 0, 0},
    {1, 1, 2, 2, 3, 3, 1, 0, 0},
    {1, 1, 2, 2, 2, 1, 1, 0, 0}, // photo strip
    {1, 1, 2, 2, 2, 2, 1, 0, 0},
    {1, 1, 2, 2, 3, 3, 1, 0, 0},
    {1, 1, 2, 2, 3, 3, 1, 0, 0},
    {1, 2, 2, 1, 1, 0, 1, 1, 0}, // shrinking grids: build up a step at a time
    {1, 2, 2, 1, 1, 0, 1, 1, 2},
    {1, 2, 2, 1, 1, 0, 1, 1, 3},
    {1, 2, 2, 1, 1, 0, 1, 1, 5},
    {1, 1, 2, 2, 3, 3, 1, 0, 0}, // finale with the logo
    {0, 0, 0, 0, 1, 0, 0, 0, 0}, // the last chord rings out
};
static_assert(std::size(Parts) == std::size(SectionStarts));

// Clock values of the flashes: each gets a stab and a crash.
constexpr int FlashHits[] = {3625, 3660, 3682, 3888, 3928, 3961, 4282, 4307, 4329};

struct Chord {
    int root; // pitch class, 0 = C
    bool minor;
};
constexpr Chord Progression[] = {{9, true}, {5, false}, {0, false}, {7, false}}; // Am F C G

// Melody notes: step in a two-bar phrase, length in steps, and a chord tone
// (0 root, 1 third, 2 fifth, 3 the root an octave up, ...).
struct MotifNote {
    int step, length, tone;
};
constexpr MotifNote ThemeA[] = {{0, 3, 2},  {3, 3, 1},  {6, 2, 0},  {8, 4, 2},  {12, 2, 3}, {14, 2, 4},
                                {16, 6, 3}, {22, 2, 2}, {24, 2, 1}, {26, 2, 2}, {28, 4, 0}};
constexpr MotifNote ThemeB[] = {{0, 2, 0},  {2, 2, 1},  {4, 2, 2},  {6, 2, 3},  {8, 6, 4},
                                {14, 2, 3}, {16, 4, 2}, {20, 4, 1}, {24, 8, 0}};
constexpr int ArpTones[] = {0, 1, 2, 3, 4, 3, 2, 1};

int ChordTone(const Chord& c, int tone)
{
    const int intervals[3] = {0, c.minor ? 3 : 4, 7};
    return intervals[tone % 3] + 12 * (tone / 3);
}

// Root of the chord placed in the octave that starts at `low`.
int RootFrom(const Chord& c, int low) { return low + ((c.root - low) % 12 + 12) % 12; }

struct Buses {
    std::vector<Note> drums, bass, chords, lead;
};

void AddSection(Buses& b, int section, int& chordCounter)
{
    const Part& part = Parts[section];
    const int64_t start = int64_t(SectionStarts[section]) * SamplesPerHundredth;
    const int64_t end = section + 1 < int(std::size(SectionStarts))
                            ? int64_t(SectionStarts[section + 1]) * SamplesPerHundredth
                            : TotalFrames - SampleRate; // leave a second of silence
    const int steps = std::max(1, int(std::lround(double(end - start) / SampleRate / NominalStep)));
    auto at = [&](int k) { return start + (end - start) * k / steps; };
    auto span = [&](int k, int count) { return at(std::min(k + count, steps)) - at(k); };
    const float key = float(part.key);

    if (part.riser)
        b.chords.push_back({start, end - start, Riser, 60, 0.5f, 0});
    if (part.kick || part.snare || section + 1 == int(std::size(Parts)))
        b.drums.push_back({start, span(0, 16), Crash, 60, 0.4f, 0});

    Chord chord = Progression[0];
    for (int k = 0; k < steps; ++k) {
        const int p = k % 16, left = steps - k;
        const float progress = float(k) / float(steps);
        if (p == 0)
            chord = Progression[chordCounter++ % 4];
        const bool fill = part.snare == 1 && steps >= 12 && left <= 4;

        if ((part.kick == 1 && p % 4 == 0) || (part.kick == 2 && (p == 0 || p == 10)))
            b.drums.push_back({at(k), span(k, 1), Kick, 0, 1.0f, 0});
        if (part.snare == 1 && !fill && (p == 4 || p == 12))
            b.drums.push_back({at(k), span(k, 1), Snare, 0, 0.75f, 0.05f});
        if (fill)
            b.drums.push_back({at(k), span(k, 1), Snare, 0, 0.45f + 0.1f * float(4 - left), 0.05f});
        if (part.snare == 2) {
            int every = progress < 0.5f ? 4 : (progress < 0.75f ? 2 : 1);
            if (k % every == 0)
                b.drums.push_back({at(k), span(k, 1), Snare, 0, 0.25f + 0.6f * progress, 0.05f});
        }
        if (part.hats == 1 && p % 4 == 2)
            b.drums.push_back({at(k), span(k, 1), OpenHat, 0, 0.5f, -0.3f});
        if (part.hats == 2)
            b.drums.push_back({at(k), span(k, 1), p % 4 == 2 ? OpenHat : ClosedHat, 0, p % 2 ? 0.45f : 0.7f, -0.3f});

        const float bassRoot = float(RootFrom(chord, 33)) + key;
        if (part.bass == 1 && p % 2 == 0)
            b.bass.push_back({at(k), span(k, 1) * 3 / 2, Bass, bassRoot + (p % 4 == 2 ? 12.0f : 0.0f), 0.9f, 0});
        if (part.bass == 2 && (p == 0 || p == 3 || p == 6 || p == 8 || p == 11 || p == 14))
            b.bass.push_back({at(k), span(k, 2), Bass, bassRoot + (p == 6 || p == 14 ? 12.0f : 0.0f), 1.0f, 0});

        const int padRoot = RootFrom(chord, 52);
        if ((part.chords & 1) && (p == 0 || k == 0))
            for (int tone = 0; tone < 3; ++tone)
                b.chords.push_back({at(k), span(k, 16 - p), Pad, float(padRoot + ChordTone(chord, tone)) + key,
                                    part.chords == 3 ? 0.3f : 0.45f, -0.2f + 0.15f * float(tone)});
        if ((part.chords & 2) && p % 4 == 2)
            for (int tone = 1; tone < 5; ++tone)
                b.chords.push_back({at(k), span(k, 1), Stab, float(padRoot + ChordTone(chord, tone)) + key, 0.3f,
                                    0.3f - 0.15f * float(tone)});

        const int leadRoot = RootFrom(chord, 60);
        if (part.lead) {
            const MotifNote* first = part.lead == 2 ? std::begin(ThemeB) : std::begin(ThemeA);
            const MotifNote* last = part.lead == 2 ? std::end(ThemeB) : std::end(ThemeA);
            for (const MotifNote* m = first; m != last; ++m)
                if (m->step == k % 32)
                    b.lead.push_back({at(k), span(k, m->length), Lead,
                                      float(leadRoot + ChordTone(chord, m->tone + (part.lead == 3 ? 1 : 0))) + key,
                                      0.8f, 0});
        }
        if (part.arp)
            b.lead.push_back({at(k), span(k, 1), Pluck, float(leadRoot + ChordTone(chord, ArpTones[k % 8])) + key,
                              0.35f + 0.3f * (p % 4 == 0), k % 2 ? 0.45f : -0.45f});
    }
}

void AddFlashHits(Buses& b)
{
    for (int hit : FlashHits) {
        const int64_t t = int64_t(hit) * SamplesPerHundredth;
        b.drums.push_back({t, SampleRate / 5, Crash, 0, 0.45f, 0});
        for (int tone = 0; tone < 4; ++tone)
            b.chords.push_back({t, SampleRate / 5, Stab, float(57 + ChordTone(Progression[0], tone)), 0.55f, 0});
    }
}

Buses Score()
{
    Buses buses;
    int chordCounter = 0;
    for (int s = 0; s < int(std::size(Parts)); ++s)
        AddSection(buses, s, chordCounter);
    AddFlashHits(buses);
    return buses;
}

} // namespace

StereoBuffer RenderSoundtrackBus(int bus)
{
    const Buses score = Score();
    const std::vector<Note>* notes[SoundtrackBuses] = {&score.drums, &score.bass, &score.chords, &score.lead};
    StereoBuffer out = NewStereoBuffer(TotalFrames);
    for (const Note& n : *notes[bus])
        RenderNote(n, out);
    if (bus == 3) // the lead and the arpeggios echo a dotted eighth later
        ApplyEcho(out, int(NominalStep * 3 * SampleRate), 0.35f, 0.35f);
    return out;
}

std::vector<int16_t> MixSoundtrack(const StereoBuffer (&buses)[SoundtrackBuses])
{
    const float gains[SoundtrackBuses] = {0.9f, 0.6f, 0.7f, 0.65f};
    StereoBuffer master = NewStereoBuffer(TotalFrames);
    for (int b = 0; b < SoundtrackBuses; ++b)
        for (size_t i = 0; i < master.left.size(); ++i) {
            master.left[i] += buses[b].left[i] * gains[b];
            master.right[i] += buses[b].right[i] * gains[b];
        }

    // Level: bring the average loudness up, round off the peaks with a soft
    // saturation, and keep the result under full scale.
    double energy = 0;
    for (size_t i = 0; i < master.left.size(); ++i)
        energy += double(master.left[i]) * master.left[i] + double(master.right[i]) * master.right[i];
    const float rms = float(std::sqrt(energy / double(2 * master.left.size())));
    const float gain = rms > 0 ? 0.24f / rms : 1.0f;
    const int64_t fadeFrom = TotalFrames - 3 * SampleRate;
    std::vector<int16_t> out(size_t(2 * TotalFrames));
    for (int64_t i = 0; i < TotalFrames; ++i) {
        float fade = i < fadeFrom ? 1.0f : std::max(0.0f, float(TotalFrames - SampleRate - i) / float(2 * SampleRate));
        float l = std::tanh(master.left[size_t(i)] * gain) * 0.89f * fade;
        float r = std::tanh(master.right[size_t(i)] * gain) * 0.89f * fade;
        out[size_t(2 * i)] = int16_t(std::lround(l * 32767.0f));
        out[size_t(2 * i + 1)] = int16_t(std::lround(r * 32767.0f));
    }
    return out;
}

std::vector<int16_t> RenderSoundtrack()
{
    StereoBuffer buses[SoundtrackBuses];
    for (int b = 0; b < SoundtrackBuses; ++b)
        buses[b] = RenderSoundtrackBus(b);
    return MixSoundtrack(buses);
}
