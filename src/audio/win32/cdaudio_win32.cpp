#include <windows.h>
#include <mmsystem.h>

#include "audio/audio_seam.h"
#include "core/debug_log.h"

// One MCI command string to the "cdaudio" device: no return text, no
// callback window; the result is not examined (it is only logged).
void SendCDCommand(const char* command)
{
    const MCIERROR result = mciSendStringA(command, nullptr, 0, nullptr);
    DebugLog("mciSendStringA \"%s\" %lu", command, static_cast<unsigned long>(result));
}
