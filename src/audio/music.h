#pragma once

// Platform seam: the soundtrack, whose playback position is the show's clock.

// Creates the music player; failures leave it silent.
void MusicInit();

// Starts playing `file` (a program file name with '\' separators) from
// position 0. A file that cannot be played leaves the music silent.
void MusicPlay(const char* file);

// Playback position in seconds; 0.0 when nothing plays.
double MusicPosition();

// Stops and releases the music player; safe to call twice.
void MusicShutdown();
