#pragma once

#include <cstddef>
#include <cstring>

// Platform seam: the soundtrack, whose playback position is the show's clock.

// Creates the music player; failures leave it silent.
void MusicInit();

// Starts playing `file` (a program file name with '\' separators) from
// position 0. A file that cannot be played, or whose name is too long
// (see MusicNameFits), leaves the music silent.
void MusicPlay(const char* file);

// Halts playback; the position stays where it was heard last.
void MusicStop();

// Playback position in seconds; 0.0 when nothing plays.
double MusicPosition();

// Stops and releases the music player; safe to call twice.
void MusicShutdown();

// Soundtrack names are limited to 254 characters, the room the media player
// has for a name; longer ones are refused.
constexpr std::size_t MusicNameLimit = 254;
inline bool MusicNameFits(const char* file)
{
    return std::strlen(file) <= MusicNameLimit;
}
