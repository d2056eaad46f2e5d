#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/app_seam.h"
#include "app/sdl/app_sdl.h"
#include "audio/audio_seam.h"
#include "audio/sound.h"
#include "input/input_seam.h"

// The SDL platform as the program links it, on SDL's dummy video and audio
// drivers: no screen and no sound card needed.
namespace {

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("DISPLAY"); // no desktop to show a fatal error's message box on
        unsetenv("WAYLAND_DISPLAY");
        AppWindowed = true;
        ASSERT_EQ(InitApp(), 1);
    }

    void TearDown() override
    {
        ShutdownApp();
        for (const std::string& file : files)
            std::filesystem::remove(file);
    }

    // Runs the window's procedure over every waiting event; returns how many quit events ended the loop.
    static int HandleEvents()
    {
        int quits = 0;
        SDL_Event event;
        SDL_PumpEvents();
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
            quits += WndProc(event) ? 0 : 1;
        return quits;
    }

    // A file in the temporary folder, removed after the test.
    std::string TempFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        files.push_back((std::filesystem::temp_directory_path() / (name + std::to_string(getpid()))).string());
        std::ofstream(files.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return files.back();
    }

    std::vector<std::string> files;
};

// The position follows the played samples and stops at the end; the
// program's names are limited to 254 characters.
TEST_F(PlatformTest, MusicPositionFollowsThePlayedSamplesAndOverlongNamesAreRefused)
{
    // A silent 16-bit stereo WAV file of half a second at 44100 Hz.
    const uint32_t data = 22050 * 4;
    std::vector<uint8_t> wave(44 + data, 0);
    // "RIFF", "WAVE", "fmt ", PCM stereo in 4-byte 16-bit frames, "data"
    const uint32_t header[] = {0x46464952, 36 + data, 0x45564157, 0x20746D66, 16, 0x00020001, 44100, 176400,
                               0x00100004, 0x61746164, data};
    std::memcpy(wave.data(), header, sizeof header);
    const std::string file = TempFile("tarvel_silence.wav", wave);
    const std::string name255 = std::string(255 - file.size(), '/') + file;
    MusicPlay(name255.c_str());
    SDL_Delay(100);
    EXPECT_EQ(MusicPosition(), 0.0);

    // However slowly a busy machine plays it, the position never falls, never
    // runs ahead of the time played, and once the music is over it rests
    // within the last mixer buffer (1024 frames) of the end.
    const uint64_t start = SDL_GetTicks64();
    MusicPlay(name255.substr(1).c_str());
    for (double last = 0.0; Mix_PlayingMusic() && SDL_GetTicks64() - start < 20000; SDL_Delay(5)) {
        const double now = MusicPosition();
        EXPECT_GE(now, last);
        EXPECT_LE(now, double(SDL_GetTicks64() - start) / 1000.0 + 0.001);
        last = now;
    }
    SDL_Delay(200);
    const double end = MusicPosition();
    SDL_Delay(100);
    EXPECT_EQ(MusicPosition(), end);
    EXPECT_LE(end, 0.5);
    EXPECT_GE(end, 0.5 - 1024.0 / 44100.0);
}

TEST_F(PlatformTest, SamplesPlayOnTheirChannelsAndOneShorterThanAFrameHasNoBuffer)
{
    loadsound(TempFile("tarvel_sample.raw", std::vector<uint8_t>(44100 * 4, 0x01)).c_str(), 4, 0);
    playsound(4, 0, 0, 0, 9);
    playsound(4, 0, 0, 0, -1);
    EXPECT_EQ(std::vector({Mix_Playing(9), Mix_Playing(1), Mix_Playing(0)}), std::vector({1, 1, 0}));
    freesound(4); // the copies on the channels play on
    EXPECT_EQ(Mix_Playing(9), 1);
    stopchannel(9);
    EXPECT_EQ(Mix_Playing(9), 0);
    const std::string tiny = TempFile("tarvel_tiny.raw", {1, 2, 3});
    EXPECT_EXIT(loadsound(tiny.c_str(), 0, 0), testing::ExitedWithCode(255), "Error Creando buffer de sonido\\.");
}

// A joystick is opened by its first read, read through SDL's device, and closed with SDL's joystick
// support at the window's end, which however many close requests come is one.
TEST_F(PlatformTest, JoystickIsReadThroughItsDeviceAndClosedAtTheWindowsOneEnd)
{
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1"); // the dummy window never has the focus
    JoystickDeviceCount(); // starts SDL's joystick support
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 3, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    EXPECT_EQ(JoystickDeviceCount(), uint32_t(device + 1));
    JoystickPosition position{};
    ASSERT_TRUE(ReadJoystickPosition(uint32_t(device), &position));
    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    ASSERT_NE(stick, nullptr);
    SDL_JoystickSetVirtualAxis(stick, 0, 16384);
    SDL_JoystickSetVirtualAxis(stick, 1, -32768);
    SDL_JoystickSetVirtualButton(stick, 1, SDL_PRESSED);
    ASSERT_TRUE(ReadJoystickPosition(uint32_t(device), &position));
    EXPECT_EQ(std::vector({position.x, position.y, position.buttons}), std::vector<uint32_t>({49152, 0, 2}));
    PostCloseRequest();
    PostCloseRequest();
    EXPECT_EQ(HandleEvents(), 1);
    EXPECT_EQ(AppWindow, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
    EXPECT_FALSE(ReadJoystickPosition(uint32_t(device), &position));
}

} // namespace
