#pragma once

#include <cdio/cdio.h>

#include <cstdint>

// Digital playback of the disc into the program's one audio output: a
// reader thread takes the sectors through libcdio's paranoia reader and
// queues them, and a post-mix effect of SDL2_mixer adds them to every
// mixed buffer, after the soundtrack and the sample channels. The CD takes
// no reference to the mixer: it is heard while the soundtrack or the sample
// channels hold the output open (from MusicInit to EndSound), and the sound
// device's release still finds itself the last user.

// Plays from a tmsf position to the end of the audio tracks that follow
// it; whatever played before stops first. Nothing plays while the mixer is
// closed. The table of contents is read on the reader thread, so a slow
// drive never holds up the caller; a position that is not on the disc
// plays nothing.
void CDPlayerStart(CdIo_t* drive, uint32_t tmsf);

// Stops the reader and drops what it had queued: silence from the next
// mixed buffer on.
void CDPlayerStop();

// Stops playback and takes the CD audio off the mixer.
void CDPlayerClose();
