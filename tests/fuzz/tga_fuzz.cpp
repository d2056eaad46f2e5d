// libFuzzer target for the TGA reader: each input written to a file and read
// with SizeTGA and LoadTGA into a target of at most 96 x 96 pixels, placed by
// the header's origin fields (which the reader ignores) so that every side
// clips. This program's ShowMessageBox throws: a fatal error ends the load.

#include <algorithm>
#include <cstdint>

#include "app/app_seam.h"
#include "fuzz_file.h"
#include "image/tga.h"
#include "raster/screen.h"

struct LoadEnded {};

void ShowMessageBox(const char*, const char*)
{
    throw LoadEnded{};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteWholeFile(ScratchFile(), data, size);
    const auto int16At = [&](size_t at) { return at + 1 < size ? int(int16_t(data[at] | data[at + 1] << 8)) : 0; };
    int w = 0, h = 0;
    Screen target{};
    try {
        SizeTGA(ScratchFile(), &w, &h);
        newscreen(&target, std::min(w, 96), std::min(h, 96));
        SetTarget(&target);
        LoadTGA(ScratchFile(), int16At(8), int16At(10));
    } catch (const LoadEnded&) {
    }
    SetTarget(nullptr);
    FreeScreen(&target);
    return 0;
}
