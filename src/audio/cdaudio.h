#pragma once

#include <cstdint>

// CD audio, driven by the platform's command strings (SendCDCommand).
// Nothing is reported; no failure stops the program.
void OpenCD();
// Plays from a tmsf position: the track in the low byte, then minutes,
// seconds and frames into it, a byte each.
void PlayCD(uint32_t position);
void StopCD();
void CloseCD();
