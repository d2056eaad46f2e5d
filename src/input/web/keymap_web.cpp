#include "input/web/keymap_web.h"

#include <algorithm>
#include <array>

#include "input/virtual_keys.h"

namespace {

struct CodeKey {
    std::string_view code;
    uint8_t key;
};

// Positions named by DOM key codes other than letters, digits, F-keys and
// the numeric keypad's digits, sorted by name for the search.
constexpr auto NamedCodes = std::to_array<CodeKey>({
    {"AltLeft", VkLMenu}, {"AltRight", VkRMenu}, {"ArrowDown", VkDown}, {"ArrowLeft", VkLeft},
    {"ArrowRight", VkRight}, {"ArrowUp", VkUp}, {"AudioVolumeDown", VkVolumeDown},
    {"AudioVolumeMute", VkVolumeMute}, {"AudioVolumeUp", VkVolumeUp}, {"Backquote", VkOem3},
    {"Backslash", VkOem5}, {"Backspace", VkBack}, {"BracketLeft", VkOem4}, {"BracketRight", VkOem6},
    {"CapsLock", VkCapital}, {"Comma", VkOemComma}, {"ContextMenu", VkApps}, {"ControlLeft", VkLControl},
    {"ControlRight", VkRControl}, {"Delete", VkDelete}, {"End", VkEnd}, {"Enter", VkReturn},
    {"Equal", VkOemPlus}, {"Escape", VkEscape}, {"Help", VkHelp}, {"Home", VkHome}, {"Insert", VkInsert},
    {"IntlBackslash", VkOem102}, {"MetaLeft", VkLWin}, {"MetaRight", VkRWin}, {"Minus", VkOemMinus},
    {"NumLock", VkNumLock}, {"NumpadAdd", VkAdd}, {"NumpadClear", VkClear}, {"NumpadComma", VkSeparator},
    {"NumpadDecimal", VkDecimal}, {"NumpadDivide", VkDivide}, {"NumpadEnter", VkReturn},
    {"NumpadMultiply", VkMultiply}, {"NumpadSubtract", VkSubtract}, {"PageDown", VkNext},
    {"PageUp", VkPrior}, {"Pause", VkPause}, {"Period", VkOemPeriod}, {"PrintScreen", VkSnapshot},
    {"Quote", VkOem7}, {"ScrollLock", VkScroll}, {"Select", VkSelect}, {"Semicolon", VkOem1},
    {"ShiftLeft", VkLShift}, {"ShiftRight", VkRShift}, {"Slash", VkOem2}, {"Sleep", VkSleep},
    {"Space", VkSpace}, {"Tab", VkTab},
});

constexpr bool ByCode(const CodeKey& a, const CodeKey& b)
{
    return a.code < b.code;
}

static_assert(std::is_sorted(NamedCodes.begin(), NamedCodes.end(), ByCode));

// The number after `prefix` in `code` ("F12" -> 12), or -1.
int NumberAfter(std::string_view code, std::string_view prefix)
{
    if (!code.starts_with(prefix) || code.size() == prefix.size() || code.size() > prefix.size() + 2)
        return -1;
    int n = 0;
    for (char c : code.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

// A letter or digit key of the main block ("KeyA" .. "KeyZ", "Digit0" ..
// "Digit9"): its code by position, else 0.
uint8_t MainBlockKey(std::string_view code)
{
    if (code.size() == 4 && code.starts_with("Key") && code[3] >= 'A' && code[3] <= 'Z')
        return uint8_t(code[3]);
    if (code.size() == 6 && code.starts_with("Digit") && code[5] >= '0' && code[5] <= '9')
        return uint8_t(code[5]);
    return 0;
}

// What the layout makes of a main-block key when that is a letter or digit.
uint8_t LayoutKey(std::string_view key)
{
    if (key.size() != 1)
        return 0;
    const char c = key[0];
    if (c >= 'a' && c <= 'z')
        return uint8_t(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return uint8_t(c);
    return 0;
}

} // namespace

uint8_t VirtualKeyOfDomKey(std::string_view code, std::string_view key)
{
    if (const uint8_t position = MainBlockKey(code)) {
        const uint8_t named = LayoutKey(key);
        return named ? named : position;
    }
    if (const int f = NumberAfter(code, "F"); f >= 1 && f <= 24)
        return uint8_t(VkF1 + f - 1);
    if (const int digit = NumberAfter(code, "Numpad"); digit >= 0 && digit <= 9)
        return uint8_t(VkNumpad0 + digit);
    const auto found = std::lower_bound(NamedCodes.begin(), NamedCodes.end(), CodeKey{code, 0}, ByCode);
    return found != NamedCodes.end() && found->code == code ? found->key : 0;
}

uint8_t VirtualKeyOfMouseButton(int button)
{
    constexpr uint8_t buttons[] = {VkLButton, VkMButton, VkRButton, VkXButton1, VkXButton2};
    return button >= 0 && button < 5 ? buttons[button] : 0;
}
