#include "input/keyboard.h"

#include <cstring>

uint8_t KeyState[256];

void ClearKeys()
{
    std::memset(KeyState, 0, sizeof KeyState);
}

void ReadKeyboard()
{
    ReadKeyboardSnapshot(KeyState);
    for (uint8_t& key : KeyState)
        key &= 0x80;
}

int FirstKeyDown()
{
    for (int code = 1; code <= 126; code++)
        if (KeyState[code])
            return code;
    return 0;
}
