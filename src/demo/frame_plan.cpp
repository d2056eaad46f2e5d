#include "demo/frame_plan.h"

#include <algorithm>

#include "demo/sequencer.h"
#include "raster/blend.h"
#include "raster/mathtables.h"

namespace {

bool Covered(const FramePlanState& p, const PixelBox& b)
{
    for (int y = b.y1; y <= b.y2; y++)
        if (p.coverFrom[y] > b.x1 || p.coverTo[y] < b.x2)
            return false;
    return true;
}

// Adds the box's columns to each of its rows: joined to the row's stretch
// when they meet it, else kept instead of it when wider.
void Cover(FramePlanState& p, const PixelBox& b)
{
    for (int y = b.y1; y <= b.y2; y++) {
        int32_t& from = p.coverFrom[y];
        int32_t& to = p.coverTo[y];
        if (from <= to && b.x1 <= to + 1 && b.x2 + 1 >= from) {
            from = std::min(from, b.x1);
            to = std::max(to, b.x2);
        } else if (from > to || b.x2 - b.x1 > to - from) {
            from = b.x1;
            to = b.x2;
        }
    }
}

// From the last layer to the first: a layer is hidden when it lies off the
// target or under the opaque layers drawn after it.
void Decide(FramePlanState& p, int width, int height)
{
    std::fill_n(p.coverFrom, height, 1);
    std::fill_n(p.coverTo, height, 0);
    p.layersSkipped = 0;
    for (int i = p.count - 1; i >= 0; i--) {
        const PixelBox b = ClipBox(p.layers[i].box, width, height);
        p.hidden[i] = b.Empty() || Covered(p, b);
        p.layersSkipped += p.hidden[i];
        if (!p.hidden[i] && p.layers[i].opaque)
            Cover(p, b);
    }
}

// The background where no opaque layer lands: the columns left and right of
// each row's covered stretch, rows with the same stretch in one copy.
void CopyUncovered(FramePlanState& p, const Screen* background, Screen* target, int width, int height)
{
    int64_t copied = 0;
    auto copy = [&](int x1, int y1, int x2, int y2) {
        if (x1 <= x2) {
            CopyRect(background, target, x1, y1, x2, y2, x1, y1);
            copied += int64_t(x2 - x1 + 1) * (y2 - y1 + 1);
        }
    };
    for (int y1 = 0, y2 = 0; y1 < height; y1 = y2 + 1) {
        const int32_t from = p.coverFrom[y1], to = p.coverTo[y1];
        for (y2 = y1; y2 + 1 < height && p.coverFrom[y2 + 1] == from && p.coverTo[y2 + 1] == to;)
            y2++;
        if (from > to) {
            copy(0, y1, width - 1, y2);
        } else {
            copy(0, y1, from - 1, y2);
            copy(to + 1, y1, width - 1, y2);
        }
    }
    p.backgroundPixelsSkipped = int32_t(int64_t(width) * height - copied);
}

void DrawStraight(const Screen* background, Screen* target, void (*scene)(int32_t), int32_t T)
{
    CopyRect(background, target, 0, 0, DisplayWidth - 1, DisplayHeight - 1, 0, 0);
    scene(T);
}

} // namespace

LayerTurn NextLayerTurn()
{
    FramePlanState& p = Sequencer.Plan;
    switch (p.stage) {
    case PlanStage::Recording:
        return LayerTurn::Record;
    case PlanStage::Drawing: {
        const int32_t i = p.next++;
        return i < p.count && p.hidden[i] ? LayerTurn::Skip : LayerTurn::Draw;
    }
    case PlanStage::None:
        break;
    }
    return LayerTurn::Draw;
}

void RecordLayer(PixelBox box, bool opaque)
{
    FramePlanState& p = Sequencer.Plan;
    if (p.count == MaxPlannedLayers) {
        p.overflow = true;
        return;
    }
    p.layers[p.count++] = {box, opaque};
}

void DrawPlanned(const Screen* background, Screen* target, void (*scene)(int32_t), int32_t T)
{
    FramePlanState& p = Sequencer.Plan;
    p.backgroundPixelsSkipped = 0;
    p.layersSkipped = 0;
    if (target != CurrentTarget || target->width != DisplayWidth || target->height != DisplayHeight) {
        DrawStraight(background, target, scene, T);
        return;
    }
    // The scene draws its Random numbers again when it is drawn.
    const uint32_t random = RandomState;
    p.stage = PlanStage::Recording;
    p.count = 0;
    p.overflow = false;
    scene(T);
    RandomState = random;
    if (p.overflow) {
        p.stage = PlanStage::None;
        DrawStraight(background, target, scene, T);
        return;
    }
    Decide(p, DisplayWidth, DisplayHeight);
    CopyUncovered(p, background, target, DisplayWidth, DisplayHeight);
    p.stage = PlanStage::Drawing;
    p.next = 0;
    scene(T);
    p.stage = PlanStage::None;
}
