#include <windows.h>

#include <cstring>

#include "input/keyboard.h"

// The thread's key states by virtual-key code; all keys up when the
// snapshot cannot be taken.
void ReadKeyboardSnapshot(uint8_t keys[256])
{
    if (!GetKeyboardState(keys))
        std::memset(keys, 0, 256);
}
