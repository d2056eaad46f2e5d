// The generated soundtrack as a player decodes it (ffprobe and ffmpeg).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "content/content_test_util.h"

namespace {

const std::string Mp3 = std::string(TARVEL_CONTENT_DIR) + "/music/music00.mp3";

std::string RunCommand(const std::string& command)
{
    std::string out;
    std::FILE* p = popen(command.c_str(), "r");
    if (!p)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        out.append(buffer, n);
    pclose(p);
    return out;
}

// Interleaved stereo 16-bit samples at 44.1 kHz, decoded once.
const std::vector<int16_t>& Decoded()
{
    static const std::vector<int16_t> samples = [] {
        std::string raw = RunCommand("ffmpeg -v error -i '" + Mp3 + "' -f s16le -acodec pcm_s16le -ac 2 -ar 44100 -");
        std::vector<int16_t> s(raw.size() / 2);
        std::memcpy(s.data(), raw.data(), s.size() * 2);
        return s;
    }();
    return samples;
}

// Mean square of both channels over [t0, t1) seconds.
double Energy(double t0, double t1)
{
    const std::vector<int16_t>& s = Decoded();
    size_t a = size_t(t0 * 44100) * 2, b = size_t(t1 * 44100) * 2;
    double sum = 0;
    for (size_t i = a; i < b; ++i)
        sum += double(s[i]) * s[i];
    return sum / double(b - a);
}

TEST(Soundtrack, IsStereo44100HzAndLongerThanTheShow)
{
    std::string info = RunCommand("ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels "
                           "-of default=noprint_wrappers=1 '" + Mp3 + "'");
    EXPECT_NE(info.find("codec_name=mp3"), std::string::npos) << info;
    EXPECT_NE(info.find("sample_rate=44100"), std::string::npos) << info;
    EXPECT_NE(info.find("channels=2"), std::string::npos) << info;
    // The show closes at 133.46 s of playback; the decoded stream must last.
    EXPECT_GE(Decoded().size() / 2, size_t(135 * 44100));
}

TEST(Soundtrack, StaysBelowFullScaleAtAReasonableLoudness)
{
    const std::vector<int16_t>& s = Decoded();
    ASSERT_FALSE(s.empty());
    int peak = 0;
    double sum = 0;
    for (int16_t v : s) {
        peak = std::max(peak, std::abs(int(v)));
        sum += double(v) * v;
    }
    const double rmsDb = 10.0 * std::log10(sum / double(s.size()) / (32768.0 * 32768.0));
    EXPECT_LT(peak, 32767 * 99 / 100) << "clipped";
    EXPECT_GT(rmsDb, -22.0);
    EXPECT_LT(rmsDb, -10.0);
}

TEST(Soundtrack, TheBeatComesBackExactlyWhenTheTimelineChangesWindow)
{
    // Clock values (hundredths) where the timeline moves on and the drums
    // return after a quieter passage. The strongest onset near each must sit
    // on it: decoded time lines up with the show's clock.
    for (int bound : {475, 1640, 2026, 7640}) {
        const double t = bound / 100.0, frame = 0.005;
        double bestRatio = 0, bestTime = 0;
        for (int k = -40; k < 40; ++k) {
            double at = t + k * frame;
            double ratio = Energy(at, at + frame) / (Energy(at - 0.05, at) + 1.0);
            if (ratio > bestRatio) {
                bestRatio = ratio;
                bestTime = at;
            }
        }
        EXPECT_NEAR(bestTime, t, 0.011) << "bound " << bound;
        EXPECT_GT(bestRatio, 4.0) << "bound " << bound;
    }
}

} // namespace
