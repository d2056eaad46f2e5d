#include <gtest/gtest.h>

#include "input/sdl/keymap_sdl.h"

namespace {

TEST(KeyMapTest, VirtualKeysByPositionAndLettersAndDigitsByLayout)
{
    const struct {
        SDL_Scancode scancode;
        SDL_Keycode keycode;
        int vk;
    } keys[] = {
        // One key of each run of codes, and the ends of the runs.
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0x1B}, {SDL_SCANCODE_LEFT, SDLK_LEFT, 0x25},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, 0x28}, {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0x0D},
        {SDL_SCANCODE_F12, SDLK_F12, 0x7B}, {SDL_SCANCODE_F24, SDLK_F24, 0x87},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, 0x60}, {SDL_SCANCODE_KP_9, SDLK_KP_9, 0x69},
        {SDL_SCANCODE_RALT, SDLK_RALT, 0xA5}, {SDL_SCANCODE_A, SDLK_a, 'A'}, {SDL_SCANCODE_Z, SDLK_z, 'Z'},
        {SDL_SCANCODE_0, SDLK_0, '0'}, {SDL_SCANCODE_9, SDLK_9, '9'},
        // A layout with A where Q is, and a digit row of symbols; only keys
        // of the main block are renamed by the layout.
        {SDL_SCANCODE_Q, SDLK_a, 'A'}, {SDL_SCANCODE_1, SDLK_AMPERSAND, '1'}, {SDL_SCANCODE_F1, SDLK_a, 0x70},
        // Keys without a code.
        {SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, 0}, {SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT, 0},
        {SDL_Scancode(SDL_NUM_SCANCODES + 5), SDLK_a, 0},
    };
    for (const auto& k : keys)
        EXPECT_EQ(VirtualKeyOf(k.scancode, k.keycode), k.vk) << "scancode " << int(k.scancode);
}

} // namespace
