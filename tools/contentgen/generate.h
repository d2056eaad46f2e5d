#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes every picture of the show under outDir, in the folders their names
// give (graph/...).
void WritePictures(const std::string& outDir);

// Writes the soundtrack to outDir/music/music00.mp3.
void WriteSoundtrack(const std::string& outDir);

// The whole set: pictures and soundtrack, made side by side on two threads.
void WriteContent(const std::string& outDir);

// Writes the bytes to the file, creating its folder; any failure is fatal.
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
