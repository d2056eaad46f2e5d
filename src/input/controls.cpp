#include "input/controls.h"

#include "input/joystick.h"
#include "input/keyboard.h"

// Reports a press on the call that sees the button held while armed; any call
// that sees it released arms it again.
static void UpdatePressLatch(int32_t held, int32_t* pressed, int32_t* armed)
{
    *pressed = 0;
    if (held == 0) {
        *armed = 1;
    } else if (*armed != 0) {
        *armed = 0;
        *pressed = 1;
    }
}

void ReadControls(const ControlConfig* config, ControlState* state)
{
    int32_t up = 0, down = 0, left = 0, right = 0, button1 = 0, button2 = 0;
    if (config->useKeyboard) {
        ReadKeyboard();
        up = KeyState[uint8_t(config->keyUp)];
        down = KeyState[uint8_t(config->keyDown)];
        left = KeyState[uint8_t(config->keyLeft)];
        right = KeyState[uint8_t(config->keyRight)];
        button1 = KeyState[uint8_t(config->keyButton1)];
        button2 = KeyState[uint8_t(config->keyButton2)];
    }
    const int32_t number = config->joystick;
    if (number > 0 && number <= MaxJoysticks && Joysticks[number].present == 1) {
        const JoystickRecord& stick = Joysticks[number];
        ReadJoystickPosition(stick.deviceId, &JoystickReading);
        const int32_t x = int32_t(JoystickReading.x), y = int32_t(JoystickReading.y);
        if (y <= int32_t(stick.yUp))
            up |= 1;
        if (y >= int32_t(stick.yDown))
            down |= 1;
        if (x <= int32_t(stick.xLeft))
            left |= 1;
        if (x >= int32_t(stick.xRight))
            right |= 1;
        button1 |= int32_t(JoystickReading.buttons & 1);
        button2 |= int32_t(JoystickReading.buttons & 2);
    }
    state->left = left;
    state->right = right;
    state->up = up;
    state->down = down;
    state->button1 = button1;
    state->button2 = button2;
    UpdatePressLatch(state->button1, &state->pressed1, &state->armed1);
    UpdatePressLatch(state->button2, &state->pressed2, &state->armed2);
}
