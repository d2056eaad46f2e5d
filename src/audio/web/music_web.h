#pragma once

// Decodes a soundtrack (a program file name) ahead of MusicPlay, while the
// page waits for the user; MusicPlay of the same file then starts at once.
// A file that is missing or cannot be decoded stays silent as ever.
void PrefetchMusic(const char* file);
