#include "audio/cdaudio.h"

// No CD drive: every command is ignored.
void SendCDCommand(const char*) {}
