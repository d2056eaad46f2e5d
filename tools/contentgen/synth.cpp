#include "contentgen/synth.h"

#include <algorithm>
#include <cmath>

#include "contentgen/picture.h"
#include "contentgen/soundtrack.h"

namespace {

constexpr float TwoPiF = 6.28318530717959f;
constexpr float Rate = float(SampleRate);

float Frequency(float midi) { return 440.0f * std::exp2((midi - 69.0f) / 12.0f); }

// Saw wave with the step smoothed over one sample (PolyBLEP) against aliasing.
float Saw(float phase, float step)
{
    float v = 2.0f * phase - 1.0f;
    if (phase < step) {
        float t = phase / step;
        v -= t + t - t * t - 1.0f;
    } else if (phase > 1.0f - step) {
        float t = (phase - 1.0f) / step;
        v -= t * t + t + t + 1.0f;
    }
    return v;
}

// Two one-pole low-pass stages: 12 dB per octave. The coefficient is set
// per block of samples, not per sample, to keep the exponential out of the
// inner loop.
struct LowPass {
    float a = 0, b = 0, k = 0;
};

void SetCutoff(LowPass& f, float cutoff) { f.k = 1.0f - std::exp(-TwoPiF * std::min(cutoff, Rate * 0.45f) / Rate); }

float Filter(LowPass& f, float x)
{
    f.a += f.k * (x - f.a);
    f.b += f.k * (f.a - f.b);
    return f.b;
}

struct Noise {
    uint32_t state;
};

float NextNoise(Noise& n)
{
    n.state = n.state * 1664525u + 1013904223u;
    return float(int32_t(n.state)) * (1.0f / 2147483648.0f);
}

// Attack, then hold at full level until `hold`, then exponential release.
float Envelope(float t, float attack, float hold, float release)
{
    if (t < attack)
        return t / attack;
    if (t < hold)
        return 1.0f;
    return std::exp(-(t - hold) / release);
}

// Seconds of tail each instrument rings after its held length.
float TailOf(Instrument i)
{
    switch (i) {
    case Kick: return 0.45f;
    case Snare: return 0.3f;
    case ClosedHat: return 0.08f;
    case OpenHat: return 0.35f;
    case Crash: return 2.2f;
    case Pad: return 0.9f;
    case Stab: return 0.35f;
    case Lead: return 0.25f;
    case Pluck: return 0.4f;
    default: return 0.15f;
    }
}

} // namespace

StereoBuffer NewStereoBuffer(int64_t frames)
{
    return StereoBuffer{std::vector<float>(size_t(frames), 0.0f), std::vector<float>(size_t(frames), 0.0f)};
}

void RenderNote(const Note& note, StereoBuffer& bus)
{
    // Envelopes, cutoffs and pitch sweeps change slowly: they are computed
    // once per block and the envelope is interpolated across it.
    constexpr int Block = 32;
    const int64_t total = int64_t(bus.left.size());
    const float held = float(note.length) / Rate;
    const int64_t frames = std::min<int64_t>(note.length + int64_t(TailOf(note.instrument) * Rate), total - note.start);
    const float gainLeft = std::sqrt(0.5f * (1.0f - note.pan)) * note.velocity;
    const float gainRight = std::sqrt(0.5f * (1.0f + note.pan)) * note.velocity;
    const float freq = Frequency(note.pitch);
    Noise noise{uint32_t(note.start * 2654435761u) ^ uint32_t(note.instrument) * 40503u};
    Noise noise2{noise.state ^ 0x9E3779B9u};
    LowPass lp, lp2;
    float phase = 0, phase2 = 0, phase3 = 0, previous = 0, previous2 = 0;
    float* outLeft = &bus.left[size_t(note.start)];
    float* outRight = &bus.right[size_t(note.start)];

    for (int64_t b = 0; b < frames; b += Block) {
        const int n = int(std::min<int64_t>(Block, frames - b));
        const float t0 = float(b) / Rate, t1 = float(b + n) / Rate;
        // Each instrument: its envelope at both ends of the block and its
        // slowly changing controls, then the samples of the block.
        float e0 = 1, e1 = 1, step = freq / Rate;
        float* l = outLeft + b;
        float* r = outRight + b;
        auto ramp = [&](int i) { return e0 + (e1 - e0) * float(i) / float(n); };
        switch (note.instrument) {
        case Kick: {
            e0 = std::exp(-t0 * 6.5f);
            e1 = std::exp(-t1 * 6.5f);
            step = (48.0f + 130.0f * std::exp(-t0 * 28.0f)) / Rate;
            const float click = std::exp(-t0 * 400.0f) * 0.3f;
            for (int i = 0; i < n; ++i) {
                phase = Fract(phase + step);
                float v = std::tanh((std::sin(TwoPiF * phase) * ramp(i) + NextNoise(noise) * click) * 1.6f);
                l[i] += v * gainLeft;
                r[i] += v * gainRight;
            }
            break;
        }
        case Snare: {
            e0 = std::exp(-t0 * 13.0f);
            e1 = std::exp(-t1 * 13.0f);
            const float body = std::exp(-t0 * 22.0f) * 0.6f;
            SetCutoff(lp, 5000.0f); // the rattle, kept off the top octave
            for (int i = 0; i < n; ++i) {
                phase = Fract(phase + 190.0f / Rate);
                float rattle = Filter(lp, NextNoise(noise)) * 1.6f;
                float v = (std::sin(TwoPiF * phase) * body + rattle * ramp(i)) * 0.9f;
                l[i] += v * gainLeft;
                r[i] += v * gainRight;
            }
            break;
        }
        case ClosedHat:
        case OpenHat: {
            const float decay = note.instrument == ClosedHat ? 60.0f : 14.0f;
            e0 = std::exp(-t0 * decay);
            e1 = std::exp(-t1 * decay);
            for (int i = 0; i < n; ++i) {
                float n0 = NextNoise(noise);
                float v = (n0 - previous) * ramp(i) * 0.15f; // first difference: bright
                previous = n0;
                l[i] += v * gainLeft;
                r[i] += v * gainRight;
            }
            break;
        }
        case Crash:
            e0 = std::exp(-t0 * 2.6f) * std::min(1.0f, t0 * 400.0f);
            e1 = std::exp(-t1 * 2.6f) * std::min(1.0f, t1 * 400.0f);
            for (int i = 0; i < n; ++i) {
                float a = NextNoise(noise), c = NextNoise(noise2);
                l[i] += (a - previous) * ramp(i) * 0.22f * gainLeft;
                r[i] += (c - previous2) * ramp(i) * 0.22f * gainRight;
                previous = a;
                previous2 = c;
            }
            break;
        case Bass:
            e0 = Envelope(t0, 0.004f, held, 0.05f);
            e1 = Envelope(t1, 0.004f, held, 0.05f);
            SetCutoff(lp, 180.0f + 1700.0f * std::exp(-t0 * 14.0f) * note.velocity);
            for (int i = 0; i < n; ++i) {
                phase = Fract(phase + step);
                phase2 = Fract(phase2 + step * 1.004f);
                float raw = 0.5f * (Saw(phase, step) + Saw(phase2, step));
                float v = (Filter(lp, raw) + 0.6f * std::sin(TwoPiF * phase)) * ramp(i) * 0.8f;
                l[i] += v * gainLeft;
                r[i] += v * gainRight;
            }
            break;
        case Pad:
        case Stab: {
            if (note.instrument == Pad) {
                e0 = Envelope(t0, 0.12f, held, 0.35f);
                e1 = Envelope(t1, 0.12f, held, 0.35f);
                float wobble = std::sin(t0 * 1.3f);
                SetCutoff(lp, 900.0f + 900.0f * wobble * wobble);
            } else {
                e0 = Envelope(t0, 0.003f, held, 0.08f);
                e1 = Envelope(t1, 0.003f, held, 0.08f);
                SetCutoff(lp, 600.0f + 4200.0f * std::exp(-t0 * 9.0f));
            }
            lp2.k = lp.k;
            // Three detuned saws spread across the stereo field.
            const float s1 = step * 0.9965f, s3 = step * 1.0035f;
            for (int i = 0; i < n; ++i) {
                phase = Fract(phase + s1);
                phase2 = Fract(phase2 + step);
                phase3 = Fract(phase3 + s3);
                float a = Saw(phase, s1), c = Saw(phase2, step), d = Saw(phase3, s3);
                float env = ramp(i) * 0.5f;
                l[i] += Filter(lp, 0.7f * a + 0.5f * c) * env * gainLeft;
                r[i] += Filter(lp2, 0.7f * d + 0.5f * c) * env * gainRight;
            }
            break;
        }
        case Lead: {
            e0 = Envelope(t0, 0.006f, held, 0.07f);
            e1 = Envelope(t1, 0.006f, held, 0.07f);
            // Vibrato sets in after a moment.
            float depth = 0.006f * std::min(1.0f, std::max(0.0f, t0 - 0.12f) * 5.0f);
            step *= 1.0f + depth * std::sin(TwoPiF * 5.5f * t0);
            SetCutoff(lp, 1400.0f + 2600.0f * std::exp(-t0 * 6.0f));
            for (int i = 0; i < n; ++i) {
                phase = Fract(phase + step);
                phase2 = Fract(phase2 + step * 1.003f);
                float pulse = Saw(phase, step) - Saw(Fract(phase + 0.35f), step);
                float v = Filter(lp, 0.55f * pulse + 0.45f * Saw(phase2, step)) * ramp(i) * 0.42f;
                l[i] += v * gainLeft;
                r[i] += v * gainRight;
            }
            break;
        }
        case Pluck:
            e0 = std::exp(-t0 * 7.0f);
            e1 = std::exp(-t1 * 7.0f);
            SetCutoff(lp, 300.0f + 5000.0f * std::exp(-t0 * 22.0f));
            for (int i = 0; i < n; ++i) {
                phase = Fract(phase + step);
                float v = Filter(lp, Saw(phase, step)) * ramp(i) * 0.35f;
                l[i] += v * gainLeft;
                r[i] += v * gainRight;
            }
            break;
        case Riser: {
            // Noise swept upwards over the held length, growing louder.
            auto level = [&](float t) {
                float progress = std::min(1.0f, t / std::max(held, 0.01f));
                return progress * progress * (t < held ? 1.0f : std::exp(-(t - held) * 30.0f));
            };
            e0 = level(t0);
            e1 = level(t1);
            SetCutoff(lp, 250.0f * std::exp2(std::min(1.0f, t0 / std::max(held, 0.01f)) * 5.0f));
            for (int i = 0; i < n; ++i) {
                float v = Filter(lp, NextNoise(noise)) * ramp(i) * 0.7f;
                l[i] += v * gainLeft;
                r[i] += v * gainRight;
            }
            break;
        }
        }
    }
}

void ApplyEcho(StereoBuffer& bus, int delay, float feedback, float mix)
{
    std::vector<float> echoLeft(bus.left.size(), 0.0f), echoRight(bus.right.size(), 0.0f);
    for (size_t i = size_t(delay); i < bus.left.size(); ++i) {
        // The first repeat comes from the left, every later one from the
        // other side than the one before.
        const size_t from = i - size_t(delay);
        echoLeft[i] = 0.5f * (bus.left[from] + bus.right[from]) * mix + echoRight[from] * feedback;
        echoRight[i] = echoLeft[from] * feedback;
    }
    for (size_t i = 0; i < bus.left.size(); ++i) {
        bus.left[i] += echoLeft[i];
        bus.right[i] += echoRight[i];
    }
}
