#include <SDL.h>

#include "input/keyboard.h"
#include "input/sdl/keymap_sdl.h"

// The state of the keys as the event loop has seen them so far.
void ReadKeyboardSnapshot(uint8_t keys[256])
{
    int count = 0;
    const uint8_t* state = SDL_GetKeyboardState(&count);
    KeysFromScancodes(state, count, SDL_GetMouseState(nullptr, nullptr), keys);
}
