// libFuzzer target for the TGA reader. Each input is written to a file and
// read back with SizeTGA and LoadTGA into a target that may be smaller than
// the picture, placed by the header's origin fields (which the reader itself
// ignores) so that clipping on every side is exercised. A fatal error ends
// the load, not the process: this program's ShowMessageBox throws.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app_seam.h"
#include "image/tga.h"
#include "raster/screen.h"

namespace {

struct LoadEnded {};

// Marks target pixels the reader has not written; decoded pixels always
// have a zero top byte, so they can never equal it.
constexpr uint32_t Untouched = 0xFF000000u;
constexpr int TargetLimit = 96;

std::string InputFile;

int Int16At(const uint8_t* data, size_t size, size_t at)
{
    return at + 1 < size ? int(int16_t(uint16_t(data[at] | data[at + 1] << 8))) : 0;
}

} // namespace

void ShowMessageBox(const char*, const char*)
{
    throw LoadEnded{};
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A memory-backed folder where there is one: one file is written per input.
    const std::filesystem::path folder =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    InputFile = (folder / ("tarvel-tga-fuzz-" + std::to_string(getpid()) + ".tga")).string();
    std::atexit([] { std::remove(InputFile.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* file = InputFile.c_str();
    std::FILE* f = std::fopen(file, "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();

    int w = 0, h = 0;
    try {
        SizeTGA(file, &w, &h);
    } catch (const LoadEnded&) {
        return 0;
    }
    if (w < 0 || w > 65535 || h < 0 || h > 65535)
        __builtin_trap();

    const int x = Int16At(data, size, 8), y = Int16At(data, size, 10);
    Screen target;
    newscreen(&target, std::min(w, TargetLimit), std::min(h, TargetLimit));
    for (int row = 0; row < target.height; row++)
        std::fill_n(target.rows[row], target.width, Untouched);
    SetTarget(&target);
    bool loaded = true;
    try {
        LoadTGA(file, x, y);
    } catch (const LoadEnded&) {
        loaded = false;
    }
    SetTarget(nullptr);

    // After a completed load, exactly the pixels under the placed picture are
    // written, each with a zero top byte; after a failed one, none is.
    bool consistent = true;
    for (int row = 0; row < target.height; row++)
        for (int col = 0; col < target.width; col++) {
            const uint32_t p = target.rows[row][col];
            const bool covered = loaded && col >= x && col - x < w && row >= y && row - y < h;
            consistent = consistent && (covered ? (p & 0xFF000000u) == 0 : p == Untouched);
        }
    FreeScreen(&target);
    if (!consistent)
        __builtin_trap();
    return 0;
}
