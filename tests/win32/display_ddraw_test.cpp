#include <gtest/gtest.h>

#include <memory>

#include "app/app.h"
#include "display/ddraw/display_ddraw.h"
#include "display/display.h"
#include "display/fade.h"
#include "fake_ddraw.h"

std::vector<std::string> DrawJournal;

namespace {

using Journal = std::vector<std::string>;

class DirectDrawDisplay : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        newscreenwin(&DisplayScreen, DisplayWidth, DisplayHeight);
        newscreen(&SpareScreen, DisplayWidth, DisplayHeight);
    }

    void SetUp() override
    {
        DrawJournal.clear();
        primary = std::make_unique<FakeSurface>("primary");
        back = std::make_unique<FakeSurface>("back");
        device = std::make_unique<FakeDirectDraw>();
        primary->attached = back.get();
        device->primary = primary.get();
        UsePitch(3200);
        FadeMode = 0;
        FadeLevel = 0;
    }

    void TearDown() override
    {
        DDraw = nullptr;
        PrimarySurface = nullptr;
        BackSurface = nullptr;
    }

    void UsePitch(LONG pitch)
    {
        back->pitch = pitch;
        back->pixels.assign(size_t(pitch) / 4 * DisplayHeight, 0);
    }

    // The surfaces as a finished start-up leaves them.
    void Started()
    {
        DDraw = device.get();
        PrimarySurface = primary.get();
        BackSurface = back.get();
    }

    bool DrawsIntoSpareScreen() const
    {
        for (int y = 0; y < DisplayHeight; y++)
            if (DisplayScreen.rows[y] != SpareScreen.rows[y])
                return false;
        return true;
    }

    std::unique_ptr<FakeSurface> primary, back;
    std::unique_ptr<FakeDirectDraw> device;
};

TEST_F(DirectDrawDisplay, StartUpSetsTheWrittenLevelModeSurfacesAndFirstLock)
{
    DDraw = device.get();
    HWND window = reinterpret_cast<HWND>(0x1234);
    ASSERT_EQ(DisplayStart(window), DD_OK);

    EXPECT_EQ(device->cooperativeWindow, window);
    EXPECT_EQ(device->cooperativeFlags, 0x11u);
    EXPECT_EQ(device->modeWidth, 800u);
    EXPECT_EQ(device->modeHeight, 600u);
    EXPECT_EQ(device->modeBits, 32u);
    EXPECT_EQ(device->request.dwSize, sizeof(DDSURFACEDESC));
    EXPECT_EQ(device->request.dwFlags, 0x21u);
    EXPECT_EQ(device->request.ddsCaps.dwCaps, 0xA18u);
    EXPECT_EQ(device->request.dwBackBufferCount, 1u);
    EXPECT_EQ(device->request.dwWidth, 0u);
    EXPECT_EQ(primary->attachedCaps, 4u);
    EXPECT_EQ(PrimarySurface, primary.get());
    EXPECT_EQ(BackSurface, back.get());
    EXPECT_EQ(back->lockFlags, DWORD(DDLOCK_WAIT));
    EXPECT_EQ(back->unlockedAddress, back->pixels.data());
    EXPECT_EQ(SurfaceDesc.lpSurface, back->pixels.data());
    EXPECT_EQ(DrawJournal, (Journal{"ddraw SetCooperativeLevel", "ddraw SetDisplayMode", "ddraw CreateSurface",
                                    "primary GetAttachedSurface", "back Lock", "back Unlock"}));
}

TEST_F(DirectDrawDisplay, StartUpStopsAtTheFirstFailingStepAndReturnsItsCode)
{
    DDraw = device.get();
    device->modeResult = E_NOTIMPL;
    EXPECT_EQ(DisplayStart(nullptr), E_NOTIMPL);
    EXPECT_EQ(DrawJournal, (Journal{"ddraw SetCooperativeLevel", "ddraw SetDisplayMode"}));
    EXPECT_EQ(PrimarySurface, nullptr);

    // The first lock's result is not examined: start-up goes on.
    DrawJournal.clear();
    device->modeResult = DD_OK;
    back->lockResult = DDERR_SURFACEBUSY;
    EXPECT_EQ(DisplayStart(nullptr), DD_OK);
}

TEST_F(DirectDrawDisplay, FrameIsDrawnIntoTheLockedBackBufferRowByRealPitch)
{
    Started();
    UsePitch(4096);
    BeginFrame();
    EXPECT_EQ(back->lockFlags, 0u) << "the frame's lock does not wait";
    auto* base = reinterpret_cast<uint8_t*>(back->pixels.data());
    EXPECT_EQ(reinterpret_cast<uint8_t*>(DisplayScreen.rows[0]), base);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(DisplayScreen.rows[1]), base + 4096);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(DisplayScreen.rows[599]), base + 599 * 4096);
    DisplayScreen.rows[599][799] = 0x123456;

    PresentFrame();
    EXPECT_EQ(back->unlockedAddress, base);
    EXPECT_EQ(back->pixelsAtUnlock[599 * 1024 + 799], 0x123456u);
    EXPECT_EQ(primary->bltCalls, 1);
    EXPECT_FALSE(primary->lockedDuringBlt);
    EXPECT_EQ(primary->bltSource, back.get());
    const RECT whole{0, 0, 800, 600};
    EXPECT_TRUE(EqualRect(&primary->bltDestination, &whole));
    EXPECT_TRUE(EqualRect(&primary->bltSourceRect, &whole));
    EXPECT_EQ(primary->bltFlags, 0u);
    EXPECT_FALSE(primary->bltEffects);
    EXPECT_EQ(DrawJournal, (Journal{"back Lock", "back Unlock", "primary Blt"}));
}

TEST_F(DirectDrawDisplay, FailedLockDrawsIntoSpareScreenRestoresBothAndDropsTheFrame)
{
    Started();
    // As on the first frame: no row has ever been mapped.
    for (int y = 0; y < DisplayHeight; y++)
        DisplayScreen.rows[y] = nullptr;
    back->lockResult = DDERR_SURFACELOST;
    FadeMode = 1;
    FadeLevel = 5;

    BeginFrame();
    EXPECT_TRUE(DrawsIntoSpareScreen());
    PresentFrame();
    EXPECT_EQ(DrawJournal, (Journal{"back Lock", "back Restore", "primary Restore"}));
    EXPECT_EQ(FadeLevel, 5);
    EXPECT_EQ(FadeMode, 1);
}

TEST_F(DirectDrawDisplay, LockWithRowsShorterThanTheFrameIsNotUsed)
{
    Started();
    UsePitch(3196);
    BeginFrame();
    EXPECT_TRUE(DrawsIntoSpareScreen());
    PresentFrame();
    EXPECT_EQ(primary->bltCalls, 0);
    EXPECT_FALSE(back->locked);
}

TEST_F(DirectDrawDisplay, BusyBlitterIsAskedAgainUntilItCopies)
{
    Started();
    primary->bltResults = {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING, DD_OK};
    FadeMode = 1;
    FadeLevel = 5;
    BeginFrame();
    PresentFrame();
    EXPECT_EQ(primary->bltCalls, 3);
    EXPECT_EQ(FadeLevel, 6);
    EXPECT_EQ(DrawJournal, (Journal{"back Lock", "back Unlock", "primary Blt", "primary Blt", "primary Blt"}));
}

TEST_F(DirectDrawDisplay, SurfaceLostBeforeTheCopyRestoresBothAndDropsTheFrame)
{
    Started();
    primary->bltResults = {DDERR_SURFACELOST, DDERR_SURFACELOST, DDERR_SURFACELOST};
    FadeMode = 2;
    FadeLevel = 20;
    BeginFrame();
    PresentFrame();
    EXPECT_EQ(primary->bltCalls, 1);
    EXPECT_EQ(FadeLevel, 20) << "a dropped frame does not move the fade";
    EXPECT_EQ(DrawJournal, (Journal{"back Lock", "back Unlock", "primary Blt", "back Restore", "primary Restore"}));

    // The next frame is presented as usual.
    DrawJournal.clear();
    primary->bltResults.clear();
    BeginFrame();
    PresentFrame();
    EXPECT_EQ(FadeLevel, 19);
}

TEST_F(DirectDrawDisplay, FailedUnlockDropsTheFrameAndHoldsTheFade)
{
    Started();
    back->unlockResult = DDERR_NOTLOCKED;
    FadeMode = 1;
    FadeLevel = 7;
    BeginFrame();
    PresentFrame();
    EXPECT_EQ(primary->bltCalls, 0);
    EXPECT_EQ(FadeLevel, 7);
    EXPECT_EQ(DrawJournal, (Journal{"back Lock", "back Unlock", "back Restore", "primary Restore"}));
}

TEST_F(DirectDrawDisplay, FadeScalesTheFrameWhileLockedAndStepsOncePerPresentedFrame)
{
    Started();
    UsePitch(4096);
    FadeMode = 1;
    FadeLevel = 16;
    BeginFrame();
    DisplayScreen.rows[0][0] = 0x00FF8040;
    DisplayScreen.rows[599][799] = 0x00FF8040;
    back->pixels[1023] = 0x00FF8040; // past the frame's width: not part of the picture
    PresentFrame();
    EXPECT_EQ(back->pixelsAtUnlock[0], 0x007F4020u);
    EXPECT_EQ(back->pixelsAtUnlock[599 * 1024 + 799], 0x007F4020u);
    EXPECT_EQ(back->pixelsAtUnlock[1023], 0x00FF8040u);
    EXPECT_EQ(FadeLevel, 17);
}

TEST_F(DirectDrawDisplay, WithoutAFadeThePixelsAreLeftAsDrawn)
{
    Started();
    BeginFrame();
    DisplayScreen.rows[10][10] = 0x00FF8040;
    PresentFrame();
    EXPECT_EQ(back->pixelsAtUnlock[10 * 800 + 10], 0x00FF8040u);
    EXPECT_EQ(FadeLevel, 0);
}

TEST_F(DirectDrawDisplay, ReleaseFreesPrimaryThenDeviceOnceAndLeavesFramesHarmless)
{
    Started();
    DisplayRelease();
    DisplayRelease();
    EXPECT_EQ(DrawJournal, (Journal{"primary Release", "ddraw Release"}));
    EXPECT_EQ(DDraw, nullptr);
    EXPECT_EQ(PrimarySurface, nullptr);
    EXPECT_EQ(BackSurface, nullptr);

    BeginFrame();
    EXPECT_TRUE(DrawsIntoSpareScreen());
    PresentFrame();
    EXPECT_EQ(DrawJournal.size(), 2u);
}

} // namespace
