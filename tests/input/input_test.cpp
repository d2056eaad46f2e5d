// Joystick start-up and ReadControls over a fake keyboard snapshot and fake
// joystick devices (the platform seams of this test program).
#include <gtest/gtest.h>

#include <cstring>
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

struct InputTest : ::testing::Test {
    InputTest()
    {
        std::memset(FakeKeys, 0, sizeof FakeKeys);
        FakeSticks.clear();
        PositionReads = 0;
        std::memset(Input.Joysticks, 0, sizeof Input.Joysticks);
    }
};

TEST_F(InputTest, ThresholdsLieHalfWayBetweenCentreAndEachEnd)
{
    FakeSticks.resize(2);
    FakeSticks[1].ranges = {100, 301, 0, 1000};
    ASSERT_EQ(InitJoysticks(), 2);
    const JoystickRecord &full = Input.Joysticks[1], &odd = Input.Joysticks[2];
    EXPECT_EQ((std::vector<uint32_t>{full.xLeft, full.xRight, full.yUp, full.yDown}),
              (std::vector<uint32_t>{16383, 49151, 16383, 49151}));
    // Centre (301 + 100) / 2 = 200, rounded down, then half-way again.
    EXPECT_EQ((std::vector<uint32_t>{odd.xLeft, odd.xRight, odd.yUp, odd.yDown}),
              (std::vector<uint32_t>{150, 250, 250, 750}));
}

TEST_F(InputTest, JoysticksAreTheDevicesThatAnswerInDeviceOrderAtMostNine)
{
    FakeSticks.resize(16);
    for (FakeJoystick& stick : FakeSticks)
        stick.answers = false;
    FakeSticks[3].answers = FakeSticks[7].answers = true;
    EXPECT_EQ(InitJoysticks(), 2);
    EXPECT_EQ(Input.JoystickDevices, 16u);
    EXPECT_EQ((std::vector<uint32_t>{Input.Joysticks[1].deviceId, Input.Joysticks[2].deviceId}),
              (std::vector<uint32_t>{3, 7}));
    EXPECT_EQ((std::vector<int>{Input.Joysticks[2].present, Input.Joysticks[3].present}), (std::vector<int>{1, 0}));

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
    // Reads the controls with the stick at (x, y) holding `buttons`.
    const ControlState& Read(uint32_t x, uint32_t y, uint32_t buttons = 0, bool keys = false)
    {
        FakeSticks[0].position = {x, y, buttons};
        const ControlConfig config{1, keys ? 1 : 0, VkUp, VkDown, VkLeft, VkRight, VkControl, VkSpace};
        ReadControls(&config, &state);
        return state;
    }
    ControlState state{};
};

TEST_F(ControlsTest, HeldValuesAreTheOrOfKeyAndStick)
{
    FakeKeys[VkLeft] = 0x81; // the toggle bit of the snapshot is dropped
    Read(32767, 32767, 0, true);
    EXPECT_EQ(state.left, 0x80);
    EXPECT_EQ(Input.KeyState[VkLeft], 0x80);
    Read(0, 65535, 3, true);
    EXPECT_EQ((std::vector<int32_t>{state.left, state.right, state.up, state.down, state.button1, state.button2}),
              (std::vector<int32_t>{0x81, 0, 0, 1, 1, 2}));
    FakeKeys[VkSpace] = 0x80;
    EXPECT_EQ(Read(0, 65535, 3, true).button2, 0x82);
}

TEST_F(ControlsTest, StickThresholdsAreInclusive)
{
    const JoystickRecord& s = Input.Joysticks[1];
    const auto directions = [&](uint32_t x, uint32_t y) {
        Read(x, y);
        return std::vector<int32_t>{state.left, state.right, state.up, state.down};
    };
    EXPECT_EQ(directions(s.xLeft, s.yUp), (std::vector<int32_t>{1, 0, 1, 0}));
    EXPECT_EQ(directions(s.xLeft + 1, s.yUp + 1), (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(directions(s.xRight, s.yDown), (std::vector<int32_t>{0, 1, 0, 1}));
    EXPECT_EQ(directions(s.xRight - 1, s.yDown - 1), (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST_F(ControlsTest, PressIsReportedOnceAfterARelease)
{
    // Button 2 held from the first call is no press; each later press of
    // either button counts once, on the call that first sees it held.
    const uint32_t buttons[] = {2, 1, 1, 1, 0, 1, 3, 0, 2};
    const int32_t pressed1[] = {0, 1, 0, 0, 0, 1, 0, 0, 0};
    const int32_t pressed2[] = {0, 0, 0, 0, 0, 0, 1, 0, 1};
    for (size_t call = 0; call < std::size(buttons); call++) {
        Read(32767, 32767, buttons[call]);
        EXPECT_EQ(state.pressed1, pressed1[call]) << "call " << call;
        EXPECT_EQ(state.pressed2, pressed2[call]) << "call " << call;
        EXPECT_EQ(state.armed1, buttons[call] & 1 ? 0 : 1) << "call " << call;
    }
}

TEST_F(ControlsTest, NoSourcesClearEverythingAndAnAbsentOrUnknownStickIsNotRead)
{
    state = ControlState{1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
    FakeKeys[VkUp] = 0x80;
    FakeSticks[0].position = {0, 0, 3};
    for (int32_t joystick : {0, 12}) {
        const ControlConfig config{joystick, 0, VkUp, VkDown, VkLeft, VkRight, VkControl, VkSpace};
        ReadControls(&config, &state);
    }
    EXPECT_EQ(state.left | state.right | state.up | state.down | state.button1 | state.button2, 0);
    EXPECT_EQ(state.pressed1 | state.pressed2, 0);
    EXPECT_EQ(state.armed1 & state.armed2, 1);
    Input.Joysticks[1].present = 0;
    Read(0, 0, 3);
    EXPECT_EQ(state.left, 0);
    EXPECT_EQ(PositionReads, 1); // only InitJoysticks read the stick
}

} // namespace
