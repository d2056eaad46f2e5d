#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// This process's scratch file in /dev/shm (a file is written per input), removed at exit.
inline const char* ScratchFile()
{
    static const std::string name = "/dev/shm/tarvel-fuzz-" + std::to_string(getpid());
    [[maybe_unused]] static const int removed = std::atexit([] { std::remove(name.c_str()); });
    return name.c_str();
}

// Writes the file whole; a failure ends the process.
inline void WriteWholeFile(const std::string& name, const void* data, size_t size)
{
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
}
