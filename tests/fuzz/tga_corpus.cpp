// Writes the TGA reader's seed inputs into the folder given: small pictures
// of each accepted layout, and files broken in each way the reader checks.
#include <cstdio>
#include <string>
#include <vector>

#include "contentgen/tga_write.h"
#include "fuzz_file.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return std::fprintf(stderr, "usage: tga_corpus DIR\n"), 2;
    const auto tga = [](int w, int h, int depth = 24, bool topDown = false, const char* id = nullptr) {
        Picture p{w, h, {}};
        for (uint32_t i = 0; i < uint32_t(w * h); i++)
            p.pixels.push_back(i % 7 == 0 ? 0 : (i * 0x9E3779B9u) & 0xFFFFFF); // one in seven black
        return EncodeTga(p, {depth, topDown, id});
    };
    // {name, bytes, {offset, value} patches, length kept (0: all)}.
    const struct Seed {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<std::pair<size_t, uint8_t>> patches = {};
        size_t keep = 0;
    } seeds[] = {
        {"bottom_up_24", tga(2, 2)},
        {"top_down_24", tga(2, 2, 24, true)},
        {"alpha_32", tga(3, 2, 32, true)},
        {"id_field", tga(2, 1, 24, false, "tarvel")},
        {"zero_width", tga(0, 7)},
        {"zero_height", tga(7, 0, 32)},
        {"wider_than_target", tga(120, 5), {{8, 0xD8}, {9, 0xFF}, {10, 3}}},   // origin (-40, 3)
        {"taller_than_target", tga(4, 110), {{8, 5}, {10, 0xF9}, {11, 0xFF}}}, // origin (5, -7)
        {"huge_header", tga(2, 2), {{12, 0xFF}, {13, 0xFF}, {14, 0xFF}, {15, 0xFF}, {16, 32}}},
        {"run_length", tga(2, 2), {{2, 10}}},
        {"colour_map", tga(2, 2), {{1, 1}}},
        {"depth_16", tga(2, 2), {{16, 16}}},
        {"short_pixels", tga(4, 4), {}, 18 + 15},
        {"short_id", tga(1, 1, 24, false, "tarvel"), {}, 18 + 3},
        {"short_header", tga(4, 4), {}, 11},
        {"empty", {}},
    };
    for (Seed seed : seeds) {
        for (auto [at, value] : seed.patches)
            seed.bytes[at] = value;
        WriteWholeFile(std::string(argv[1]) + "/" + seed.name + ".tga", seed.bytes.data(),
                       seed.keep ? seed.keep : seed.bytes.size());
    }
    return 0;
}
