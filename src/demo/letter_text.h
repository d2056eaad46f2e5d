#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The letter scroller's line: 50 cells, 40 pixels apart. A cell holds 0 for a
// gap, drawn as the marker of slot 1, or n = 1..27 for the letter picture of
// slot 100 + n. The letter pictures, in slot order from 101:
inline constexpr char LetterOrder[] = "aAbcdDeEiKlLmMnNoOpPrRsStuz";

// Cell number of a character: its place in LetterOrder, 0 for a space. A
// character without a picture stops the compilation.
constexpr uint8_t LetterCell(char c)
{
    if (c == ' ')
        return 0;
    for (int i = 0; LetterOrder[i] != '\0'; ++i)
        if (LetterOrder[i] == c)
            return uint8_t(i + 1);
    throw "no letter picture for this character";
}

constexpr std::array<uint8_t, 50> SpellLetterText(const char (&text)[51])
{
    std::array<uint8_t, 50> cells{};
    for (int i = 0; i < 50; ++i)
        cells[std::size_t(i)] = LetterCell(text[i]);
    return cells;
}

// The message that scrolls past while the band plays.
inline constexpr std::array<uint8_t, 50> LetterText =
    SpellLetterText(" Made in code  Sound and colour  Pure demo spirit ");
