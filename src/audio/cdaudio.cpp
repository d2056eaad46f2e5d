#include "audio/cdaudio.h"

#include <cstdio>

#include "audio/audio_seam.h"

void OpenCD()
{
    SendCDCommand("open cdaudio");
    SendCDCommand("set cdaudio time format tmsf");
}

void PlayCD(uint32_t position)
{
    char command[128];
    std::snprintf(command, sizeof command, "seek cdaudio to %u", unsigned(position));
    SendCDCommand(command);
    std::snprintf(command, sizeof command, "play cdaudio from %u", unsigned(position));
    SendCDCommand(command);
}

void StopCD()
{
    SendCDCommand("stop cdaudio");
}

void CloseCD()
{
    SendCDCommand("stop cdaudio");
    SendCDCommand("close cdaudio");
}
