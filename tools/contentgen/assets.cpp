#include "contentgen/assets.h"

#include "contentgen/paint.h"

namespace {

// File, slot, width, height, keyed, painter. Sizes follow the places where the
// timeline draws each slot: 800x400 pictures fill the area above the 800x200
// band, quarter pictures 400x200, photographs 200x200, letters 36x44.
constexpr PictureAsset Assets[] = {
    {"graph/fondo.tga", 0, 800, 600, false, PaintBackdrop},
    {"graph/sprite00.TGA", 1, 32, 32, true, PaintMarker},
    {"graph/sprite01.TGA", 2, 800, 200, true, PaintCaption},
    {"graph/sprite02.TGA", 3, 800, 400, false, PaintPlasma},
    {"graph/sprite03.TGA", 4, 800, 200, true, PaintCaption},
    {"graph/sprite04.TGA", 5, 800, 400, false, PaintMandelbrot},
    {"graph/sprite05.TGA", 6, 800, 200, true, PaintCaption},
    {"graph/sprite06.TGA", 7, 800, 400, false, PaintTunnel},
    {"graph/sprite07.TGA", 8, 800, 400, false, PaintLakeland},
    {"graph/sprite08.TGA", 9, 800, 200, false, PaintEqualiser},
    {"graph/sprite09.TGA", 10, 800, 200, false, PaintEqualiser},
    {"graph/sprite10.TGA", 11, 800, 400, false, PaintSpace},
    {"graph/sprite11.TGA", 12, 800, 400, false, PaintJulia},
    {"graph/sprite12.TGA", 13, 64, 64, true, PaintStarSprite},
    {"graph/sprite13.TGA", 14, 700, 100, true, PaintLogo},
    {"graph/sprite14.TGA", 15, 800, 400, false, PaintCheckerPlane},
    {"graph/sprite15.TGA", 16, 800, 800, false, PaintTallCity},
    {"graph/sprite16.TGA", 17, 200, 200, true, PaintDancer},
    {"graph/sprite17.TGA", 18, 200, 200, true, PaintDancer},
    {"graph/sprite18.TGA", 19, 800, 400, false, PaintMetaballs},
    {"graph/FRASE00.TGA", 20, 800, 200, false, PaintPhrase},
    {"graph/FRASE01.TGA", 21, 800, 200, false, PaintPhrase},
    {"graph/FRASE02.TGA", 22, 800, 200, false, PaintPhrase},
    {"graph/FRASE03.TGA", 23, 800, 200, false, PaintPhrase},
    {"graph/FRASE04.TGA", 24, 800, 200, false, PaintPhrase},
    {"graph/FRASE05.TGA", 25, 800, 200, false, PaintPhrase},
    {"graph/FRASE06.TGA", 26, 800, 200, false, PaintPhrase},
    {"graph/FRASE07.TGA", 27, 800, 200, false, PaintPhrase},
    {"graph/FRASE08.TGA", 28, 800, 200, false, PaintPhrase},
    {"graph/sprite19.TGA", 29, 400, 200, false, PaintCopperBars},
    {"graph/sprite30.TGA", 30, 400, 200, false, PaintFire},
    {"graph/sprite31.TGA", 31, 200, 400, true, PaintRocket},
    {"graph/sprite32.TGA", 32, 400, 200, false, PaintWaves},
    {"graph/sprite33.TGA", 33, 200, 400, false, PaintCubeFrame},
    {"graph/sprite34.TGA", 34, 200, 400, false, PaintCubeFrame},
    {"graph/sprite35.TGA", 35, 200, 400, false, PaintCubeFrame},
    {"graph/sprite36.TGA", 36, 200, 400, false, PaintCubeFrame},
    {"graph/sprite37.TGA", 37, 250, 300, true, PaintRingedPlanet},
    {"graph/sprite38.TGA", 38, 250, 300, true, PaintGem},
    {"graph/sprite39.TGA", 39, 800, 160, true, PaintDropBanner},
    {"graph/fondon.TGA", 40, 800, 200, false, PaintBand},
    {"graph/sprite41.TGA", 41, 200, 100, false, PaintTile},
    {"graph/sprite42.TGA", 42, 200, 100, false, PaintTile},
    {"graph/sprite43.TGA", 43, 200, 100, false, PaintTile},
    {"graph/sprite44.TGA", 44, 200, 100, false, PaintTile},
    {"graph/sprite45.TGA", 45, 200, 200, true, PaintFlash},
    {"graph/sprite46.TGA", 46, 800, 400, false, PaintRings},
    {"graph/sprite47.TGA", 47, 100, 100, true, PaintBubble},
    {"graph/sprite48.TGA", 48, 300, 60, true, PaintGlitch},
    {"graph/sprite49.TGA", 49, 400, 400, false, PaintMandala},
    {"graph/sprite50.TGA", 50, 64, 64, true, PaintBadge},
    {"graph/foto001.TGA", 51, 200, 200, false, PaintPhoto},
    {"graph/foto002.TGA", 52, 200, 200, false, PaintPhoto},
    {"graph/foto003.TGA", 53, 200, 200, false, PaintPhoto},
    {"graph/foto004.TGA", 54, 200, 200, false, PaintPhoto},
    {"graph/foto005.TGA", 55, 200, 200, false, PaintPhoto},
    {"graph/foto006.TGA", 56, 200, 200, false, PaintPhoto},
    {"graph/foto007.TGA", 57, 200, 200, false, PaintPhoto},
    {"graph/foto008.TGA", 58, 200, 200, false, PaintPhoto},
    {"graph/foto009.TGA", 59, 200, 200, false, PaintPhoto},
    {"graph/foto010.TGA", 60, 200, 200, false, PaintPhoto},
    {"graph/foto011.TGA", 61, 200, 200, false, PaintPhoto},
    {"graph/foto012.TGA", 62, 200, 200, false, PaintPhoto},
    {"graph/foto013.TGA", 63, 200, 200, false, PaintPhoto},
    {"graph/foto014.TGA", 64, 200, 200, false, PaintPhoto},
    {"graph/foto015.TGA", 65, 200, 200, false, PaintPhoto},
    {"graph/foto016.TGA", 66, 200, 200, false, PaintPhoto},
    {"graph/foto017.TGA", 67, 200, 200, false, PaintPhoto},
    {"graph/foto018.TGA", 68, 200, 200, false, PaintPhoto},
    {"graph/foto019.TGA", 69, 200, 200, false, PaintPhoto},
    {"graph/foto020.TGA", 70, 200, 200, false, PaintPhoto},
    {"graph/foto021.TGA", 71, 200, 200, false, PaintPhoto},
    {"graph/foto022.TGA", 72, 200, 200, false, PaintPhoto},
    {"graph/foto023.TGA", 73, 200, 200, false, PaintPhoto},
    {"graph/foto024.TGA", 74, 200, 200, false, PaintPhoto},
    {"graph/foto025.TGA", 75, 200, 200, false, PaintPhoto},
    {"graph/foto026.TGA", 76, 200, 200, false, PaintPhoto},
    {"graph/foto027.TGA", 77, 200, 200, false, PaintPhoto},
    {"graph/foto028.TGA", 78, 200, 200, false, PaintPhoto},
    {"graph/sprite81.TGA", 81, 400, 200, false, PaintCarpet},
    {"graph/sprite82.TGA", 82, 400, 200, false, PaintSpiral},
    {"graph/sprite83.TGA", 83, 400, 200, false, PaintCrystals},
    {"graph/sprite84.TGA", 84, 400, 200, false, PaintAurora},
    {"graph/sprite85.TGA", 85, 100, 100, false, PaintPatternTile},
    {"graph/sprite86.TGA", 86, 100, 100, false, PaintPatternTile},
    {"graph/sprite87.TGA", 87, 100, 100, false, PaintPatternTile},
    {"graph/sprite88.TGA", 88, 100, 100, false, PaintPatternTile},
    {"graph/a1.TGA", 101, 36, 44, true, PaintLetter},
    {"graph/A.TGA", 102, 36, 44, true, PaintLetter},
    {"graph/b.TGA", 103, 36, 44, true, PaintLetter},
    {"graph/c.TGA", 104, 36, 44, true, PaintLetter},
    {"graph/d1.TGA", 105, 36, 44, true, PaintLetter},
    {"graph/D.TGA", 106, 36, 44, true, PaintLetter},
    {"graph/e1.TGA", 107, 36, 44, true, PaintLetter},
    {"graph/E.TGA", 108, 36, 44, true, PaintLetter},
    {"graph/i.TGA", 109, 36, 44, true, PaintLetter},
    {"graph/K.TGA", 110, 36, 44, true, PaintLetter},
    {"graph/l1.TGA", 111, 36, 44, true, PaintLetter},
    {"graph/L.TGA", 112, 36, 44, true, PaintLetter},
    {"graph/m1.TGA", 113, 36, 44, true, PaintLetter},
    {"graph/M.TGA", 114, 36, 44, true, PaintLetter},
    {"graph/n1.TGA", 115, 36, 44, true, PaintLetter},
    {"graph/N.TGA", 116, 36, 44, true, PaintLetter},
    {"graph/o1.TGA", 117, 36, 44, true, PaintLetter},
    {"graph/O.TGA", 118, 36, 44, true, PaintLetter},
    {"graph/p1.TGA", 119, 36, 44, true, PaintLetter},
    {"graph/P.TGA", 120, 36, 44, true, PaintLetter},
    {"graph/r1.TGA", 121, 36, 44, true, PaintLetter},
    {"graph/R.TGA", 122, 36, 44, true, PaintLetter},
    {"graph/s1.TGA", 123, 36, 44, true, PaintLetter},
    {"graph/S.TGA", 124, 36, 44, true, PaintLetter},
    {"graph/t.TGA", 125, 36, 44, true, PaintLetter},
    {"graph/u.TGA", 126, 36, 44, true, PaintLetter},
    {"graph/z.TGA", 127, 36, 44, true, PaintLetter},
};

} // namespace

std::span<const PictureAsset> PictureAssets() { return Assets; }

Picture PaintPicture(const PictureAsset& asset)
{
    Canvas canvas = NewCanvas(asset.width, asset.height);
    asset.paint(canvas, asset.slot);
    return asset.keyed ? FlattenKeyed(canvas) : FlattenOpaque(canvas);
}

TgaFormat PictureFormat(int index)
{
    // Four layouts in turn; every fifth file also carries an image ID.
    return TgaFormat{index % 2 ? 32 : 24, (index / 2) % 2 == 1, index % 5 == 3 ? "tarvel" : nullptr};
}
