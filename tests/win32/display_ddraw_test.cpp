#include <gtest/gtest.h>

#include "app/win32/app_win32.h"
#include "display/ddraw/display_ddraw.h"
#include "display/display.h"
#include "display/display_seam.h"
#include "fake_ddraw.h"

std::vector<std::string> DrawJournal;

namespace {

using Journal = std::vector<std::string>;

// A started display over recording surfaces, its back buffer's rows `pitch`
// bytes apart (room for up to 4096); the globals are cleared when it goes.
struct Surfaces {
    FakeDirectDraw device;
    FakeSurface primary{"primary"}, back{"back"};

    explicit Surfaces(LONG pitch = 3200)
    {
        DrawJournal.clear();
        primary.attached = &back;
        device.primary = &primary;
        back.pitch = pitch;
        back.pixels.assign(1024 * DisplayHeight, 0);
        DDraw = &device;
        PrimarySurface = &primary;
        BackSurface = &back;
        Display.FadeMode = 0;
        Display.FadeLevel = 0;
    }
    ~Surfaces()
    {
        DDraw = nullptr;
        PrimarySurface = BackSurface = nullptr;
    }
};

class DirectDrawDisplay : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        newscreenwin(&Display.DisplayScreen, DisplayWidth, DisplayHeight);
        newscreen(&Display.SpareScreen, DisplayWidth, DisplayHeight);
    }

    static bool DrawsIntoSpareScreen()
    {
        for (int y = 0; y < DisplayHeight; y++)
            if (Display.DisplayScreen.rows[y] != Display.SpareScreen.rows[y])
                return false;
        return true;
    }
};

TEST_F(DirectDrawDisplay, StartUpSetsTheWrittenLevelModeSurfacesAndStopsAtAFailingStep)
{
    Surfaces s;
    PrimarySurface = BackSurface = nullptr;
    HWND window = reinterpret_cast<HWND>(0x1234);
    AppWindow = window;
    ASSERT_EQ(DisplayStart(), 0u);
    EXPECT_EQ(s.device.cooperativeWindow, window);
    EXPECT_EQ(s.device.cooperativeFlags, 0x11u); // exclusive, full screen
    EXPECT_EQ(s.device.modeWidth, 800u);
    EXPECT_EQ(s.device.modeHeight, 600u);
    EXPECT_EQ(s.device.modeBits, 32u);
    EXPECT_EQ(s.device.request.dwFlags, 0x21u);           // caps and back buffer count
    EXPECT_EQ(s.device.request.ddsCaps.dwCaps, 0xA18u);   // primary, flip, complex, system memory
    EXPECT_EQ(s.device.request.dwBackBufferCount, 1u);
    EXPECT_EQ(s.primary.attachedCaps, 4u); // the back buffer
    EXPECT_EQ(PrimarySurface, &s.primary);
    EXPECT_EQ(BackSurface, &s.back);
    EXPECT_EQ(s.back.lockFlags, DWORD(DDLOCK_WAIT));
    EXPECT_EQ(SurfaceDesc.lpSurface, s.back.pixels.data());
    EXPECT_EQ(DrawJournal, (Journal{"ddraw SetCooperativeLevel", "ddraw SetDisplayMode", "ddraw CreateSurface",
                                    "primary GetAttachedSurface", "back Lock", "back Unlock"}));

    // The first failing step ends start-up with its code; the first lock's
    // result is not examined.
    const struct {
        HRESULT FakeDirectDraw::*result;
        size_t steps;
    } failing[] = {{&FakeDirectDraw::cooperativeResult, 1}, {&FakeDirectDraw::modeResult, 2},
                   {&FakeDirectDraw::surfaceResult, 3}, {nullptr, 4}};
    const Journal all = DrawJournal;
    for (const auto& f : failing) {
        DrawJournal.clear();
        if (f.result)
            s.device.*f.result = E_NOTIMPL;
        else
            s.primary.attached = nullptr; // no back buffer: DDERR_NOTFOUND
        EXPECT_EQ(DisplayStart(), uint32_t(f.result ? E_NOTIMPL : DDERR_NOTFOUND)) << f.steps;
        EXPECT_EQ(DrawJournal, Journal(all.begin(), all.begin() + std::ptrdiff_t(f.steps)));
        if (f.result)
            s.device.*f.result = DD_OK;
    }
    s.primary.attached = &s.back;
    s.back.lockResult = DDERR_SURFACEBUSY;
    EXPECT_EQ(DisplayStart(), 0u);
    AppWindow = nullptr;
}

// The frame is drawn into the locked back buffer, row by the pitch the lock
// reports, faded there while still locked, then copied whole.
TEST_F(DirectDrawDisplay, FrameIsDrawnIntoTheLockedBackBufferFadedAndCopiedWhole)
{
    Surfaces s(4096);
    Display.FadeMode = 1;
    Display.FadeLevel = 16;
    BeginFrame();
    EXPECT_EQ(s.back.lockFlags, 0u) << "the frame's lock does not wait";
    auto* base = reinterpret_cast<uint8_t*>(s.back.pixels.data());
    for (int y : {0, 1, 599})
        EXPECT_EQ(reinterpret_cast<uint8_t*>(Display.DisplayScreen.rows[y]), base + y * 4096) << y;
    Display.DisplayScreen.rows[0][0] = 0x00FF8040;
    Display.DisplayScreen.rows[599][799] = 0x00FF8040;
    s.back.pixels[1023] = 0x00FF8040; // past the frame's width: not part of the picture

    PresentFrame();
    EXPECT_EQ(s.back.pixelsAtUnlock[0], 0x007F4020u);
    EXPECT_EQ(s.back.pixelsAtUnlock[599 * 1024 + 799], 0x007F4020u);
    EXPECT_EQ(s.back.pixelsAtUnlock[1023], 0x00FF8040u);
    EXPECT_EQ(Display.FadeLevel, 17);
    EXPECT_FALSE(s.primary.lockedDuringBlt);
    EXPECT_EQ(s.primary.bltSource, &s.back);
    const RECT whole{0, 0, 800, 600};
    EXPECT_TRUE(EqualRect(&s.primary.bltDestination, &whole));
    EXPECT_TRUE(EqualRect(&s.primary.bltSourceRect, &whole));
    EXPECT_EQ(DrawJournal, (Journal{"back Lock", "back Unlock", "primary Blt"}));
}

// A frame that meets a failure is dropped: both surfaces are restored and the
// fade stands still; a busy blitter is asked again. Once the fault is gone
// the next frame is presented and the fade moves on.
TEST_F(DirectDrawDisplay, FailuresDropTheFrameAndRestoreTheSurfaces)
{
    const struct {
        const char* name;
        LONG pitch;
        HRESULT lock, unlock;
        std::deque<HRESULT> blts;
        Journal journal;
        bool presented;
    } cases[] = {
        {"failed lock", 3200, DDERR_SURFACELOST, DD_OK, {}, {"back Lock", "back Restore", "primary Restore"}, false},
        {"rows shorter than the frame", 3196, DD_OK, DD_OK, {},
         {"back Lock", "back Unlock", "back Restore", "primary Restore"}, false},
        {"failed unlock", 3200, DD_OK, DDERR_NOTLOCKED, {},
         {"back Lock", "back Unlock", "back Restore", "primary Restore"}, false},
        {"surface lost before the copy", 3200, DD_OK, DD_OK, {DDERR_SURFACELOST, DDERR_SURFACELOST},
         {"back Lock", "back Unlock", "primary Blt", "back Restore", "primary Restore"}, false},
        {"busy blitter", 3200, DD_OK, DD_OK, {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING},
         {"back Lock", "back Unlock", "primary Blt", "primary Blt", "primary Blt"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Surfaces s(c.pitch);
        // As on the first frame: no row has ever been mapped.
        for (int y = 0; y < DisplayHeight; y++)
            Display.DisplayScreen.rows[y] = nullptr;
        s.back.lockResult = c.lock;
        s.back.unlockResult = c.unlock;
        s.primary.bltResults = c.blts;
        Display.FadeMode = 1;
        Display.FadeLevel = 5;
        BeginFrame();
        EXPECT_EQ(DrawsIntoSpareScreen(), c.lock != DD_OK || c.pitch < 3200);
        PresentFrame();
        EXPECT_EQ(DrawJournal, c.journal);
        EXPECT_EQ(Display.FadeLevel, c.presented ? 6 : 5);
        EXPECT_FALSE(s.back.locked);

        s.back.lockResult = s.back.unlockResult = DD_OK;
        s.primary.bltResults.clear();
        s.back.pitch = 3200;
        BeginFrame();
        PresentFrame();
        EXPECT_EQ(Display.FadeLevel, c.presented ? 7 : 6);
    }
}

TEST_F(DirectDrawDisplay, ReleaseFreesPrimaryThenDeviceOnceAndLeavesFramesHarmless)
{
    Surfaces s;
    DisplayRelease();
    DisplayRelease();
    EXPECT_EQ(DrawJournal, (Journal{"primary Release", "ddraw Release"}));
    BeginFrame();
    EXPECT_TRUE(DrawsIntoSpareScreen());
    PresentFrame();
    EXPECT_EQ(DrawJournal.size(), 2u);
}

} // namespace
