#pragma once

#include "contentgen/picture.h"

// Painters of the show's pictures. Each fills a canvas already sized for its
// slot; painters shared by several slots tell them apart by the slot number.

// Procedural art (paint_art.cpp)
void PaintPlasma(Canvas& c, int slot);
void PaintMandelbrot(Canvas& c, int slot);
void PaintJulia(Canvas& c, int slot);
void PaintTunnel(Canvas& c, int slot);
void PaintCheckerPlane(Canvas& c, int slot);
void PaintMetaballs(Canvas& c, int slot);
void PaintRings(Canvas& c, int slot);
void PaintMandala(Canvas& c, int slot);

// Small pictures, tiles and frames (paint_tiles.cpp)
void PaintCopperBars(Canvas& c, int slot);
void PaintFire(Canvas& c, int slot);
void PaintWaves(Canvas& c, int slot);
void PaintCarpet(Canvas& c, int slot);
void PaintSpiral(Canvas& c, int slot);
void PaintCrystals(Canvas& c, int slot);
void PaintAurora(Canvas& c, int slot);
void PaintEqualiser(Canvas& c, int slot);
void PaintBand(Canvas& c, int slot);
void PaintCubeFrame(Canvas& c, int slot);
void PaintTile(Canvas& c, int slot);
void PaintPatternTile(Canvas& c, int slot);

// Scenes and photographs (paint_scenes.cpp, paint_photos.cpp)
void PaintBackdrop(Canvas& c, int slot);
void PaintSpace(Canvas& c, int slot);
void PaintLakeland(Canvas& c, int slot);
void PaintTallCity(Canvas& c, int slot);
void PaintPhoto(Canvas& c, int slot);

// Keyed sprites (paint_sprites.cpp)
void PaintMarker(Canvas& c, int slot);
void PaintStarSprite(Canvas& c, int slot);
void PaintDancer(Canvas& c, int slot);
void PaintRocket(Canvas& c, int slot);
void PaintRingedPlanet(Canvas& c, int slot);
void PaintGem(Canvas& c, int slot);
void PaintFlash(Canvas& c, int slot);
void PaintBubble(Canvas& c, int slot);
void PaintGlitch(Canvas& c, int slot);
void PaintBadge(Canvas& c, int slot);

// Lettering (paint_text.cpp)
void PaintCaption(Canvas& c, int slot);
void PaintLogo(Canvas& c, int slot);
void PaintPhrase(Canvas& c, int slot);
void PaintDropBanner(Canvas& c, int slot);
void PaintLetter(Canvas& c, int slot);
