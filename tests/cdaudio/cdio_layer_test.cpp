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
void ExpectDiscAudio(const DiscImage& image, int32_t sector, size_t frames, size_t after = 0)
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

void ExpectSilenceFrom(size_t frame)
{
    const std::vector<int16_t> heard = Heard();
    ASSERT_GT(heard.size(), 2 * frame);
    EXPECT_TRUE(std::all_of(heard.begin() + ptrdiff_t(2 * frame), heard.end(), [](int16_t s) { return !s; }));
}

// Track 1: a second of 440 Hz. Track 2: a fifth of a second of pregap at
// 2000 Hz, then a second of 1000 Hz.
const std::vector<ImageTrack> TwoTones{{true, 0, 75, 440.0, 0.0}, {true, 15, 75, 1000.0, 2000.0}};

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
        std::lock_guard<std::mutex> hold(CaptureLock);
        Captured.clear();
    }

    void TearDown() override
    {
        CloseCD();
        if (holdsMixer)
            MixerClose();
        unsetenv("TARVEL_CD_DEVICE");
        std::filesystem::remove_all(folder);
    }

    DiscImage UseDisc(const std::vector<ImageTrack>& tracks, bool openMixer)
    {
        DiscImage image = WriteDiscImage(folder, tracks);
        setenv("TARVEL_CD_DEVICE", image.cue.c_str(), 1);
        if (openMixer) { // as the soundtrack would, with the capture hooked onto it
            EXPECT_TRUE(MixerOpen());
            holdsMixer = true;
            Mix_SetPostMix(CaptureMix, nullptr);
        }
        return image;
    }

    std::filesystem::path folder;
    bool holdsMixer = false;
};

// The CD plays into the soundtrack's output and never opens one of its own. Played from inside track 1
// it runs on through track 2's pregap; track 2 is heard from its index 1. The sound device's release
// finds itself the mixer's last user while the disc plays (else the fatal "Error en EndSound").
TEST_F(CDLayerTest, PlaysFromAPlaceOnThroughTheTracksThatFollowAndShutsDownDuringPlayback)
{
    const DiscImage image = UseDisc(TwoTones, false);
    OpenCD();
    PlayCD(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(MixerIsOpen());
    CloseCD();

    ASSERT_EQ(InitApp(), 1);
    Mix_SetPostMix(CaptureMix, nullptr);
    PlayCD(Tmsf(1, 0, 0, 60)); // track 1's last 15 sectors, track 2's pregap, track 2
    ExpectDiscAudio(image, 60, Second * 6 / 10);
    StopCD();
    const size_t stopped = Heard().size() / 2;
    WaitForFrames(stopped + Second / 4);
    ExpectSilenceFrom(stopped + 2048); // the buffer mixed as the stop came may still carry the disc
    PlayCD(2);
    ExpectDiscAudio(image, image.index1[2], Second / 2, Heard().size() / 2);
    ShutdownApp();
    EXPECT_FALSE(MixerIsOpen());
}

// Nothing plays before the device is open and set to tmsf, nor from a data
// track or a place off the disc; a second open and an unknown command
// change nothing. Then the disc's audio track plays.
TEST_F(CDLayerTest, CommandsNeedAnOpenDeviceInTmsfAndAnAudioTrack)
{
    const DiscImage image = UseDisc({{false, 0, 40, 0.0, 0.0}, {true, 0, 40, 1000.0, 0.0}}, true);
    for (const char* command : {"play cdaudio from 2", "stop cdaudio", "close cdaudio", "open cdaudio",
                                "play cdaudio from 2", "set cdaudio time format tmsf", "open cdaudio",
                                "pause cdaudio"})
        SendCDCommand(command);
    for (uint32_t place : {1u, 3u, Tmsf(2, 0, 1, 0)}) // data, no track, past the end of 40 sectors
        PlayCD(place);
    WaitForFrames(Heard().size() / 2 + Second / 3);
    ExpectSilenceFrom(0);
    PlayCD(2);
    ExpectDiscAudio(image, image.index1[2], Second / 4);
    CloseCD();
    EXPECT_EQ(MixerClose(), 0) << "the CD left the mixer to its owner alone";
    holdsMixer = false;
}

// A fatal error while the reader thread runs ends the program with its code.
TEST_F(CDLayerTest, FatalErrorDuringPlaybackEndsWithItsCode)
{
    UseDisc(TwoTones, false);
    EXPECT_EXIT(
        {
            MixerOpen();
            OpenCD();
            PlayCD(2);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            FatalError("no hay memoria en newscreen", "");
        },
        ::testing::ExitedWithCode(255), "no hay memoria en newscreen");
}

} // namespace
