#pragma once

#include <cstdint>
#include <string>

// Writes the 800x600 capture frame as an RGB PNG file; false on failure.
bool WritePngFrame(const std::string& path, const uint32_t* pixels);

// Writes the 800x600 capture frame as 4-byte little-endian 0x00RRGGBB
// pixels, row by row; false on failure.
bool WriteRawFrame(const std::string& path, const uint32_t* pixels);

// Creates the folder and the folders above it; false when it cannot.
bool MakeOutputFolder(const std::string& path);

// "<folder>/<prefix><number in five digits><suffix>"
std::string NumberedPath(const std::string& folder, const char* prefix, int64_t number, const char* suffix);
