#pragma once

#include <cstdint>

// Virtual-key codes, the keyboard snapshot's indices (input_seam.h), for the
// keys that platforms name when they map their own key codes. Letters and
// digits are their upper-case ASCII codes.
enum VirtualKey : uint8_t {
    VkLButton = 0x01, VkRButton = 0x02, VkMButton = 0x04, VkXButton1 = 0x05, VkXButton2 = 0x06,
    VkBack = 0x08, VkTab = 0x09, VkClear = 0x0C, VkReturn = 0x0D,
    VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12, VkPause = 0x13, VkCapital = 0x14,
    VkEscape = 0x1B, VkSpace = 0x20, VkPrior = 0x21, VkNext = 0x22, VkEnd = 0x23, VkHome = 0x24,
    VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27, VkDown = 0x28, VkSelect = 0x29, VkExecute = 0x2B,
    VkSnapshot = 0x2C, VkInsert = 0x2D, VkDelete = 0x2E, VkHelp = 0x2F,
    VkLWin = 0x5B, VkRWin = 0x5C, VkApps = 0x5D, VkSleep = 0x5F,
    VkNumpad0 = 0x60, VkMultiply = 0x6A, VkAdd = 0x6B, VkSeparator = 0x6C, VkSubtract = 0x6D,
    VkDecimal = 0x6E, VkDivide = 0x6F, VkF1 = 0x70, VkF13 = 0x7C,
    VkNumLock = 0x90, VkScroll = 0x91,
    VkLShift = 0xA0, VkRShift = 0xA1, VkLControl = 0xA2, VkRControl = 0xA3, VkLMenu = 0xA4, VkRMenu = 0xA5,
    VkVolumeMute = 0xAD, VkVolumeDown = 0xAE, VkVolumeUp = 0xAF,
    VkOem1 = 0xBA, VkOemPlus = 0xBB, VkOemComma = 0xBC, VkOemMinus = 0xBD, VkOemPeriod = 0xBE,
    VkOem2 = 0xBF, VkOem3 = 0xC0, VkOem4 = 0xDB, VkOem5 = 0xDC, VkOem6 = 0xDD, VkOem7 = 0xDE,
    VkOem102 = 0xE2,
};

// The side-neutral Shift, Control and Alt codes of a snapshot: down when
// either the left or the right key is.
inline void SetSideNeutralKeys(uint8_t keys[256])
{
    keys[VkShift] = keys[VkLShift] | keys[VkRShift];
    keys[VkControl] = keys[VkLControl] | keys[VkRControl];
    keys[VkMenu] = keys[VkLMenu] | keys[VkRMenu];
}
