#include <gtest/gtest.h>

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
        InitSound(window);
    }
    void TearDown() override
    {
        EndSound();
        DestroyWindow(window);
    }
    HWND window = nullptr;
};

TEST_F(DirectSoundChannels, SampleInTheWrittenFormatPlaysOnSeveralChannelsAtOnce)
{
    // A 44-byte header and 4000 bytes of data: the whole file is the sample.
    const std::string file = MakeTempFile("tarvel_sample.raw", 4044);
    loadsound(file.c_str(), 7, 1);
    playsound(7, 0, 0, 44100, -1);
    playsound(7, -10000, -600, 22050, -1);
    playsound(7, 0, 0, 44100, 15);
    EXPECT_EQ(LastChannel, 2u);
    stopchannel(1);
    stopchannel(15);
    stopchannel(9); // never played: left alone
    freesound(7);
}

TEST_F(DirectSoundChannels, ChannelReusedReplacesItsEarlierCopyAndTheDeviceClosesCleanly)
{
    const std::string file = MakeTempFile("tarvel_sample2.raw", 8000);
    loadsound(file.c_str(), 0, 0);
    for (int i = 0; i < 40; i++)
        playsound(0, 0, 0, 44100, 3);
    // TearDown's EndSound ends the program if references to the device remain.
}

TEST_F(DirectSoundChannels, EmptySoundFileGetsNoBuffer)
{
    const std::string file = MakeTempFile("tarvel_empty.raw", 0);
    EXPECT_EXIT(loadsound(file.c_str(), 1, 0), testing::ExitedWithCode(FatalExitCode),
                "Error Creando buffer de sonido\\.");
}

} // namespace
