// Input in the browser: the tick counter from performance.now(), the key
// state as the page's key and mouse events have left it, and joysticks from
// the Gamepad API (input_web.js).
#include <emscripten/emscripten.h>

#include <cstring>

#include "app/web/app_web.h"
#include "input/input_seam.h"
#include "input/virtual_keys.h"
#include "input/web/input_web.h"
#include "input/web/keymap_web.h"

extern "C" {
void tarvel_input_listen(int on);
int tarvel_gamepad_slots(void);
int tarvel_gamepad_read(int index, double* axes, uint32_t* buttons);
}

namespace {

// Keys and mouse buttons down, by virtual-key code, as the events left them.
uint8_t KeysDown[256];

// The Gamepad API's axes run from -1 to 1; scaled, they cover 0-65535.
constexpr double AxisScale = 65535.0 / 2.0;

uint32_t AxisPosition(double axis)
{
    const double clamped = axis < -1.0 ? -1.0 : axis > 1.0 ? 1.0 : axis;
    return uint32_t((clamped + 1.0) * AxisScale + 0.5);
}

} // namespace

void WebInputAttach()
{
    std::memset(KeysDown, 0, sizeof KeysDown);
    tarvel_input_listen(1);
}

void WebInputDetach()
{
    tarvel_input_listen(0);
    std::memset(KeysDown, 0, sizeof KeysDown);
}

extern "C" {

// A DOM key event: `code` and `key` as the event names them.
EMSCRIPTEN_KEEPALIVE void WebKeyEvent(const char* code, const char* key, int down)
{
    const uint8_t vk = VirtualKeyOfDomKey(code, key);
    if (vk == 0)
        return;
    KeysDown[vk] = down ? 0x80 : 0;
    if (down)
        PostKeyDown(vk);
}

// A DOM mouse button event over the page.
EMSCRIPTEN_KEEPALIVE void WebMouseEvent(int button, int down)
{
    if (const uint8_t vk = VirtualKeyOfMouseButton(button))
        KeysDown[vk] = down ? 0x80 : 0;
}

// The page lost or gained the focus: keys held then are let go, since their
// releases go elsewhere.
EMSCRIPTEN_KEEPALIVE void WebFocusEvent()
{
    std::memset(KeysDown, 0, sizeof KeysDown);
    PostActivation();
}

} // extern "C"

// performance.now(): monotonic milliseconds since the page was opened; the
// low 32 bits wrap as the frame timer expects.
uint32_t TickCount()
{
    return uint32_t(uint64_t(emscripten_get_now()));
}

// The page must never block: frames are drawn only once due (DemoFrameDue),
// so the frame wait ends at its first reading and never asks to sleep.
void SleepMilliseconds(uint32_t) {}

void ReadKeyboardSnapshot(uint8_t keys[256])
{
    std::memcpy(keys, KeysDown, 256);
    SetSideNeutralKeys(keys);
}

uint32_t JoystickDeviceCount()
{
    return uint32_t(tarvel_gamepad_slots());
}

bool ReadJoystickPosition(uint32_t id, JoystickPosition* position)
{
    double axes[2] = {};
    uint32_t buttons = 0;
    if (!tarvel_gamepad_read(int(id), axes, &buttons))
        return false;
    position->x = AxisPosition(axes[0]);
    position->y = AxisPosition(axes[1]);
    position->buttons = buttons;
    return true;
}

void ReadJoystickRanges(uint32_t, JoystickRanges* ranges)
{
    *ranges = JoystickRanges{0, 65535, 0, 65535};
}
