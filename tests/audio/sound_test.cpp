#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "audio/sound_fakes.h"

namespace {

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeSound = FakeSoundDevice{};
        EndSound();
        for (int sample = 0; sample < SampleTableSize; sample++)
            freesound(sample);
        FakeSound = FakeSoundDevice{};
        InitSound(nullptr);
        folder = std::filesystem::temp_directory_path() / ("tarvel_sound_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }

    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    std::streamsize(bytes.size()));
        return path.string();
    }

    // A short sound, loaded as sample `sample`.
    void LoadTone(int sample)
    {
        loadsound(WriteFile("tone.raw", std::vector<uint8_t>(400, 0x10)).c_str(), sample, 0);
    }

    std::vector<int> DuplicatedChannels() const
    {
        std::vector<int> channels;
        for (const FakeChannelCall& call : FakeSound.duplicates)
            channels.push_back(call.channel);
        return channels;
    }

    std::filesystem::path folder;
};

TEST_F(SoundTest, AutomaticChannelsRunFromOneAndWrapToZero)
{
    LoadTone(0);
    for (int i = 0; i < 17; i++)
        playsound(0, 0, 0, 44100, -1);
    std::vector<int> expected;
    for (int i = 1; i < 16; i++)
        expected.push_back(i);
    expected.push_back(0);
    expected.push_back(1);
    EXPECT_EQ(DuplicatedChannels(), expected);
    EXPECT_EQ(FakeSound.plays, expected);
    EXPECT_EQ(LastChannel, 1u);
}

TEST_F(SoundTest, GivenChannelIsUsedAndLeavesTheAutomaticTurnAlone)
{
    LoadTone(3);
    playsound(3, 0, 0, 0, 15);
    playsound(3, 0, 0, 0, 0);
    playsound(3, 0, 0, 0, -1);
    EXPECT_EQ(DuplicatedChannels(), (std::vector<int>{15, 0, 1}));
    EXPECT_EQ(FakeSound.duplicates[0].buffer, FakeSound.duplicates[1].buffer);
}

TEST_F(SoundTest, ChannelOutsideTheTableIsRefused)
{
    LoadTone(0);
    EXPECT_EXIT(playsound(0, 0, 0, 0, 16), ::testing::ExitedWithCode(255), "fuera de rango en playsound");
    EXPECT_EXIT(playsound(0, 0, 0, 0, -2), ::testing::ExitedWithCode(255), "fuera de rango en playsound");
}

TEST_F(SoundTest, SampleNumberOutsideTheTableEndsTheProgram)
{
    const std::string file = WriteFile("tone.raw", std::vector<uint8_t>(8, 0));
    EXPECT_EXIT(loadsound(file.c_str(), SampleTableSize, 0), ::testing::ExitedWithCode(255),
                "numero de sonido fuera de rango en loadsound");
    EXPECT_EXIT(loadsound(file.c_str(), -1, 0), ::testing::ExitedWithCode(255),
                "numero de sonido fuera de rango en loadsound");
    EXPECT_EXIT(playsound(-5, 0, 0, 0, 1), ::testing::ExitedWithCode(255),
                "numero de sonido fuera de rango en playsound");
    EXPECT_EXIT(freesound(SampleTableSize), ::testing::ExitedWithCode(255),
                "numero de sonido fuera de rango en freesound");
    loadsound(file.c_str(), SampleTableSize - 1, 0);
    playsound(SampleTableSize - 1, 0, 0, 0, 2);
    EXPECT_EQ(FakeSound.plays, std::vector<int>{2});
}

TEST_F(SoundTest, FileIsTakenWholeHeaderIncluded)
{
    std::vector<uint8_t> bytes(44 + 4000);
    for (size_t i = 0; i < bytes.size(); i++)
        bytes[i] = uint8_t(i * 7);
    loadsound(WriteFile("wave.wav", bytes).c_str(), 5, 0);
    playsound(5, 0, 0, 0, 4);
    ASSERT_EQ(FakeSound.duplicates.size(), 1u);
    EXPECT_EQ(FakeSound.duplicates[0].buffer->bytes, bytes);
}

TEST_F(SoundTest, FlipInvertsTheTopBitOfEveryByteOnlyForFlagOne)
{
    const std::vector<uint8_t> bytes{0x00, 0xFF, 0x7F, 0x80, 0x12};
    const std::string file = WriteFile("unsigned.raw", bytes);
    loadsound(file.c_str(), 1, 1);
    loadsound(file.c_str(), 2, 2);
    playsound(1, 0, 0, 0, 0);
    playsound(2, 0, 0, 0, 1);
    EXPECT_EQ(FakeSound.duplicates[0].buffer->bytes, (std::vector<uint8_t>{0x80, 0x7F, 0xFF, 0x00, 0x92}));
    EXPECT_EQ(FakeSound.duplicates[1].buffer->bytes, bytes);
}

TEST_F(SoundTest, LoadingAgainReplacesAndReleasesTheEarlierSample)
{
    LoadTone(7);
    LoadTone(7);
    EXPECT_EQ(FakeSound.releasedBuffers, 1);
    freesound(7);
    freesound(7);
    EXPECT_EQ(FakeSound.releasedBuffers, 2);
    EXPECT_EXIT(playsound(7, 0, 0, 0, 0), ::testing::ExitedWithCode(255), "Error al duplicar el sonido");
}

TEST_F(SoundTest, LoadFailuresAreFatalWithTheirCaptions)
{
    const std::string missing = (folder / "missing.raw").string();
    EXPECT_EXIT(loadsound(missing.c_str(), 0, 0), ::testing::ExitedWithCode(255), "Error al abrir sonido\\.");
    const std::string empty = WriteFile("empty.raw", {});
    EXPECT_EXIT(loadsound(empty.c_str(), 0, 0), ::testing::ExitedWithCode(255), "Error Creando buffer de sonido\\.");
    const std::string tone = WriteFile("tone.raw", std::vector<uint8_t>(16, 1));
    FakeSound.lockFails = true;
    EXPECT_EXIT(loadsound(tone.c_str(), 0, 0), ::testing::ExitedWithCode(255), "Error haciendo lock en loadsound");
    FakeSound.lockFails = false;
    FakeSound.unlockFails = true;
    EXPECT_EXIT(loadsound(tone.c_str(), 0, 0), ::testing::ExitedWithCode(255), "Error en Unlock en loadsound");
}

TEST_F(SoundTest, DeviceFailuresAreFatalWithTheirCaptions)
{
    EndSound();
    FakeSound.createFails = true;
    EXPECT_EXIT(InitSound(nullptr), ::testing::ExitedWithCode(255), "Error en inicio Direct Sound");
    FakeSound.createFails = false;
    FakeSound.cooperativeFails = true;
    EXPECT_EXIT(InitSound(nullptr), ::testing::ExitedWithCode(255), "Error poniendo modo coperativo");
    FakeSound.cooperativeFails = false;
    InitSound(nullptr);
    LoadTone(0);
    FakeSound.playFails = true;
    EXPECT_EXIT(playsound(0, 0, 0, 0, 3), ::testing::ExitedWithCode(255), "Error al hacer play");
    FakeSound.referencesLeft = 1;
    EXPECT_EXIT(EndSound(), ::testing::ExitedWithCode(255), "Error en EndSound");
}

TEST_F(SoundTest, EndSoundReleasesTheDeviceOnce)
{
    EndSound();
    EndSound();
    EXPECT_EQ(FakeSound.releasedDevices, 1);
}

TEST_F(SoundTest, StopReachesOnlyChannelsThatPlayed)
{
    LoadTone(0);
    playsound(0, 0, 0, 0, 6);
    stopchannel(6);
    stopchannel(5);
    stopchannel(-1);
    stopchannel(16);
    EXPECT_EQ(FakeSound.stops, std::vector<int>{6});
}

} // namespace
