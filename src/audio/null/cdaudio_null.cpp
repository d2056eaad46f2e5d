#include "audio/audio_seam.h"

// No CD drive: every command is ignored.
void SendCDCommand(const char*) {}
