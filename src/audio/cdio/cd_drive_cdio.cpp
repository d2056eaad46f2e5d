#include "audio/cdio/cd_drive_cdio.h"

#include <cdio/logging.h>

#include <cstdlib>

// libcdio writes its warnings to stderr; the CD layer reports nothing.
static void IgnoreCdioLog(cdio_log_level_t, const char[]) {}

CdIo_t* CDOpenDrive()
{
    cdio_log_set_handler(IgnoreCdioLog);
    const char* device = std::getenv("TARVEL_CD_DEVICE");
    if (device && device[0] != '\0')
        return cdio_open(device, DRIVER_UNKNOWN);
    return cdio_open(nullptr, DRIVER_DEVICE);
}

void CDCloseDrive(CdIo_t* drive)
{
    cdio_destroy(drive);
}

bool CDReadToc(CdIo_t* drive, CDToc* toc)
{
    const track_t first = cdio_get_first_track_num(drive);
    const track_t last = cdio_get_last_track_num(drive);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || first < 1 || last < first
        || last > CDTrackLimit)
        return false;
    toc->firstTrack = first;
    toc->lastTrack = last;
    for (int track = first; track <= last; track++) {
        toc->trackStart[track] = cdio_get_track_lsn(drive, track_t(track));
        toc->trackAudio[track] = cdio_get_track_format(drive, track_t(track)) == TRACK_FORMAT_AUDIO;
        if (toc->trackStart[track] == CDIO_INVALID_LSN)
            return false;
    }
    toc->leadOut = cdio_get_track_lsn(drive, CDIO_CDROM_LEADOUT_TRACK);
    return toc->leadOut != CDIO_INVALID_LSN;
}
