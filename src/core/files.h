#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

// Every file name the program uses is written with '\' between folders. This
// turns it into the name the host's file system expects: '/' on POSIX
// systems, unchanged on Windows. Letter case is kept exactly.
std::string NativePath(const char* name);

// Opens a data file of the program by its written name (see NativePath) with
// the given fopen mode. Null when the file cannot be opened. Every loader
// opens its files through here.
std::FILE* OpenDataFile(const char* name, const char* mode);

// Soundtrack names are limited to 254 characters, the room the media player
// has for a name; every music player refuses longer ones.
constexpr std::size_t MusicNameLimit = 254;
inline bool MusicNameFits(const char* file)
{
    return std::strlen(file) <= MusicNameLimit;
}
