#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

// This process's scratch file, in a memory-backed folder where there is one
// (a file is written per input), removed at exit.
inline const char* ScratchFile()
{
    static char name[512] = "";
    if (!name[0]) {
        const std::filesystem::path folder =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::snprintf(name, sizeof name, "%s/tarvel-fuzz-%d", folder.c_str(), int(getpid()));
        std::atexit([] { std::remove(ScratchFile()); });
    }
    return name;
}

inline void WriteScratchFile(const void* data, size_t size)
{
    std::FILE* f = std::fopen(ScratchFile(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
}
