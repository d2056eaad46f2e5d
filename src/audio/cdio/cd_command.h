#pragma once

#include <cstdint>

// The command strings of the CD layer, exactly as the engine writes them.
// Anything else is Unknown, and the layer ignores it.
enum class CDCommandKind { Unknown, Open, SetTimeFormatTmsf, Seek, Play, Stop, Close };

struct CDCommand {
    CDCommandKind kind;
    uint32_t position; // Seek and Play: the position, in the tmsf format
};

// "open cdaudio", "set cdaudio time format tmsf", "seek cdaudio to N",
// "play cdaudio from N", "stop cdaudio", "close cdaudio"; N is an unsigned
// decimal number of 32 bits with nothing before or after it.
CDCommand ParseCDCommand(const char* text);
