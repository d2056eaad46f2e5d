#include <gtest/gtest.h>

#include "input/controls.h"
#include "input/input_fakes.h"
#include "input/joystick.h"
#include "input/keyboard.h"

namespace {

constexpr int32_t VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27, VkDown = 0x28;
constexpr int32_t VkControl = 0x11, VkSpace = 0x20;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakeInput();
        Fake.joysticks.resize(1);
        Fake.joysticks[0].position = {32767, 32767, 0};
        ASSERT_EQ(InitJoysticks(), 1);
    }

    void SetStick(uint32_t x, uint32_t y, uint32_t buttons = 0)
    {
        Fake.joysticks[0].position = {x, y, buttons};
    }

    ControlConfig keysAndStick{1, 1, VkUp, VkDown, VkLeft, VkRight, VkControl, VkSpace};
    ControlConfig stickOnly{1, 0, VkUp, VkDown, VkLeft, VkRight, VkControl, VkSpace};
    ControlState state{};
};

TEST_F(ControlsTest, HeldValuesAreTheOrOfKeyAndStick)
{
    Fake.keys[VkLeft] = 0x81; // the toggle bit of the snapshot is dropped
    ReadControls(&keysAndStick, &state);
    EXPECT_EQ(state.left, 0x80);
    EXPECT_EQ(KeyState[VkLeft], 0x80);

    SetStick(0, 65535, 3);
    ReadControls(&keysAndStick, &state);
    EXPECT_EQ(state.left, 0x81);
    EXPECT_EQ(state.down, 1);
    EXPECT_EQ(state.up, 0);
    EXPECT_EQ(state.right, 0);
    EXPECT_EQ(state.button1, 1);
    EXPECT_EQ(state.button2, 2);

    Fake.keys[VkSpace] = 0x80;
    ReadControls(&keysAndStick, &state);
    EXPECT_EQ(state.button2, 0x82);
}

TEST_F(ControlsTest, StickThresholdsAreInclusive)
{
    const JoystickRecord& stick = Joysticks[1];
    SetStick(stick.xLeft, stick.yUp);
    ReadControls(&stickOnly, &state);
    EXPECT_EQ(state.left, 1);
    EXPECT_EQ(state.up, 1);

    SetStick(stick.xLeft + 1, stick.yUp + 1);
    ReadControls(&stickOnly, &state);
    EXPECT_EQ(state.left, 0);
    EXPECT_EQ(state.up, 0);

    SetStick(stick.xRight, stick.yDown);
    ReadControls(&stickOnly, &state);
    EXPECT_EQ(state.right, 1);
    EXPECT_EQ(state.down, 1);

    SetStick(stick.xRight - 1, stick.yDown - 1);
    ReadControls(&stickOnly, &state);
    EXPECT_EQ(state.right, 0);
    EXPECT_EQ(state.down, 0);
}

TEST_F(ControlsTest, PressIsReportedOnceAfterARelease)
{
    const uint32_t buttons[] = {0, 1, 1, 1, 0, 1, 1};
    const int32_t expected[] = {0, 1, 0, 0, 0, 1, 0};
    for (size_t call = 0; call < std::size(buttons); call++) {
        SetStick(32767, 32767, buttons[call]);
        ReadControls(&stickOnly, &state);
        EXPECT_EQ(state.pressed1, expected[call]) << "call " << call;
        EXPECT_EQ(state.armed1, buttons[call] ? 0 : 1) << "call " << call;
    }
}

TEST_F(ControlsTest, ButtonHeldFromTheFirstCallIsNotAPress)
{
    SetStick(32767, 32767, 2);
    ReadControls(&stickOnly, &state);
    EXPECT_EQ(state.pressed2, 0);
    SetStick(32767, 32767, 0);
    ReadControls(&stickOnly, &state);
    SetStick(32767, 32767, 2);
    ReadControls(&stickOnly, &state);
    EXPECT_EQ(state.pressed2, 1);
    EXPECT_EQ(state.pressed1, 0);
}

TEST_F(ControlsTest, NoSourcesClearEverythingAndArmTheLatches)
{
    state = ControlState{1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
    Fake.keys[VkUp] = 0x80;
    SetStick(0, 0, 3);
    const ControlConfig none{0, 0, VkUp, VkDown, VkLeft, VkRight, VkControl, VkSpace};
    ReadControls(&none, &state);
    EXPECT_EQ(state.left | state.right | state.up | state.down | state.button1 | state.button2, 0);
    EXPECT_EQ(state.pressed1 | state.pressed2, 0);
    EXPECT_EQ(state.armed1, 1);
    EXPECT_EQ(state.armed2, 1);
    EXPECT_EQ(Fake.positionReads, 1); // only InitJoysticks read the stick
}

TEST_F(ControlsTest, AbsentOrUnknownJoystickIsNotRead)
{
    Joysticks[1].present = 0;
    ReadControls(&stickOnly, &state);
    const ControlConfig outOfTable{12, 0, VkUp, VkDown, VkLeft, VkRight, VkControl, VkSpace};
    ReadControls(&outOfTable, &state);
    EXPECT_EQ(Fake.positionReads, 1);
}

} // namespace
