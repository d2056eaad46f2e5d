#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "app/sdl/app_sdl.h"
#include "audio/audio_seam.h"
#include "audio/cdaudio.h"
#include "audio/sdl/mixer_sdl.h"
#include "cdaudio/disc_image.h"
#include "core/fatal.h"

// The Linux CD layer as the program links it, on a disc image made here and
// SDL's dummy audio driver. What the mixer hands to the device is taken from
// its post-mix hook, so every check is on the program's real output.
namespace {

constexpr size_t Second = 44100; // frames
std::mutex CaptureLock;
std::vector<int16_t> Captured;

void CaptureMix(void*, uint8_t* stream, int length)
{
    const auto* samples = reinterpret_cast<const int16_t*>(stream);
    std::lock_guard<std::mutex> hold(CaptureLock);
    Captured.insert(Captured.end(), samples, samples + length / 2);
}

std::vector<int16_t> Heard()
{
    std::lock_guard<std::mutex> hold(CaptureLock);
    return Captured;
}

// Waits (up to 20 s) until `heard` holds of the captured samples.
template <typename Check> std::vector<int16_t> WaitUntil(Check heard)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::vector<int16_t> samples = Heard();
    for (; !heard(samples) && std::chrono::steady_clock::now() < deadline; samples = Heard())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return samples;
}

std::vector<int16_t> WaitForFrames(size_t frames)
{
    return WaitUntil([&](const std::vector<int16_t>& s) { return s.size() >= 2 * frames; });
}

bool MixerIsOpen()
{
    int rate = 0, channels = 0;
    uint16_t format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) != 0;
}

// Waits for sound after frame `after`, then for `frames` of it, and compares them with the image's
// frames from `sector` on.
void ExpectDiscAudio(const DiscImage& image, int32_t sector, size_t frames, size_t after)
{
    auto loud = [](int16_t s) { return s != 0; };
    auto sound = [&](const std::vector<int16_t>& s) {
        return std::find_if(s.begin() + ptrdiff_t(2 * after), s.end(), loud);
    };
    const auto heard = WaitUntil([&](const std::vector<int16_t>& s) { return sound(s) != s.end(); });
    const size_t onset = size_t(sound(heard) - heard.begin()) & ~size_t(1);
    const std::vector<int16_t> all = WaitForFrames(onset / 2 + frames);
    ASSERT_GE(all.size(), onset + 2 * frames);
    const auto disc = image.samples.begin() + ptrdiff_t(sector) * SectorFrames * 2;
    const auto from = all.begin() + ptrdiff_t(onset);
    EXPECT_EQ(std::mismatch(from, from + ptrdiff_t(2 * frames), disc).second - disc, ptrdiff_t(2 * frames))
        << "first difference, in samples";
}

// Waits for half a second more output, all of it silent from frame `from` on.
void ExpectSilenceFrom(size_t from)
{
    const std::vector<int16_t> heard = WaitForFrames(Heard().size() / 2 + Second / 2);
    EXPECT_TRUE(std::all_of(heard.begin() + ptrdiff_t(2 * from), heard.end(), [](int16_t s) { return !s; }));
}

class CDLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("DISPLAY"); // no desktop to show a fatal error's message box on
        unsetenv("WAYLAND_DISPLAY");
        AppWindowed = true;
        folder = std::filesystem::temp_directory_path() / ("tarvel_cd_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        // A data track, then a second of 440 Hz, then a fifth of a second of pregap at 2000 Hz and a
        // second of 1000 Hz.
        image = WriteDiscImage(folder, {{false, 0, 40, 0.0, 0.0}, {true, 0, 75, 440.0, 0.0},
                                        {true, 15, 75, 1000.0, 2000.0}});
        setenv("TARVEL_CD_DEVICE", image.cue.c_str(), 1);
    }

    void TearDown() override
    {
        CloseCD();
        unsetenv("TARVEL_CD_DEVICE");
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    DiscImage image;
};

// The CD plays into the soundtrack's output, never one of its own, and only once the device is open and
// set to tmsf, from an audio track on the disc; a second open and an unknown command change nothing.
// From inside track 2 it runs on through track 3's pregap; track 3 is heard from its index 1. The
// sound device's release finds itself the mixer's last user while the disc plays (else the fatal
// "Error en EndSound").
TEST_F(CDLayerTest, PlaysAudioTracksOnThroughTheTracksThatFollowAndShutsDownDuringPlayback)
{
    OpenCD();
    PlayCD(3);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(MixerIsOpen());

    ASSERT_EQ(InitApp(), 1); // with the CD open in tmsf
    Mix_SetPostMix(CaptureMix, nullptr);
    for (const char* command : {"close cdaudio", "stop cdaudio", "close cdaudio", "play cdaudio from 3",
                                "open cdaudio", "play cdaudio from 3", "set cdaudio time format tmsf",
                                "open cdaudio", "pause cdaudio"})
        SendCDCommand(command);
    ExpectSilenceFrom(0);
    for (uint32_t place : {1u, 4u, Tmsf(3, 0, 1, 0)}) // data, no track, the lead-out
        PlayCD(place);
    ExpectSilenceFrom(0);

    PlayCD(Tmsf(2, 0, 0, 60)); // track 2's last 15 sectors, track 3's pregap, track 3
    ExpectDiscAudio(image, 100, Second * 6 / 10, 0);
    StopCD();
    ExpectSilenceFrom(Heard().size() / 2 + 2048); // the buffer mixed as the stop came may carry the disc
    PlayCD(3);
    ExpectDiscAudio(image, image.index1[3], Second / 2, Heard().size() / 2);
    ShutdownApp();
    EXPECT_FALSE(MixerIsOpen());
}

// A fatal error while the reader thread runs ends the program with its code.
TEST_F(CDLayerTest, FatalErrorDuringPlaybackEndsWithItsCode)
{
    EXPECT_EXIT(
        {
            MixerOpen();
            OpenCD();
            PlayCD(3);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            FatalError("no hay memoria en newscreen", "");
        },
        ::testing::ExitedWithCode(255), "no hay memoria en newscreen");
}

} // namespace
