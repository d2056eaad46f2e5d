#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "app/win32/app_win32.h"
#include "audio/audio_seam.h"
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
        EndSound();
        DestroyWindow(window);
        AppWindow = nullptr;
    }
    HWND window = nullptr;
};

TEST_F(DirectSoundChannels, ChannelsPlayCopiesAndAReusedChannelReplacesItsCopy)
{
    SampleBuffer* sample = SampleBufferCreate(4000);
    ASSERT_NE(sample, nullptr);
    uint8_t* bytes = SampleBufferLock(sample);
    ASSERT_NE(bytes, nullptr);
    std::memset(bytes, 0x10, 4000);
    ASSERT_TRUE(SampleBufferUnlock(sample));
    EXPECT_FALSE(ChannelStop(9)) << "a channel that never held a copy";
    for (int i = 0; i < 40; i++) {
        ASSERT_TRUE(ChannelDuplicate(15, sample)) << i;
        ASSERT_TRUE(ChannelRewind(15)) << i;
        ChannelSetControls(15, -10000, -600, 22050); // refused by the buffer: not examined
        ASSERT_TRUE(ChannelPlay(15)) << i;
    }
    // The copy outlives its sample.
    SampleBufferRelease(sample);
    EXPECT_TRUE(ChannelRewind(15));
    EXPECT_TRUE(ChannelStop(15));
}

// EndSound with a sample playing on a channel: the samples and the channels'
// copies go first, and the device keeps no reference of theirs (a reference
// left is the fatal "Error en EndSound").
TEST_F(DirectSoundChannels, EndSoundWhileASamplePlaysLeavesNoReference)
{
    EXPECT_EXIT(
        {
            CloseMessageBoxesAtOnce();
            loadsound(MakeTempFile("tarvel_sample8.raw", 4000).c_str(), 8, 0);
            playsound(8, 0, 0, 44100, 3);
            playsound(8, 0, 0, 44100, 3);
            EndSound();
            std::exit(Sound.DeviceOpen ? 2 : 0);
        },
        testing::ExitedWithCode(0), "");
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
