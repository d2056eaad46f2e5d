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
#include "app/fatal.h"
#include "app/sdl/app_sdl.h"
#include "audio/cdaudio.h"
#include "audio/sdl/mixer_sdl.h"
#include "cdaudio/disc_image.h"

// The Linux CD layer as the program links it, on a disc image made here and
// SDL's dummy audio driver. The tests hold the mixer open as the soundtrack
// does, and take what it hands to the device from its post-mix hook, so
// every check is on the program's real output.
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

std::vector<int16_t> CapturedSoFar()
{
    std::lock_guard<std::mutex> hold(CaptureLock);
    return Captured;
}

size_t CapturedFrames()
{
    std::lock_guard<std::mutex> hold(CaptureLock);
    return Captured.size() / 2;
}

void WaitForFrames(size_t frames)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (CapturedFrames() < frames && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// The first frame that is not silent; the captured length when there is none.
size_t Onset(const std::vector<int16_t>& samples)
{
    const auto loud = std::find_if(samples.begin(), samples.end(), [](int16_t s) { return s != 0; });
    return size_t(loud - samples.begin()) / 2;
}

bool MixerIsOpen()
{
    int rate = 0, channels = 0;
    uint16_t format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) != 0;
}

bool SystemHasCDDrive()
{
    return std::filesystem::exists("/dev/cdrom") || std::filesystem::exists("/dev/sr0");
}

class CDLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
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

    // Track 1: a second of 440 Hz. Track 2: a fifth of a second of pregap
    // at 2000 Hz, then a second of 1000 Hz.
    DiscImage UseTwoToneDisc()
    {
        return UseDisc({{true, 0, 75, 440.0, 0.0}, {true, 15, 75, 1000.0, 2000.0}});
    }

    DiscImage UseDisc(const std::vector<ImageTrack>& tracks)
    {
        DiscImage image = WriteDiscImage(folder, tracks);
        setenv("TARVEL_CD_DEVICE", image.cue.c_str(), 1);
        return image;
    }

    // Opens the mixer as the soundtrack would and hooks the capture onto it.
    void OpenMixer()
    {
        ASSERT_TRUE(MixerOpen());
        holdsMixer = true;
        Mix_SetPostMix(CaptureMix, nullptr);
    }

    // Closes the device and then the mixer, which the CD must have left to
    // its owner alone.
    void CloseAll()
    {
        CloseCD();
        EXPECT_EQ(MixerClose(), 0);
        holdsMixer = false;
    }

    // Waits until sound is heard and `length` frames of it are captured;
    // returns where it began.
    static size_t WaitForSound(size_t length)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        size_t onset = 0;
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            onset = Onset(CapturedSoFar());
        } while (onset == CapturedFrames() && std::chrono::steady_clock::now() < deadline);
        WaitForFrames(onset + length);
        return onset;
    }

    // The captured frames from `at` on are the image's frames from `sector` on.
    static void ExpectDiscAudio(const DiscImage& image, size_t at, int32_t sector, size_t frames)
    {
        const std::vector<int16_t> heard = CapturedSoFar();
        ASSERT_GE(heard.size(), 2 * (at + frames));
        const size_t from = size_t(sector) * SectorFrames * 2;
        ASSERT_GE(image.samples.size(), from + 2 * frames);
        const auto mismatch = std::mismatch(heard.begin() + 2 * at, heard.begin() + 2 * (at + frames),
                                            image.samples.begin() + from);
        EXPECT_TRUE(mismatch.first == heard.begin() + 2 * (at + frames))
            << "first difference at frame " << (mismatch.first - heard.begin()) / 2 - at << " of " << frames;
    }

    static void ExpectSilenceFrom(size_t at)
    {
        const std::vector<int16_t> heard = CapturedSoFar();
        ASSERT_GT(heard.size(), 2 * at);
        EXPECT_TRUE(std::all_of(heard.begin() + 2 * at, heard.end(), [](int16_t s) { return s == 0; }));
    }

    std::filesystem::path folder;
    bool holdsMixer = false;
};

TEST_F(CDLayerTest, TrackTwoIsHeardFromItsIndexOneAndStopSilencesIt)
{
    const DiscImage image = UseTwoToneDisc();
    OpenMixer();
    OpenCD();
    PlayCD(2);
    const size_t onset = WaitForSound(Second / 2);
    ExpectDiscAudio(image, onset, image.index1[2], Second / 2);

    StopCD();
    const size_t stopped = CapturedFrames();
    WaitForFrames(stopped + Second / 4);
    // The buffer being mixed as the stop came may still carry the disc.
    ExpectSilenceFrom(stopped + 2048);
    CloseAll();
}

TEST_F(CDLayerTest, PlayFromInsideTrackOneRunsOnThroughTrackTwo)
{
    const DiscImage image = UseTwoToneDisc();
    OpenMixer();
    OpenCD();
    // 60 frames into track 1: its last 15 sectors, track 2's pregap, track 2.
    PlayCD(Tmsf(1, 0, 0, 60));
    const size_t onset = WaitForSound(Second * 6 / 10);
    ExpectDiscAudio(image, onset, 60, Second * 6 / 10);
    CloseAll();
}

TEST_F(CDLayerTest, DataTracksAndPositionsOffTheDiscPlayNothing)
{
    const DiscImage image = UseDisc({{false, 0, 40, 0.0, 0.0}, {true, 0, 40, 1000.0, 0.0}});
    // A second open changes nothing, and an unknown command is ignored.
    OpenMixer();
    OpenCD();
    SendCDCommand("open cdaudio");
    SendCDCommand("pause cdaudio");
    PlayCD(1);
    PlayCD(3);
    PlayCD(Tmsf(2, 0, 1, 0)); // past the end of 40 sectors
    WaitForFrames(CapturedFrames() + Second / 3);
    ExpectSilenceFrom(0);

    // The device still plays what is on the disc.
    PlayCD(2);
    const size_t onset = WaitForSound(Second / 4);
    ExpectDiscAudio(image, onset, image.index1[2], Second / 4);
    CloseAll();
}

TEST_F(CDLayerTest, CommandsNeedAnOpenDeviceInTmsf)
{
    const DiscImage image = UseTwoToneDisc();
    OpenMixer();
    SendCDCommand("play cdaudio from 2");
    SendCDCommand("stop cdaudio");
    SendCDCommand("close cdaudio");
    SendCDCommand("open cdaudio");
    SendCDCommand("play cdaudio from 2");
    WaitForFrames(CapturedFrames() + Second / 3);
    ExpectSilenceFrom(0);

    SendCDCommand("set cdaudio time format tmsf");
    SendCDCommand("play cdaudio from 2");
    const size_t onset = WaitForSound(Second / 4);
    ExpectDiscAudio(image, onset, image.index1[2], Second / 4);
    CloseAll();
}

// Without a drive nothing is opened; with one, the CD plays into the
// soundtrack's output but never opens an output of its own.
TEST_F(CDLayerTest, NoDriveSaysNothingAndTheCDOpensNoOutput)
{
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    setenv("TARVEL_CD_DEVICE", (folder / "missing.cue").c_str(), 1);
    OpenCD();
    PlayCD(2);
    StopCD();
    CloseCD();
    UseTwoToneDisc();
    OpenCD();
    PlayCD(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(MixerIsOpen());
    CloseCD();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(MixerIsOpen());
}

// The whole start-up and shutdown, once per test: the display's Screens
// live to the end of the process.
void ExpectQuietStartupAndShutdown()
{
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(InitApp(true), 1);
    PlayCD(2);
    ShutdownApp();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(MixerIsOpen());
}

TEST_F(CDLayerTest, StartupAndShutdownWithoutTheNamedDriveSayNothing)
{
    setenv("TARVEL_CD_DEVICE", "/dev/no-such-drive", 1);
    ExpectQuietStartupAndShutdown();
}

TEST_F(CDLayerTest, StartupAndShutdownWithoutADefaultDriveSayNothing)
{
    if (SystemHasCDDrive())
        GTEST_SKIP() << "this machine has a CD drive";
    ExpectQuietStartupAndShutdown();
}

// The sound device's release finds itself the mixer's last user while the
// disc plays (anything else is the fatal "Error en EndSound"), and the CD
// closes last.
TEST_F(CDLayerTest, ShutdownDuringPlaybackReleasesEverything)
{
    const DiscImage image = UseTwoToneDisc();
    ASSERT_EQ(InitApp(true), 1);
    Mix_SetPostMix(CaptureMix, nullptr);
    PlayCD(2);
    const size_t onset = WaitForSound(Second / 4);
    ExpectDiscAudio(image, onset, image.index1[2], Second / 4);
    ShutdownApp();
    EXPECT_FALSE(MixerIsOpen());
}

TEST_F(CDLayerTest, FatalErrorDuringPlaybackEndsWithItsCode)
{
    UseTwoToneDisc();
    // The child opens the device and plays: the reader thread is running
    // when the error comes.
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
