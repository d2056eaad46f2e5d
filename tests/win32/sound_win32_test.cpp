#include <gtest/gtest.h>

#include "app/win32/app_win32.h"
#include "audio/sound.h"
#include "win32_test_util.h"

// The sample channels on the real DirectSound (Wine's, over a null ALSA
// device in the test command).
namespace {

class DirectSoundChannels : public testing::Test {
protected:
    void SetUp() override
    {
        window = MakeTestWindow(DefWindowProcA);
        ASSERT_NE(window, nullptr);
        AppWindow = window;
        InitSound();
    }
    void TearDown() override
    {
        // Ends the program if references to the device remain.
        EndSound();
        DestroyWindow(window);
        AppWindow = nullptr;
    }
    HWND window = nullptr;
};

TEST_F(DirectSoundChannels, SamplePlaysOnSeveralChannelsAndAReusedChannelReplacesItsCopy)
{
    // A 44-byte header and 4000 bytes of data: the whole file is the sample.
    loadsound(MakeTempFile("tarvel_sample.raw", 4044).c_str(), 7, 1);
    playsound(7, 0, 0, 44100, -1);
    playsound(7, -10000, -600, 22050, -1);
    for (int i = 0; i < 40; i++)
        playsound(7, 0, 0, 44100, 15);
    stopchannel(1);
    stopchannel(15);
    stopchannel(9); // never played: left alone
    freesound(7);
    // A sample playing on a channel when EndSound comes: both go with the
    // device, which keeps no reference of theirs.
    loadsound(MakeTempFile("tarvel_sample8.raw", 4000).c_str(), 8, 0);
    playsound(8, 0, 0, 44100, 3);
}

TEST_F(DirectSoundChannels, EmptySoundFileGetsNoBuffer)
{
    const std::string empty = MakeTempFile("tarvel_empty.raw", 0);
    EXPECT_EXIT(
        {
            CloseMessageBoxesAtOnce();
            loadsound(empty.c_str(), 1, 0);
        },
        testing::ExitedWithCode(FatalExitCode), "message box: Error Creando buffer de sonido\\.");
}

} // namespace
