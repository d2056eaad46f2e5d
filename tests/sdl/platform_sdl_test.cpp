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
#include "app/close_request.h"
#include "app/sdl/app_sdl.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "display/display.h"
#include "display/fade.h"
#include "raster/screen.h"

// The SDL platform as the program links it, on SDL's dummy video and audio
// drivers: no screen and no sound card needed.
namespace {

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(InitApp(true), 1);
    }

    // Runs the window's procedure over every waiting event; returns how
    // many quit events ended the loop.
    int HandleEvents()
    {
        int quits = 0;
        SDL_Event event;
        SDL_PumpEvents();
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
            quits += WndProc(event) ? 0 : 1;
        return quits;
    }

    static uint32_t ShownPixel(int x, int y)
    {
        uint32_t pixel = 0;
        const SDL_Rect at{x, y, 1, 1};
        SDL_RenderReadPixels(SDL_GetRenderer(AppWindow), &at, SDL_PIXELFORMAT_RGB888, &pixel, 4);
        return pixel & 0xFFFFFF;
    }

    static std::string TempFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const auto path = std::filesystem::temp_directory_path() / (name + std::to_string(getpid()));
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    std::streamsize(bytes.size()));
        return path.string();
    }

    // A silent 16-bit stereo WAV file of `seconds` at 44100 Hz.
    static std::string SilentWave(double seconds)
    {
        const uint32_t data = uint32_t(seconds * 44100) * 4;
        std::vector<uint8_t> b(44 + data, 0);
        auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; i++) b[at + i] = uint8_t(v >> (8 * i)); };
        auto put16 = [&](size_t at, uint16_t v) { b[at] = uint8_t(v); b[at + 1] = uint8_t(v >> 8); };
        std::memcpy(&b[0], "RIFF", 4);
        put32(4, 36 + data);
        std::memcpy(&b[8], "WAVEfmt ", 8);
        put32(16, 16);
        put16(20, 1);
        put16(22, 2);
        put32(24, 44100);
        put32(28, 176400);
        put16(32, 4);
        put16(34, 16);
        std::memcpy(&b[36], "data", 4);
        put32(40, data);
        return TempFile("tarvel_silence.wav", b);
    }
};

TEST_F(PlatformTest, StartsActivatesPresentsAndClosesOnce)
{
    EXPECT_NE(AppWindow, nullptr);
    EXPECT_EQ(CurrentTarget, &DisplayScreen);
    EXPECT_EQ(HandleEvents(), 0);
    EXPECT_EQ(AppActive, 1);

    // A frame drawn through DisplayScreen is shown with the fade applied,
    // and the fade advances once.
    BeginFrame();
    for (int y = 0; y < DisplayHeight; y++)
        for (int x = 0; x < DisplayWidth; x++)
            DisplayScreen.rows[y][x] = 0x00FF8040;
    FadeMode = 1;
    FadeLevel = 16;
    PresentFrame();
    EXPECT_EQ(ShownPixel(0, 0), 0x7F4020u);
    EXPECT_EQ(ShownPixel(799, 599), 0x7F4020u);
    EXPECT_EQ(FadeLevel, 17);

    // However many close requests arrive, the window ends once.
    PostCloseRequest(AppWindow);
    PostCloseRequest(AppWindow);
    SDL_Event escape{};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    SDL_PushEvent(&escape);
    EXPECT_EQ(HandleEvents(), 1);
    EXPECT_EQ(AppWindow, nullptr);
    EXPECT_EQ(AppActive, 1);

    // With the back buffer gone the lock fails: the frame goes to the spare
    // rows and is dropped, and the fade stands still.
    BeginFrame();
    EXPECT_EQ(DisplayScreen.rows[0], SpareScreen.rows[0]);
    EXPECT_EQ(DisplayScreen.rows[599], SpareScreen.rows[599]);
    PresentFrame();
    EXPECT_EQ(FadeLevel, 17);
    ShutdownApp();
}

TEST_F(PlatformTest, MusicPositionFollowsThePlayedSamplesAndStopsAtTheEnd)
{
    EXPECT_EQ(MusicPosition(), 0.0);
    const std::string wave = SilentWave(0.5);
    const uint64_t start = SDL_GetTicks64();
    MusicPlay(wave.c_str());
    double last = 0.0;
    while (SDL_GetTicks64() - start < 300) {
        const double now = MusicPosition();
        EXPECT_GE(now, last);
        last = now;
        SDL_Delay(5);
    }
    EXPECT_GT(last, 0.05);
    EXPECT_LE(last, double(SDL_GetTicks64() - start) / 1000.0 + 0.001);
    SDL_Delay(600);
    const double end = MusicPosition();
    EXPECT_NEAR(end, 0.5, 0.03);
    SDL_Delay(100);
    EXPECT_EQ(MusicPosition(), end);
    std::filesystem::remove(wave);
    ShutdownApp();
}

TEST_F(PlatformTest, MissingSoundtrackOrOverlongNameIsSilent)
{
    MusicPlay("music\\no_such_file.mp3");
    SDL_Delay(50);
    EXPECT_EQ(MusicPosition(), 0.0);
    // The same file under names of 255 and 254 characters: only the
    // shorter one fits.
    const std::string wave = SilentWave(0.5);
    const std::string name255 = std::string(255 - wave.size(), '/') + wave;
    MusicPlay(name255.c_str());
    SDL_Delay(100);
    EXPECT_EQ(MusicPosition(), 0.0);
    MusicPlay(name255.substr(1).c_str());
    SDL_Delay(100);
    EXPECT_GT(MusicPosition(), 0.0);
    std::filesystem::remove(wave);
    ShutdownApp();
}

TEST_F(PlatformTest, SamplesPlayOnTheirChannels)
{
    const std::string raw = TempFile("tarvel_sample.raw", std::vector<uint8_t>(44100 * 4, 0x01));
    loadsound(raw.c_str(), 4, 0);
    playsound(4, 0, 0, 0, 9);
    playsound(4, 0, 0, 0, -1);
    EXPECT_EQ(Mix_Playing(9), 1);
    EXPECT_EQ(Mix_Playing(1), 1);
    EXPECT_EQ(Mix_Playing(0), 0);
    // A freed sample leaves the copies on the channels playing.
    freesound(4);
    EXPECT_EQ(Mix_Playing(9), 1);
    stopchannel(9);
    EXPECT_EQ(Mix_Playing(9), 0);
    std::filesystem::remove(raw);
    ShutdownApp();
}

TEST_F(PlatformTest, SampleShorterThanOneFrameHasNoBuffer)
{
    const std::string raw = TempFile("tarvel_tiny.raw", {1, 2, 3});
    EXPECT_EXIT(loadsound(raw.c_str(), 0, 0), ::testing::ExitedWithCode(255), "Error Creando buffer de sonido\\.");
    std::filesystem::remove(raw);
    ShutdownApp();
}

} // namespace
