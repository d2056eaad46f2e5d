// The timeline's two kinds of layer, as a frame plan sees them.
#include "demo/frame_plan.h"
#include "demo/timeline_layers.h"
#include "image/noise.h"
#include "raster/mathtables.h"

void Layer(int slot, int x, int y, LayerOptions o)
{
    switch (NextLayerTurn()) {
    case LayerTurn::Draw:
        DrawSlot(slot, x, y, o.mode, o.mirror, o.width, o.height, o.type, o.angle);
        break;
    case LayerTurn::Record:
        RecordLayer(DrawSlotBox(slot, x, y, o.width, o.height, o.type),
                    DrawSlotOpaque(o.mode, o.width, o.height, o.type));
        break;
    case LayerTurn::Skip:
        break;
    }
}

void Noise(int layer, int x, int y)
{
    switch (NextLayerTurn()) {
    case LayerTurn::Draw:
        NoiseDraw(layer, x, y);
        break;
    case LayerTurn::Record:
        // Mode 3 mixes: never opaque. The step's Random numbers are drawn
        // here too, so that the layers after it are recorded as drawn.
        RecordLayer(NoiseBox(layer, x, y), false);
        for (int i = NoiseStepRandoms(layer, x, y); i > 0; i--)
            Random();
        break;
    case LayerTurn::Skip:
        NoiseStep(layer, x, y);
        break;
    }
}
