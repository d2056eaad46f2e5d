#include "audio/audio_seam.h"
#include "audio/cdio/cd_command.h"
#include "audio/cdio/cd_drive_cdio.h"
#include "audio/cdio/cd_player_cdio.h"

// The cdaudio device: open or closed, and whether positions are read as
// tmsf. The other time formats are not kept; positions given before
// "set cdaudio time format tmsf" play nothing.
static CdIo_t* CDDrive;
static bool CDTimeFormatTmsf;

// Carries out one command string. Like the command layer it stands in for, it
// reports nothing: with no drive, no disc or a data track, or for a command
// it does not know, nothing happens and the program goes on.
void SendCDCommand(const char* text)
{
    const CDCommand command = ParseCDCommand(text);
    if (command.kind == CDCommandKind::Open) {
        // A second open finds the device in use and changes nothing.
        if (!CDDrive)
            CDDrive = CDOpenDrive();
        return;
    }
    if (!CDDrive)
        return;
    switch (command.kind) {
    case CDCommandKind::SetTimeFormatTmsf:
        CDTimeFormatTmsf = true;
        break;
    case CDCommandKind::Seek:
    case CDCommandKind::Stop:
        CDPlayerStop();
        break;
    case CDCommandKind::Play:
        if (CDTimeFormatTmsf)
            CDPlayerStart(CDDrive, command.position);
        break;
    case CDCommandKind::Close:
        CDPlayerClose();
        CDCloseDrive(CDDrive);
        CDDrive = nullptr;
        CDTimeFormatTmsf = false;
        break;
    case CDCommandKind::Open:
    case CDCommandKind::Unknown:
        break;
    }
}
