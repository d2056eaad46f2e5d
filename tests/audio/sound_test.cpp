// Sample channels over a sound device (the platform seam of this test
// program) that records every call and can be made to fail at each step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "audio/audio_seam.h"
#include "audio/sound.h"
#include "image/image_test_util.h"

struct SampleBuffer {
    std::vector<uint8_t> bytes;
};

namespace {

struct FakeSoundDevice {
    bool createFails = false, cooperativeFails = false, lockFails = false, unlockFails = false, playFails = false;
    int referencesLeft = 0;
    std::vector<const SampleBuffer*> duplicated; // buffers put on channels
} FakeSound;

} // namespace

// Fatal errors end the death tests' processes without a message box.
void ShowMessageBox(const char*, const char*) {}
bool SoundDeviceCreate() { return !FakeSound.createFails; }
bool SoundDeviceSetCooperative() { return !FakeSound.cooperativeFails; }
int SoundDeviceRelease() { return FakeSound.referencesLeft; }
SampleBuffer* SampleBufferCreate(uint32_t length)
{
    return length ? new SampleBuffer{std::vector<uint8_t>(length, 0xEE)} : nullptr;
}
uint8_t* SampleBufferLock(SampleBuffer* buffer) { return FakeSound.lockFails ? nullptr : buffer->bytes.data(); }
bool SampleBufferUnlock(SampleBuffer*) { return !FakeSound.unlockFails; }
void SampleBufferRelease(SampleBuffer* buffer) { delete buffer; }
bool ChannelRewind(int) { return true; }
void ChannelSetControls(int, int, int, int) {}
bool ChannelPlay(int) { return !FakeSound.playFails; }
bool ChannelStop(int) { return true; }
bool ChannelDuplicate(int, SampleBuffer* buffer)
{
    FakeSound.duplicated.push_back(buffer);
    return true;
}

namespace {

using ::testing::ElementsAre;

struct SoundTest : ::testing::Test {
    SoundTest()
    {
        EndSound();
        for (int sample = 0; sample < SampleTableSize; sample++)
            freesound(sample);
        FakeSound = FakeSoundDevice{};
        InitSound();
    }
    std::string File(const std::vector<uint8_t>& bytes) { return dir.Write("sound.raw", bytes); }
    void LoadTone(int sample) { loadsound(File(std::vector<uint8_t>(400, 0x10)).c_str(), sample, 0); }
    TempDir dir;
};

TEST_F(SoundTest, FileIsTakenWholeHeaderIncludedAndFlippedOnlyForFlagOne)
{
    std::vector<uint8_t> wave(44 + 4000);
    for (size_t i = 0; i < wave.size(); i++)
        wave[i] = uint8_t(i * 7);
    loadsound(File(wave).c_str(), 5, 0);
    const std::vector<uint8_t> bytes{0x00, 0xFF, 0x7F, 0x80, 0x12};
    loadsound(File(bytes).c_str(), 1, 1);
    loadsound(File(bytes).c_str(), SampleTableSize - 1, 2); // the table's last entry
    for (int sample : {5, 1, SampleTableSize - 1})
        playsound(sample, 0, 0, 0, 4);
    ASSERT_EQ(FakeSound.duplicated.size(), 3u);
    EXPECT_EQ(FakeSound.duplicated[0]->bytes, wave);
    EXPECT_THAT(FakeSound.duplicated[1]->bytes, ElementsAre(0x80, 0x7F, 0xFF, 0x00, 0x92));
    EXPECT_EQ(FakeSound.duplicated[2]->bytes, bytes);
}

TEST_F(SoundTest, FailuresAndNumbersOutsideTheTablesEndTheProgramWithTheirCaptions)
{
    // Each case runs in a child process of its own, set-up included.
    const std::pair<std::function<void()>, const char*> failures[] = {
        {[] { EndSound(); FakeSound.createFails = true; InitSound(); }, "Error en inicio Direct Sound"},
        {[] { EndSound(); FakeSound.cooperativeFails = true; InitSound(); }, "Error poniendo modo coperativo"},
        {[&] { loadsound((dir.path / "missing.raw").c_str(), 0, 0); }, "Error al abrir sonido\\."},
        {[&] { loadsound(File({}).c_str(), 0, 0); }, "Error Creando buffer de sonido\\."},
        {[&] { FakeSound.lockFails = true; LoadTone(0); }, "Error haciendo lock en loadsound"},
        {[&] { FakeSound.unlockFails = true; LoadTone(0); }, "Error en Unlock en loadsound"},
        {[&] { LoadTone(0); FakeSound.playFails = true; playsound(0, 0, 0, 0, 3); }, "Error al hacer play"},
        {[] { FakeSound.referencesLeft = 1; EndSound(); }, "Error en EndSound"},
        {[&] { LoadTone(7); freesound(7); playsound(7, 0, 0, 0, 0); }, "Error al duplicar el sonido"},
        {[&] { LoadTone(0); playsound(0, 0, 0, 0, 16); }, "fuera de rango en playsound"},
        {[&] { LoadTone(0); playsound(0, 0, 0, 0, -2); }, "fuera de rango en playsound"},
        {[&] { LoadTone(SampleTableSize); }, "numero de sonido fuera de rango en loadsound"},
        {[&] { LoadTone(-1); }, "numero de sonido fuera de rango en loadsound"},
        {[] { playsound(-5, 0, 0, 0, 1); }, "numero de sonido fuera de rango en playsound"},
        {[] { freesound(SampleTableSize); }, "numero de sonido fuera de rango en freesound"},
    };
    for (const auto& [failure, caption] : failures)
        EXPECT_EXIT(failure(), ::testing::ExitedWithCode(255), caption) << caption;
}

} // namespace
