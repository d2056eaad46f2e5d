#pragma once

#include <string>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include "raster/screen.h"

// Results are named "<operation>/<W>x<H>". Every operation is compared with
// "memcpy/<W>x<H>", a single memcpy of W*H pixels, and, when it has one, with
// the SDL2 operation registered for it here.
void CompareWithSdl(const std::string& operation, const std::string& sdlOperation);

// Registers the memcpy and SDL2 reference benchmarks for a W x H rectangle
// drawn onto an 800x600 surface: "memcpy", "SDL opaque blit", "SDL keyed blit".
void RegisterReferences(int w, int h);

// Screens filled with a deterministic picture whose pixels are one in eight
// black, like a sprite's transparent areas.
void FillPicture(Screen* s, unsigned seed);

// The same kind of picture as an SDL2 surface of the Screens' pixel format.
SDL_Surface* PictureSurface(int w, int h, unsigned seed);

inline std::string SizeName(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }
inline std::string SizePath(int w, int h)
{
    std::string path(1, '/');
    return path.append(SizeName(w, h));
}
