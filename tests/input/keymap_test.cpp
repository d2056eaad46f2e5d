#include <gtest/gtest.h>

#include "input/sdl/keymap_sdl.h"

namespace {

// One key of each run of codes, and the ends of the runs.
TEST(KeyMapTest, KeysByPosition)
{
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_LEFT, SDLK_LEFT), 0x25);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_DOWN, SDLK_DOWN), 0x28);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER), 0x0D);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_F12, SDLK_F12), 0x7B);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_F24, SDLK_F24), 0x87);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_KP_0, SDLK_KP_0), 0x60);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_KP_9, SDLK_KP_9), 0x69);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_RALT, SDLK_RALT), 0xA5);
}

TEST(KeyMapTest, LettersAndDigitsFollowTheLayout)
{
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_A, SDLK_a), 'A');
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_Z, SDLK_z), 'Z');
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_0, SDLK_0), '0');
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_9, SDLK_9), '9');
    // A layout with A where Q is, and a digit row of symbols.
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_Q, SDLK_a), 'A');
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_1, SDLK_AMPERSAND), '1');
    // Only keys of the main block are renamed by the layout.
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_F1, SDLK_a), 0x70);
}

TEST(KeyMapTest, UnknownKeysHaveNoCode)
{
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN), 0);
    EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT), 0);
    EXPECT_EQ(VirtualKeyOf(SDL_Scancode(SDL_NUM_SCANCODES + 5), SDLK_a), 0);
}

TEST(KeyMapTest, SnapshotAddsSideNeutralModifiersAndMouseButtons)
{
    uint8_t state[SDL_NUM_SCANCODES] = {};
    state[SDL_SCANCODE_RSHIFT] = 1;
    state[SDL_SCANCODE_LALT] = 1;
    state[SDL_SCANCODE_ESCAPE] = 1;
    uint8_t keys[256];
    std::fill(std::begin(keys), std::end(keys), uint8_t(0x55));
    KeysFromScancodes(state, SDL_NUM_SCANCODES, SDL_BUTTON_LMASK | SDL_BUTTON_X2MASK, keys);

    EXPECT_EQ(keys[0xA1], 0x80);
    EXPECT_EQ(keys[0x10], 0x80);
    EXPECT_EQ(keys[0xA4], 0x80);
    EXPECT_EQ(keys[0x12], 0x80);
    EXPECT_EQ(keys[0x11], 0);
    EXPECT_EQ(keys[0x1B], 0x80);
    EXPECT_EQ(keys[0x01], 0x80);
    EXPECT_EQ(keys[0x06], 0x80);
    EXPECT_EQ(keys[0x02], 0);
    int down = 0;
    for (uint8_t key : keys)
        down += key != 0;
    EXPECT_EQ(down, 7);
}

} // namespace
