// tarvel-contentgen: writes the show's pictures and soundtrack.
//
//   tarvel-contentgen OUTDIR
//       the whole set: OUTDIR/graph/*.TGA, OUTDIR/graph/fondo.tga and
//       OUTDIR/music/music00.mp3
//   tarvel-contentgen --contact-sheet OUT.png [FIRST LAST]
//       thumbnails of the pictures of slots FIRST..LAST (all by default)
//   tarvel-contentgen --icon OUT.png SIZE
//       the program's icon, SIZE x SIZE RGBA (16, 32, 64, 128 or 256)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "contentgen/assets.h"
#include "contentgen/contact_sheet.h"
#include "contentgen/generate.h"
#include "contentgen/icon.h"
#include "contentgen/png_write.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: tarvel-contentgen OUTDIR\n"
                         "       tarvel-contentgen --contact-sheet OUT.png [FIRST LAST]\n"
                         "       tarvel-contentgen --icon OUT.png SIZE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "--contact-sheet") {
        if (argc != 3 && argc != 5)
            return Usage();
        int first = argc == 5 ? std::atoi(argv[3]) : 0, last = argc == 5 ? std::atoi(argv[4]) : 999;
        WriteBytes(argv[2], EncodePng(ContactSheet(first, last)));
        return 0;
    }
    if (argc >= 2 && std::string(argv[1]) == "--icon") {
        const int size = argc == 4 ? std::atoi(argv[3]) : 0;
        if (!IsIconSize(size))
            return Usage();
        const std::vector<uint32_t> icon = PaintIcon(size);
        const std::vector<uint8_t> png = EncodePngRgba(icon.data(), size, size, size);
        if (png.empty())
            Fail("cannot compress the PNG picture data", "");
        WriteBytes(argv[2], png);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-')
        return Usage();
    auto start = std::chrono::steady_clock::now();
    WriteContent(argv[1]);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("tarvel-contentgen: %zu pictures and the soundtrack written to %s in %.2f s\n",
                PictureAssets().size(), argv[1], seconds);
    return 0;
}
