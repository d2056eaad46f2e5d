#pragma once

#include <string>

// The show's files, written with '\' between folders and passed to the
// loaders exactly so.
inline constexpr const char BackgroundFile[] = "graph\\fondo.tga";
inline constexpr const char SoundtrackFile[] = "music\\music00.mp3";

// Highest slot that the manifest fills after the background (slot 0).
constexpr int LastManifestSlot = 127;

// The picture file of `slot` (1-127), or "" for the slots the manifest
// leaves empty (79, 80 and 89-100) and for any slot outside 1-127.
std::string ManifestFile(int slot);
