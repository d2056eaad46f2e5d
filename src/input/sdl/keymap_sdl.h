#pragma once

#include <SDL.h>
#include <cstdint>

// The virtual-key code of a key, from its scancode (where the key is) and
// its keycode (what the keyboard layout makes of it): letters and digits
// follow the layout, every other key its position. 0 for keys without a code.
uint8_t VirtualKeyOf(SDL_Scancode scancode, SDL_Keycode keycode);

// Fills `keys` (0x80 = down) from SDL's scancode state, `count` entries,
// including the side-neutral Shift, Control and Alt codes and the mouse
// buttons in `mouseButtons` (SDL_GetMouseState's mask).
void KeysFromScancodes(const uint8_t* state, int count, uint32_t mouseButtons, uint8_t keys[256]);
