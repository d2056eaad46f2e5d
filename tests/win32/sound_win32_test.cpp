#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/win32/app_win32.h"
#include "audio/audio_seam.h"
#include "audio/sound.h"
#include "win32_test_util.h"

// The sample channels on the real DirectSound (Wine's, over a null ALSA
// device in the test command) and the soundtrack on the real DirectShow
// filter graph.
namespace {

class DirectSoundChannels : public testing::Test {
protected:
    void SetUp() override
    {
        AppWindow = MakeTestWindow(DefWindowProcA);
        ASSERT_NE(AppWindow, nullptr);
        CloseMessageBoxesAtOnce(); // a device that cannot start fails the test now, not at its time limit
        InitSound();
    }
    void TearDown() override
    {
        EndSound();
        DestroyWindow(AppWindow);
        AppWindow = nullptr;
    }
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
    SampleBufferRelease(sample); // the copy outlives its sample
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
            loadsound(MakeTempFile("tarvel_sample8.raw", 4000).c_str(), 8, 0);
            playsound(8, 0, 0, 44100, 3);
            playsound(8, 0, 0, 44100, 3);
            EndSound();
            std::exit(Sound.DeviceOpen ? 2 : 0);
        },
        testing::ExitedWithCode(0), "");
}

// A name of 255 characters has no room in the conversion buffer: the graph is given nothing and
// never runs (a graph that failed to render a file would still advance its position).
TEST(DirectShowMusic, OverlongNamesAreRefused)
{
    MusicInit();
    MusicPlay(std::string(255, 'a').c_str());
    Sleep(400);
    EXPECT_EQ(MusicPosition(), 0.0);
    MusicShutdown();
}

} // namespace
