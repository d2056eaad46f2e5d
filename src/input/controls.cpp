// Keyboard and joysticks, and one player's controls read from them.
#include <cstring>

#include "input/input.h"

InputState Input;

void ResetInput()
{
    Input = InputState{};
}

void ClearKeys()
{
    std::memset(Input.KeyState, 0, sizeof Input.KeyState);
}

void ReadKeyboard()
{
    ReadKeyboardSnapshot(Input.KeyState);
    for (uint8_t& key : Input.KeyState)
        key &= 0x80;
}

int FirstKeyDown()
{
    for (int code = 1; code <= 126; code++)
        if (Input.KeyState[code])
            return code;
    return 0;
}

int InitJoysticks()
{
    Input.JoystickDevices = JoystickDeviceCount();
    Input.JoystickCount = 0;
    for (uint32_t id = 0; id < Input.JoystickDevices; id++) {
        // The table holds nine joysticks; a tenth answer, or a silent device
        // after the ninth, has no entry to go to.
        if (Input.JoystickCount == MaxJoysticks)
            break;
        JoystickRecord& entry = Input.Joysticks[Input.JoystickCount + 1];
        JoystickPosition position{};
        if (!ReadJoystickPosition(id, &position)) {
            entry.present = 0;
            continue;
        }
        entry.deviceId = id;
        entry.present = 1;
        JoystickRanges ranges{};
        ReadJoystickRanges(id, &ranges);
        const uint32_t cx = (ranges.xMax + ranges.xMin) / 2;
        const uint32_t cy = (ranges.yMax + ranges.yMin) / 2;
        entry.xLeft = (cx + ranges.xMin) / 2;
        entry.xRight = (cx + ranges.xMax) / 2;
        entry.yUp = (cy + ranges.yMin) / 2;
        entry.yDown = (cy + ranges.yMax) / 2;
        Input.JoystickCount++;
    }
    return Input.JoystickCount;
}

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
        up = Input.KeyState[uint8_t(config->keyUp)];
        down = Input.KeyState[uint8_t(config->keyDown)];
        left = Input.KeyState[uint8_t(config->keyLeft)];
        right = Input.KeyState[uint8_t(config->keyRight)];
        button1 = Input.KeyState[uint8_t(config->keyButton1)];
        button2 = Input.KeyState[uint8_t(config->keyButton2)];
    }
    const int32_t number = config->joystick;
    if (number > 0 && number <= MaxJoysticks && Input.Joysticks[number].present == 1) {
        const JoystickRecord& stick = Input.Joysticks[number];
        ReadJoystickPosition(stick.deviceId, &Input.JoystickReading);
        const int32_t x = int32_t(Input.JoystickReading.x), y = int32_t(Input.JoystickReading.y);
        if (y <= int32_t(stick.yUp))
            up |= 1;
        if (y >= int32_t(stick.yDown))
            down |= 1;
        if (x <= int32_t(stick.xLeft))
            left |= 1;
        if (x >= int32_t(stick.xRight))
            right |= 1;
        button1 |= int32_t(Input.JoystickReading.buttons & 1);
        button2 |= int32_t(Input.JoystickReading.buttons & 2);
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
