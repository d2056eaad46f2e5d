#pragma once

#include <cstdint>
#include <string_view>

// The virtual-key code of a DOM key event, from its `code` (where the key
// is) and its `key` (what the keyboard layout makes of it): letters and
// digits of the main block follow the layout, every other key its position.
// 0 for keys without a code.
uint8_t VirtualKeyOfDomKey(std::string_view code, std::string_view key);

// The virtual-key code of a DOM mouse button number (0 left, 1 middle,
// 2 right, 3 and 4 the extra buttons); 0 for others.
uint8_t VirtualKeyOfMouseButton(int button);
