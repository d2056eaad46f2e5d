#include <SDL.h>

#include <algorithm>

#include "input/joystick.h"

// Devices are opened on their first read and stay open for the whole run.
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
