#pragma once

#include <span>

#include "contentgen/picture.h"
#include "contentgen/tga_write.h"

// One picture of the show: where it goes, its size, whether it is a keyed
// sprite (black background) and what paints it.
struct PictureAsset {
    const char* file; // relative to the content folder, '/' separated
    int slot;         // image slot; the background is slot 0
    int width;
    int height;
    bool keyed;
    void (*paint)(Canvas&, int slot);
};

// The 114 pictures in loading order: background, then slots 1-127.
std::span<const PictureAsset> PictureAssets();

// Paints the picture and flattens it for its role.
Picture PaintPicture(const PictureAsset& asset);

// The storage format of the n-th picture of the list: the set cycles through
// 24 and 32 bits, bottom-up and top-down rows, with and without an image ID.
TgaFormat PictureFormat(int index);
