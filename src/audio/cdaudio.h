#pragma once

#include <cstdint>

// CD audio, driven by the platform's command strings: "open cdaudio", "set
// cdaudio time format tmsf", "seek cdaudio to %u", "play cdaudio from %u",
// "stop cdaudio" and "close cdaudio". Nothing is reported; no failure stops
// the program.
void OpenCD();
void PlayCD(uint32_t position);
void StopCD();
void CloseCD();

// Platform seam: carries out one command string. Failures are ignored.
void SendCDCommand(const char* command);
