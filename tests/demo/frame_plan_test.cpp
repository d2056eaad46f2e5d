// Frames drawn by their plan against the straight drawing (the whole
// background, then every layer): the same pixels, the same Random numbers
// taken and the same noise steps, for scenes made to probe the plan and for
// every frame of the show.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "demo/frame_plan.h"
#include "demo/sequencer.h"
#include "demo/timeline.h"
#include "demo/timeline_layers.h"
#include "demo_test_util.h"
#include "image/noise.h"
#include "raster/blend.h"
#include "raster/mathtables.h"

namespace {

using Scene = void (*)(int32_t);

// What drawing a frame leaves behind: the picture, the generator's state and
// the noise layers' pixels.
struct Outcome {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(DisplayWidth) * DisplayHeight);
    uint32_t random = 0;
    std::vector<std::vector<uint32_t>> noise;
    bool operator==(const Outcome&) const = default;
};

std::vector<std::vector<uint32_t>> NoisePixels()
{
    std::vector<std::vector<uint32_t>> all;
    for (const NoiseLayer& layer : Images.NoiseLayers)
        all.push_back(layer.buffer.rows ? Pixels(&layer.buffer) : std::vector<uint32_t>{});
    return all;
}

void RestoreNoise(const std::vector<std::vector<uint32_t>>& all)
{
    for (size_t i = 0; i < all.size(); i++) {
        Screen& s = Images.NoiseLayers[i].buffer;
        for (int y = 0; s.rows && y < s.height; y++)
            std::copy_n(all[i].begin() + ptrdiff_t(y) * s.width, s.width, s.rows[y]);
    }
}

// Draws the frame at T into DisplayScreen twice from the same state, once
// straight and once by its plan, each over a target holding leftovers of
// some other frame. The state goes on as the planned drawing left it.
struct TwoWays {
    Outcome straight, planned;

    void Draw(Scene scene, int32_t T, const Screen* background)
    {
        Screen* target = &Display.DisplayScreen;
        SetTarget(target);
        const uint32_t random = RandomState;
        const std::vector<std::vector<uint32_t>> noise = NoisePixels();
        for (Outcome* o : {&straight, &planned}) {
            RandomState = random;
            RestoreNoise(noise);
            MapScreenRows(target, o->pixels.data(), DisplayWidth * 4);
            std::fill(o->pixels.begin(), o->pixels.end(), o == &straight ? 0x00ABCDEFu : 0x00FEDCBAu);
            if (o == &planned) {
                DrawPlanned(background, target, scene, T);
            } else {
                CopyRect(background, target, 0, 0, DisplayWidth - 1, DisplayHeight - 1, 0, 0);
                scene(T);
            }
            o->random = RandomState;
            o->noise = NoisePixels();
        }
    }

    std::string Difference() const
    {
        auto same = [](bool equal) { return equal ? "same" : "differ"; };
        return std::string("pixels ") + same(straight.pixels == planned.pixels) + ", Random " +
               same(straight.random == planned.random) + ", noise " + same(straight.noise == planned.noise);
    }
};

// Slots of the probing scenes: full-width halves, a tile, a small picture
// with black pixels, an empty slot and the glitch sprite. Covers in general
// are proved by the show below; these scenes reach what the show never does.
enum : int { Top = 1, Bottom, Tile, Speckled, Empty = 9, GlitchSprite = 48 };

struct PlanCase {
    const char* name;
    Scene scene;
    int layersSkipped;
    int backgroundPixelsSkipped;
};

void PrintTo(const PlanCase& c, std::ostream* out)
{
    *out << c.name;
}

const PlanCase PlanCases[] = {
    {"under a full cover everything is left out, transformed or not, and still takes its Random numbers",
     [](int32_t T) {
         Noise(0, 0, 0);
         Noise(1, 0, 400);
         Glitch();
         Layer(Top, 400, 150, {.mode = 5, .type = 3, .angle = T % 3600});
         Noise(0, 400, 200);
         Layer(Speckled, 400, 300, {.width = 800, .height = 600});
         RandomModePicture(Tile, 100, 100);
     },
     5, 800 * 600},
    {"stretches a column apart stay apart, and of two the widest counts",
     [](int32_t) {
         Layer(Tile, 251, 50, {.width = 200, .height = 100});
         Layer(Tile, 100, 50);
     },
     0, 200 * 100},
    {"a rotated copy covers nothing, even in the opaque mode",
     [](int32_t) { Layer(Tile, 100, 100, {.type = 1, .angle = 300}); },
     0, 0},
    {"a layer placed by Random after a streak noise layer is recorded where it is drawn",
     [](int32_t) {
         Noise(0, 0, 0);
         Layer(Top, 400, 151 + Random() % 299);
     },
     0, 800 * 300},
    {"off the target, empty, a size below 0 and one beyond a Screen",
     [](int32_t) {
         Layer(Top, 400, -1000);
         Layer(Empty, 400, 300);
         Layer(Tile, 10, 10, {.width = -5, .height = -5}); // one pixel at (10, 10)
         Layer(Speckled, 400, 300, {.width = 70000, .height = 600}); // draws nothing
     },
     3, 1},
    {"more layers than a plan holds are drawn straight",
     [](int32_t) {
         for (int i = 0; i < MaxPlannedLayers; i++)
             Layer(Tile, i, 100);
         Layer(Top, 400, 150);
         Layer(Bottom, 400, 450);
     },
     0, 0},
};

// Slots of random pixels and both noise layers as the show makes them, on a
// clean engine that is cleaned up after.
class FramePlanScenes : public CleanEngineTest, public ::testing::WithParamInterface<PlanCase> {
protected:
    void SetUp() override
    {
        CleanEngineTest::SetUp();
        CalcMathTables();
        SeedRandom(7);
        NoiseInit(0, 0, 400, 200);
        NoiseInit(1, 1, 800, 200);
        std::mt19937 rng(11);
        const int sizes[][3] = {{Top, 800, 300}, {Bottom, 800, 300}, {Tile, 100, 100}, {Speckled, 64, 48},
                                {GlitchSprite, 300, 60}};
        for (const auto& s : sizes)
            slots.emplace_back(s[0], s[1], s[2], &rng);
        newscreenwin(&Display.DisplayScreen, DisplayWidth, DisplayHeight);
    }
    std::deque<TestSlot> slots;
    OwnedScreen background{DisplayWidth, DisplayHeight};
};

TEST_P(FramePlanScenes, DrawTheSameAsStraightAndLeaveOutWhatIsCovered)
{
    const PlanCase& c = GetParam();
    SCOPED_TRACE(c.name);
    std::mt19937 rng(5);
    FillRandom(background.get(), rng);
    TwoWays frame;
    for (int32_t T : {100, 2345}) {
        frame.Draw(c.scene, T, background.get());
        EXPECT_TRUE(frame.planned == frame.straight) << frame.Difference();
        EXPECT_EQ(Sequencer.Plan.layersSkipped, c.layersSkipped);
        EXPECT_EQ(Sequencer.Plan.backgroundPixelsSkipped, c.backgroundPixelsSkipped);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FramePlanScenes, ::testing::ValuesIn(PlanCases));

// The show on its generated content, started in its content folder.
struct FramePlanShow : CleanEngineTest {
    InFolder content{TARVEL_CONTENT_DIR};
};

// Every frame at 12 frames per second of music time, which gives every
// window frames, each drawn both ways from the same state. (How much the plan
// saves on the show is measured by `tarvel-capture bench`.)
TEST_F(FramePlanShow, EveryFrameMatchesTheStraightDrawing)
{
    ASSERT_EQ(InitApp(), 1);
    DemoFrame();
    DemoFrame();
    TwoWays frame;
    for (int32_t n = 0, T = 0; T < ShowEndClock; n++, T = n * 100 / 12) {
        frame.Draw(DrawScene, T, &Images.ImageBank[0].image);
        ASSERT_TRUE(frame.planned == frame.straight)
            << "T = " << T << ", window " << SceneWindowAt(T) << ": " << frame.Difference();
    }
}

} // namespace
