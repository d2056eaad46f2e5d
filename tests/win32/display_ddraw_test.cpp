#include <gtest/gtest.h>

#include <algorithm>

#include "app/win32/app_win32.h"
#include "display/ddraw/display_ddraw.h"
#include "display/display.h"
#include "display/display_seam.h"
#include "fake_ddraw.h"

std::vector<std::string> DrawJournal;

namespace {

using Journal = std::vector<std::string>;

// A started display over recording surfaces; the globals are cleared after each test.
class DirectDrawDisplay : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        newscreenwin(&Display.DisplayScreen, DisplayWidth, DisplayHeight);
        newscreen(&Display.SpareScreen, DisplayWidth, DisplayHeight);
    }
    void SetUp() override { Start(3200); }
    void TearDown() override
    {
        DDraw = nullptr;
        PrimarySurface = BackSurface = nullptr;
        AppWindow = nullptr;
    }

    // Fresh surfaces, the back buffer's rows `pitch` bytes apart (room for up to 4096).
    void Start(LONG pitch)
    {
        DrawJournal.clear();
        device = {};
        primary = FakeSurface("primary");
        back = FakeSurface("back");
        primary.attached = &back;
        device.primary = &primary;
        back.pitch = pitch;
        back.pixels.assign(1024 * DisplayHeight, 0);
        DDraw = &device;
        PrimarySurface = &primary;
        BackSurface = &back;
    }

    static bool DrawsIntoSpareScreen()
    {
        return std::equal(Display.DisplayScreen.rows, Display.DisplayScreen.rows + DisplayHeight,
                          Display.SpareScreen.rows);
    }

    FakeDirectDraw device;
    FakeSurface primary{"primary"}, back{"back"};
};

TEST_F(DirectDrawDisplay, StartUpSetsTheWrittenLevelModeSurfacesAndStopsAtAFailingStep)
{
    PrimarySurface = BackSurface = nullptr;
    AppWindow = reinterpret_cast<HWND>(0x1234);
    ASSERT_EQ(DisplayStart(), 0u);
    EXPECT_EQ(device.cooperativeWindow, AppWindow);
    EXPECT_EQ(device.cooperativeFlags, 0x11u); // exclusive, full screen
    const std::vector<DWORD> mode{device.modeWidth, device.modeHeight, device.modeBits};
    EXPECT_EQ(mode, std::vector<DWORD>({800, 600, 32}));
    EXPECT_EQ(device.request.dwFlags, 0x21u);         // caps and back buffer count
    EXPECT_EQ(device.request.ddsCaps.dwCaps, 0xA18u); // primary, flip, complex, system memory
    EXPECT_EQ(device.request.dwBackBufferCount, 1u);
    EXPECT_EQ(primary.attachedCaps, 4u); // the back buffer
    EXPECT_EQ(back.lockFlags, DWORD(DDLOCK_WAIT));
    const Journal all{"ddraw SetCooperativeLevel", "ddraw SetDisplayMode", "ddraw CreateSurface",
                      "primary GetAttachedSurface", "back Lock", "back Unlock"};
    EXPECT_EQ(DrawJournal, all);

    // The first failing step ends start-up with its code (no back buffer:
    // DDERR_NOTFOUND); the first lock's result is not examined.
    HRESULT* const steps[] = {&device.cooperativeResult, &device.modeResult, &device.surfaceResult, nullptr};
    for (size_t step = 0; step < std::size(steps); step++) {
        DrawJournal.clear();
        if (steps[step])
            *steps[step] = E_NOTIMPL;
        primary.attached = steps[step] ? &back : nullptr;
        EXPECT_EQ(DisplayStart(), uint32_t(steps[step] ? E_NOTIMPL : DDERR_NOTFOUND)) << step;
        EXPECT_EQ(DrawJournal, Journal(all.begin(), all.begin() + std::ptrdiff_t(step + 1)));
        if (steps[step])
            *steps[step] = DD_OK;
    }
    primary.attached = &back;
    back.lockResult = DDERR_SURFACEBUSY;
    EXPECT_EQ(DisplayStart(), 0u);
}

// The frame is drawn into the locked back buffer, row by the pitch the lock reports, faded there while
// still locked, then copied (the copy's pixels: the Wine show).
TEST_F(DirectDrawDisplay, FrameIsDrawnIntoTheLockedBackBufferAndFadedThereBeforeTheCopy)
{
    Start(4096);
    Display.FadeMode = 1;
    Display.FadeLevel = 16;
    BeginFrame();
    EXPECT_EQ(back.lockFlags, 0u) << "the frame's lock does not wait";
    auto* base = reinterpret_cast<uint8_t*>(back.pixels.data());
    for (int y : {0, 1, 599})
        EXPECT_EQ(reinterpret_cast<uint8_t*>(Display.DisplayScreen.rows[y]), base + y * 4096) << y;
    Display.DisplayScreen.rows[599][799] = 0x00FF8040;
    back.pixels[1023] = 0x00FF8040; // past the frame's width: not part of the picture
    PresentFrame();
    EXPECT_EQ(back.pixelsAtUnlock[599 * 1024 + 799], 0x007F4020u);
    EXPECT_EQ(back.pixelsAtUnlock[1023], 0x00FF8040u);
    EXPECT_EQ(DrawJournal, (Journal{"back Lock", "back Unlock", "primary Blt"}));
}

// A frame that meets a failure is dropped: both surfaces are restored and the
// fade stands still; a busy blitter is asked again. Once the fault is gone
// the next frame is presented and the fade moves on.
TEST_F(DirectDrawDisplay, FailuresDropTheFrameAndRestoreTheSurfaces)
{
    const Journal restore{"back Restore", "primary Restore"};
    const struct {
        const char* name;
        LONG pitch;
        HRESULT lock, unlock;
        std::deque<HRESULT> blts;
        Journal journal; // then, for a dropped frame, the restores
        bool presented;
    } cases[] = {
        {"failed lock", 3200, DDERR_SURFACELOST, DD_OK, {}, {"back Lock"}, false},
        {"rows shorter than the frame", 3196, DD_OK, DD_OK, {}, {"back Lock", "back Unlock"}, false},
        {"failed unlock", 3200, DD_OK, DDERR_NOTLOCKED, {}, {"back Lock", "back Unlock"}, false},
        {"surface lost before the copy", 3200, DD_OK, DD_OK, {DDERR_SURFACELOST, DDERR_SURFACELOST},
         {"back Lock", "back Unlock", "primary Blt"}, false},
        {"busy blitter", 3200, DD_OK, DD_OK, {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING},
         {"back Lock", "back Unlock", "primary Blt", "primary Blt", "primary Blt"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.pitch);
        std::fill_n(Display.DisplayScreen.rows, DisplayHeight, nullptr); // as before the first frame
        back.lockResult = c.lock;
        back.unlockResult = c.unlock;
        primary.bltResults = c.blts;
        Display.FadeMode = 1;
        Display.FadeLevel = 5;
        BeginFrame();
        EXPECT_EQ(DrawsIntoSpareScreen(), c.lock != DD_OK || c.pitch < 3200);
        PresentFrame();
        Journal journal = c.journal;
        if (!c.presented)
            journal.insert(journal.end(), restore.begin(), restore.end());
        EXPECT_EQ(DrawJournal, journal);
        EXPECT_EQ(Display.FadeLevel, c.presented ? 6 : 5);
        EXPECT_FALSE(back.locked);

        back.lockResult = back.unlockResult = DD_OK;
        primary.bltResults.clear();
        back.pitch = 3200;
        BeginFrame();
        PresentFrame();
        EXPECT_EQ(Display.FadeLevel, c.presented ? 7 : 6);
    }
}

} // namespace
