#include "input/sdl/keymap_sdl.h"

#include <array>
#include <cstring>

#include "input/virtual_keys.h"

namespace {

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> BuildScancodeTable()
{
    std::array<uint8_t, SDL_NUM_SCANCODES> t{};
    for (int i = 0; i < 26; i++)
        t[SDL_SCANCODE_A + i] = uint8_t('A' + i);
    for (int i = 0; i < 9; i++)
        t[SDL_SCANCODE_1 + i] = uint8_t('1' + i);
    t[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 12; i++)
        t[SDL_SCANCODE_F1 + i] = uint8_t(VkF1 + i);
    for (int i = 0; i < 12; i++)
        t[SDL_SCANCODE_F13 + i] = uint8_t(VkF13 + i);
    for (int i = 0; i < 9; i++)
        t[SDL_SCANCODE_KP_1 + i] = uint8_t(VkNumpad0 + 1 + i);
    t[SDL_SCANCODE_KP_0] = VkNumpad0;
    t[SDL_SCANCODE_RETURN] = VkReturn;
    t[SDL_SCANCODE_ESCAPE] = VkEscape;
    t[SDL_SCANCODE_BACKSPACE] = VkBack;
    t[SDL_SCANCODE_TAB] = VkTab;
    t[SDL_SCANCODE_SPACE] = VkSpace;
    t[SDL_SCANCODE_MINUS] = VkOemMinus;
    t[SDL_SCANCODE_EQUALS] = VkOemPlus;
    t[SDL_SCANCODE_LEFTBRACKET] = VkOem4;
    t[SDL_SCANCODE_RIGHTBRACKET] = VkOem6;
    t[SDL_SCANCODE_BACKSLASH] = VkOem5;
    t[SDL_SCANCODE_NONUSHASH] = VkOem5;
    t[SDL_SCANCODE_SEMICOLON] = VkOem1;
    t[SDL_SCANCODE_APOSTROPHE] = VkOem7;
    t[SDL_SCANCODE_GRAVE] = VkOem3;
    t[SDL_SCANCODE_COMMA] = VkOemComma;
    t[SDL_SCANCODE_PERIOD] = VkOemPeriod;
    t[SDL_SCANCODE_SLASH] = VkOem2;
    t[SDL_SCANCODE_NONUSBACKSLASH] = VkOem102;
    t[SDL_SCANCODE_CAPSLOCK] = VkCapital;
    t[SDL_SCANCODE_PRINTSCREEN] = VkSnapshot;
    t[SDL_SCANCODE_SCROLLLOCK] = VkScroll;
    t[SDL_SCANCODE_PAUSE] = VkPause;
    t[SDL_SCANCODE_INSERT] = VkInsert;
    t[SDL_SCANCODE_HOME] = VkHome;
    t[SDL_SCANCODE_PAGEUP] = VkPrior;
    t[SDL_SCANCODE_DELETE] = VkDelete;
    t[SDL_SCANCODE_END] = VkEnd;
    t[SDL_SCANCODE_PAGEDOWN] = VkNext;
    t[SDL_SCANCODE_RIGHT] = VkRight;
    t[SDL_SCANCODE_LEFT] = VkLeft;
    t[SDL_SCANCODE_DOWN] = VkDown;
    t[SDL_SCANCODE_UP] = VkUp;
    t[SDL_SCANCODE_NUMLOCKCLEAR] = VkNumLock;
    t[SDL_SCANCODE_KP_DIVIDE] = VkDivide;
    t[SDL_SCANCODE_KP_MULTIPLY] = VkMultiply;
    t[SDL_SCANCODE_KP_MINUS] = VkSubtract;
    t[SDL_SCANCODE_KP_PLUS] = VkAdd;
    t[SDL_SCANCODE_KP_ENTER] = VkReturn;
    t[SDL_SCANCODE_KP_PERIOD] = VkDecimal;
    t[SDL_SCANCODE_KP_COMMA] = VkSeparator;
    t[SDL_SCANCODE_APPLICATION] = VkApps;
    t[SDL_SCANCODE_HELP] = VkHelp;
    t[SDL_SCANCODE_SELECT] = VkSelect;
    t[SDL_SCANCODE_EXECUTE] = VkExecute;
    t[SDL_SCANCODE_CLEAR] = VkClear;
    t[SDL_SCANCODE_SLEEP] = VkSleep;
    t[SDL_SCANCODE_MUTE] = VkVolumeMute;
    t[SDL_SCANCODE_VOLUMEUP] = VkVolumeUp;
    t[SDL_SCANCODE_VOLUMEDOWN] = VkVolumeDown;
    t[SDL_SCANCODE_LCTRL] = VkLControl;
    t[SDL_SCANCODE_LSHIFT] = VkLShift;
    t[SDL_SCANCODE_LALT] = VkLMenu;
    t[SDL_SCANCODE_LGUI] = VkLWin;
    t[SDL_SCANCODE_RCTRL] = VkRControl;
    t[SDL_SCANCODE_RSHIFT] = VkRShift;
    t[SDL_SCANCODE_RALT] = VkRMenu;
    t[SDL_SCANCODE_RGUI] = VkRWin;
    return t;
}

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> ScancodeKeys = BuildScancodeTable();

bool IsLetterOrDigitKey(SDL_Scancode scancode)
{
    return (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        || (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0);
}

} // namespace

uint8_t VirtualKeyOf(SDL_Scancode scancode, SDL_Keycode keycode)
{
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES)
        return 0;
    // On the main block, letters and digits are named by the layout, as
    // the keyboard's own driver does; keys the layout makes something else
    // (a symbol) keep the code of their position.
    if (IsLetterOrDigitKey(scancode)) {
        if (keycode >= SDLK_a && keycode <= SDLK_z)
            return uint8_t('A' + (keycode - SDLK_a));
        if (keycode >= SDLK_0 && keycode <= SDLK_9)
            return uint8_t(keycode);
    }
    return ScancodeKeys[scancode];
}

void KeysFromScancodes(const uint8_t* state, int count, uint32_t mouseButtons, uint8_t keys[256])
{
    std::memset(keys, 0, 256);
    for (int scancode = 0; scancode < count && scancode < SDL_NUM_SCANCODES; scancode++) {
        if (!state[scancode])
            continue;
        const auto code = SDL_Scancode(scancode);
        if (const uint8_t key = VirtualKeyOf(code, SDL_GetKeyFromScancode(code)))
            keys[key] = 0x80;
    }
    SetSideNeutralKeys(keys);
    if (mouseButtons & SDL_BUTTON_LMASK)
        keys[VkLButton] = 0x80;
    if (mouseButtons & SDL_BUTTON_RMASK)
        keys[VkRButton] = 0x80;
    if (mouseButtons & SDL_BUTTON_MMASK)
        keys[VkMButton] = 0x80;
    if (mouseButtons & SDL_BUTTON_X1MASK)
        keys[VkXButton1] = 0x80;
    if (mouseButtons & SDL_BUTTON_X2MASK)
        keys[VkXButton2] = 0x80;
}
