// Joystick start-up and ReadControls over a fake keyboard snapshot and fake joysticks (this program's seams).
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "input/input.h"

namespace {

struct FakeJoystick {
    bool answers = true;
    JoystickPosition position{32767, 32767, 0};
    JoystickRanges ranges{0, 65535, 0, 65535};
};

uint8_t FakeKeys[256];
std::vector<FakeJoystick> FakeSticks;
int PositionReads;

} // namespace

void ReadKeyboardSnapshot(uint8_t keys[256]) { std::memcpy(keys, FakeKeys, 256); }
uint32_t JoystickDeviceCount() { return uint32_t(FakeSticks.size()); }
void ReadJoystickRanges(uint32_t id, JoystickRanges* ranges) { *ranges = FakeSticks[id].ranges; }
bool ReadJoystickPosition(uint32_t id, JoystickPosition* position)
{
    PositionReads++;
    if (id >= FakeSticks.size() || !FakeSticks[id].answers)
        return false;
    *position = FakeSticks[id].position;
    return true;
}

namespace {

constexpr int32_t VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27, VkDown = 0x28, VkControl = 0x11, VkSpace = 0x20;

std::vector<int32_t> Held(const ControlState& s)
{
    return {s.left, s.right, s.up, s.down, s.button1, s.button2};
}

struct InputTest : ::testing::Test {
    InputTest()
    {
        std::memset(FakeKeys, 0, sizeof FakeKeys);
        FakeSticks.clear();
        PositionReads = 0;
        std::memset(Input.Joysticks, 0, sizeof Input.Joysticks);
    }
};

// Thresholds lie half-way between the centre (rounded down) and each end.
TEST_F(InputTest, JoysticksAreTheDevicesThatAnswerInDeviceOrderAtMostNine)
{
    FakeSticks.assign(16, FakeJoystick{.answers = false});
    FakeSticks[3].answers = FakeSticks[7].answers = true;
    FakeSticks[7].ranges = {100, 301, 0, 1000};
    EXPECT_EQ(InitJoysticks(), 2);
    EXPECT_EQ(Input.JoystickDevices, 16u);
    const JoystickRecord &first = Input.Joysticks[1], &second = Input.Joysticks[2];
    EXPECT_EQ(std::make_tuple(first.deviceId, second.deviceId, second.present, Input.Joysticks[3].present),
              std::make_tuple(3u, 7u, 1, 0));
    EXPECT_EQ((std::vector{first.xLeft, first.xRight, first.yUp, first.yDown, second.xLeft, second.xRight,
                           second.yUp, second.yDown}),
              (std::vector<uint32_t>{16383, 49151, 16383, 49151, 150, 250, 250, 750}));

    // Twelve devices, the eleventh silent: the ninth entry is device 8, and
    // devices 9-11 have no entry to go to, so not even a silent one is read.
    FakeSticks.assign(12, FakeJoystick{});
    FakeSticks[10].answers = false;
    PositionReads = 0;
    EXPECT_EQ(InitJoysticks(), MaxJoysticks);
    EXPECT_EQ(Input.Joysticks[MaxJoysticks].deviceId, 8u);
    EXPECT_EQ(PositionReads, MaxJoysticks);
}

struct ControlsTest : InputTest {
    ControlsTest()
    {
        FakeSticks.resize(1);
        InitJoysticks();
    }
    // Reads the controls with the stick at (x, y).
    const ControlState& Read(uint32_t x, uint32_t y)
    {
        FakeSticks[0].position = {x, y, 0};
        const ControlConfig config{1, 0, VkUp, VkDown, VkLeft, VkRight, VkControl, VkSpace};
        ReadControls(&config, &state);
        return state;
    }
    ControlState state{};
};

TEST_F(ControlsTest, StickThresholdsAreInclusive)
{
    const JoystickRecord& s = Input.Joysticks[1];
    EXPECT_EQ(Held(Read(s.xLeft, s.yUp)), (std::vector<int32_t>{1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(Held(Read(s.xLeft + 1, s.yUp + 1)), (std::vector<int32_t>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Held(Read(s.xRight, s.yDown)), (std::vector<int32_t>{0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(Held(Read(s.xRight - 1, s.yDown - 1)), (std::vector<int32_t>{0, 0, 0, 0, 0, 0}));
}

} // namespace
