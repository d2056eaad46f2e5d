// Input on SDL: its monotonic tick counter, the key state as the event loop
// has seen it, and its joysticks.
#include <SDL.h>

#include <algorithm>

#include "app/sdl/frame_log_sdl.h"
#include "input/input_seam.h"
#include "input/sdl/joystick_sdl.h"
#include "input/sdl/keymap_sdl.h"

// SDL's tick counter runs on the monotonic clock, so wall-clock changes do
// not move it; the low 32 bits wrap as the frame timer expects.
uint32_t TickCount()
{
    const uint32_t tick = uint32_t(SDL_GetTicks64());
    if (FrameLogOn)
        FrameLogTickRead(tick);
    return tick;
}

void SleepMilliseconds(uint32_t ms)
{
    SDL_Delay(ms);
}

// The state of the keys as the event loop has seen them so far.
void ReadKeyboardSnapshot(uint8_t keys[256])
{
    int count = 0;
    const uint8_t* state = SDL_GetKeyboardState(&count);
    KeysFromScancodes(state, count, SDL_GetMouseState(nullptr, nullptr), keys);
}

// Devices are opened on their first read and stay open until the window's
// end closes them.
constexpr int MaxJoystickDevices = 16;
static SDL_Joystick* OpenJoysticks[MaxJoystickDevices];

// SDL's axes run from -32768 to 32767; shifted, they cover 0-65535.
constexpr int32_t AxisOffset = 32768;

uint32_t JoystickDeviceCount()
{
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        return 0;
    return uint32_t(std::clamp(SDL_NumJoysticks(), 0, MaxJoystickDevices));
}

bool ReadJoystickPosition(uint32_t id, JoystickPosition* position)
{
    if (id >= uint32_t(MaxJoystickDevices) || !SDL_WasInit(SDL_INIT_JOYSTICK))
        return false;
    SDL_Joystick*& stick = OpenJoysticks[id];
    if (!stick)
        stick = SDL_JoystickOpen(int(id));
    if (!stick || !SDL_JoystickGetAttached(stick))
        return false;
    SDL_JoystickUpdate();
    position->x = uint32_t(SDL_JoystickGetAxis(stick, 0) + AxisOffset);
    position->y = uint32_t(SDL_JoystickGetAxis(stick, 1) + AxisOffset);
    position->buttons = 0;
    const int buttons = std::min(SDL_JoystickNumButtons(stick), 32);
    for (int b = 0; b < buttons; b++)
        if (SDL_JoystickGetButton(stick, b))
            position->buttons |= 1u << b;
    return true;
}

void ReadJoystickRanges(uint32_t, JoystickRanges* ranges)
{
    *ranges = JoystickRanges{0, 65535, 0, 65535};
}

void CloseJoysticks()
{
    for (SDL_Joystick*& stick : OpenJoysticks) {
        if (stick)
            SDL_JoystickClose(stick);
        stick = nullptr;
    }
    if (SDL_WasInit(SDL_INIT_JOYSTICK))
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
