#include "audio/cdio/cd_command.h"

#include <string_view>

// Digits only, at least one, and a value that fits 32 bits.
static bool ParsePosition(std::string_view digits, uint32_t* position)
{
    if (digits.empty())
        return false;
    uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + uint64_t(c - '0');
        if (value > UINT32_MAX)
            return false;
    }
    *position = uint32_t(value);
    return true;
}

CDCommand ParseCDCommand(const char* text)
{
    const std::string_view command(text);
    if (command == "open cdaudio")
        return {CDCommandKind::Open, 0};
    if (command == "set cdaudio time format tmsf")
        return {CDCommandKind::SetTimeFormatTmsf, 0};
    if (command == "stop cdaudio")
        return {CDCommandKind::Stop, 0};
    if (command == "close cdaudio")
        return {CDCommandKind::Close, 0};

    constexpr std::string_view seek = "seek cdaudio to ";
    constexpr std::string_view play = "play cdaudio from ";
    uint32_t position = 0;
    if (command.starts_with(seek) && ParsePosition(command.substr(seek.size()), &position))
        return {CDCommandKind::Seek, position};
    if (command.starts_with(play) && ParsePosition(command.substr(play.size()), &position))
        return {CDCommandKind::Play, position};
    return {CDCommandKind::Unknown, 0};
}
