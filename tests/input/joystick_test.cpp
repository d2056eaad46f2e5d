#include <gtest/gtest.h>

#include "input/input_fakes.h"
#include "input/joystick.h"

namespace {

class JoystickTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFakeInput(); }
};

TEST_F(JoystickTest, ThresholdsLieHalfWayBetweenCentreAndEachEnd)
{
    Fake.joysticks.resize(2);
    Fake.joysticks[1].ranges = {100, 301, 0, 1000};
    ASSERT_EQ(InitJoysticks(), 2);

    const JoystickRecord& full = Joysticks[1];
    EXPECT_EQ(full.xLeft, 16383u);
    EXPECT_EQ(full.xRight, 49151u);
    EXPECT_EQ(full.yUp, 16383u);
    EXPECT_EQ(full.yDown, 49151u);

    // Centre (301 + 100) / 2 = 200, rounded down, then half-way again.
    const JoystickRecord& odd = Joysticks[2];
    EXPECT_EQ(odd.xLeft, 150u);
    EXPECT_EQ(odd.xRight, 250u);
    EXPECT_EQ(odd.yUp, 250u);
    EXPECT_EQ(odd.yDown, 750u);
}

TEST_F(JoystickTest, RecordsOnlyTheDevicesThatAnswerInDeviceOrder)
{
    Fake.joysticks.resize(16);
    for (FakeJoystick& stick : Fake.joysticks)
        stick.answers = false;
    Fake.joysticks[3].answers = true;
    Fake.joysticks[7].answers = true;

    EXPECT_EQ(InitJoysticks(), 2);
    EXPECT_EQ(JoystickDevices, 16u);
    EXPECT_EQ(Joysticks[1].deviceId, 3u);
    EXPECT_EQ(Joysticks[1].present, 1);
    EXPECT_EQ(Joysticks[2].deviceId, 7u);
    EXPECT_EQ(Joysticks[2].present, 1);
    // The entry the next joystick would take is marked absent.
    EXPECT_EQ(Joysticks[3].present, 0);
}

TEST_F(JoystickTest, KeepsAtMostNineAndReadsNoFurtherDevice)
{
    Fake.joysticks.resize(12);
    Fake.joysticks[10].answers = false;
    EXPECT_EQ(InitJoysticks(), MaxJoysticks);
    EXPECT_EQ(Joysticks[MaxJoysticks].deviceId, 8u);
    // Devices 9-11 have no entry to go to; not even a silent one is read.
    EXPECT_EQ(Fake.positionReads, MaxJoysticks);
}

} // namespace
