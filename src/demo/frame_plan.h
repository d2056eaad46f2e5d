#pragma once

#include <cstdint>

#include "display/display.h"
#include "image/pixel_box.h"
#include "raster/screen.h"

// The plan of one frame (Sequencer.Plan, sequencer.h). Before the frame is
// drawn, its scene runs once without drawing and every layer it would draw
// is recorded with its box; then the frame is drawn leaving out the work
// that later opaque layers cover completely: the background wherever opaque
// layers land, and every layer whose whole box they cover. A pixel shows only what was done to it
// after the last opaque write to it (blend modes read and write the same
// pixel), so the frame comes out the same. The scene still runs in full:
// a layer left out still takes its Random numbers, and a noise layer left
// out still steps.

// More layers than this in one frame are drawn without a plan.
constexpr int MaxPlannedLayers = 256;

struct PlannedLayer {
    PixelBox box; // on the target, clipped; empty when off it
    bool opaque;  // writes every pixel of its box
};

enum class LayerTurn {
    Draw,   // draw the layer
    Skip,   // leave it out: later opaque layers cover it
    Record, // draw nothing: the scene is being planned
};

enum class PlanStage { None, Recording, Drawing };

struct FramePlanState {
    PlanStage stage = PlanStage::None;
    int32_t count = 0; // layers recorded
    int32_t next = 0;  // layers drawn or left out so far
    bool overflow = false;
    PlannedLayer layers[MaxPlannedLayers] = {};
    bool hidden[MaxPlannedLayers] = {};
    // Per row of the target: columns coverFrom to coverTo lie under opaque
    // layers (none when coverFrom > coverTo). One stretch per row: where the
    // covered columns are not one stretch, the widest counts.
    int32_t coverFrom[DisplayHeight] = {};
    int32_t coverTo[DisplayHeight] = {};
    // What the last planned frame left out.
    int32_t backgroundPixelsSkipped = 0;
    int32_t layersSkipped = 0;
};

// Asked by each layer of a scene before it draws: what to do with it.
LayerTurn NextLayerTurn();

// While recording: the layer's box before clipping, and whether it writes
// every pixel of it.
void RecordLayer(PixelBox box, bool opaque);

// The background copied over the whole of `target`, then `scene` drawn at
// T, with the work that later opaque layers cover left out. The target must
// be the CurrentTarget, where the scene draws; any other target, or one not
// of the display's size, is drawn without a plan.
void DrawPlanned(const Screen* background, Screen* target, void (*scene)(int32_t), int32_t T);
