#pragma once

#include <cdio/cdio.h>

#include "audio/cdio/cd_toc.h"

// The drive named by TARVEL_CD_DEVICE (a device such as /dev/sr1, or a disc
// image: .cue, .toc or .nrg), else the system's default CD drive. Null when
// there is none; nothing is reported either way.
CdIo_t* CDOpenDrive();
void CDCloseDrive(CdIo_t* drive);

// Reads the disc's table of contents; false with no disc or no tracks.
bool CDReadToc(CdIo_t* drive, CDToc* toc);
