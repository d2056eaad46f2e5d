#include "display/ddraw/display_ddraw.h"

#include <cstring>

#include "app/app.h"
#include "app/win32/debug_log_win32.h"
#include "display/display.h"
#include "display/fade.h"

IDirectDraw* DDraw;
IDirectDrawSurface* PrimarySurface;
IDirectDrawSurface* BackSurface;
DDSURFACEDESC SurfaceDesc;

// The back buffer's pixels while BeginFrame holds it locked; null when the
// frame is drawn into SpareScreen instead.
static void* LockedPixels;
static LONG LockedPitch;

static_assert(sizeof(void*) != 4 || sizeof(DDSURFACEDESC) == 108, "the 32-bit surface record is 108 bytes");

static HRESULT Logged(const char* step, HRESULT result)
{
    DebugLog("%s %08lx", step, static_cast<unsigned long>(result));
    return result;
}

HRESULT DisplayCreate()
{
    return Logged("DirectDrawCreate", DirectDrawCreate(nullptr, &DDraw, nullptr));
}

HRESULT DisplayStart(HWND window)
{
    HRESULT result = Logged("SetCooperativeLevel", DDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    if (result != DD_OK)
        return result;
    result = Logged("SetDisplayMode", DDraw->SetDisplayMode(DisplayWidth, DisplayHeight, 32));
    if (result != DD_OK)
        return result;

    std::memset(&SurfaceDesc, 0, sizeof SurfaceDesc);
    SurfaceDesc.dwSize = sizeof SurfaceDesc;
    SurfaceDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    SurfaceDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_SYSTEMMEMORY;
    SurfaceDesc.dwBackBufferCount = 1;
    result = Logged("CreateSurface", DDraw->CreateSurface(&SurfaceDesc, &PrimarySurface, nullptr));
    if (result != DD_OK)
        return result;

    DDSCAPS backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    result = Logged("GetAttachedSurface", PrimarySurface->GetAttachedSurface(&backCaps, &BackSurface));
    if (result != DD_OK)
        return result;

    // A first lock and unlock, results not examined: afterwards SurfaceDesc
    // describes the back buffer.
    const HRESULT locked = BackSurface->Lock(nullptr, &SurfaceDesc, DDLOCK_WAIT, nullptr);
    BackSurface->Unlock(SurfaceDesc.lpSurface);
    DebugLog("Lock %08lx pitch %ld bits %lu", static_cast<unsigned long>(locked), long(SurfaceDesc.lPitch),
             static_cast<unsigned long>(SurfaceDesc.ddpfPixelFormat.dwRGBBitCount));
    return DD_OK;
}

static void RestoreSurfaces()
{
    BackSurface->Restore();
    PrimarySurface->Restore();
}

// Rows shorter than the frame's cannot hold it; such a lock is not used.
static bool LockedFrameFits(const DDSURFACEDESC& desc)
{
    return desc.lpSurface && desc.lPitch >= LONG(DisplayWidth * 4);
}

void BeginFrame()
{
    LockedPixels = nullptr;
    if (BackSurface) {
        const HRESULT result = BackSurface->Lock(nullptr, &SurfaceDesc, 0, nullptr);
        if (result == DD_OK && LockedFrameFits(SurfaceDesc)) {
            LockedPixels = SurfaceDesc.lpSurface;
            LockedPitch = SurfaceDesc.lPitch;
            MapScreenRows(&DisplayScreen, LockedPixels, LockedPitch);
            return;
        }
        if (result == DD_OK)
            BackSurface->Unlock(SurfaceDesc.lpSurface);
        DebugLog("Lock %08lx: frame dropped", static_cast<unsigned long>(result));
        RestoreSurfaces();
    }
    // Drawn where it harms nothing and never shown: the rows of an earlier
    // lock are no longer the program's, and on the first frame there are none.
    std::memcpy(DisplayScreen.rows, SpareScreen.rows, sizeof(uint32_t*) * DisplayHeight);
}

bool CopyFrameToPrimary()
{
    RECT whole{0, 0, DisplayWidth, DisplayHeight};
    for (;;) {
        const HRESULT result = PrimarySurface->Blt(&whole, BackSurface, &whole, 0, nullptr);
        if (result == DD_OK)
            return true;
        if (result != DDERR_WASSTILLDRAWING) {
            DebugLog("Blt %08lx: frame dropped", static_cast<unsigned long>(result));
            RestoreSurfaces();
            return false;
        }
    }
}

void PresentFrame()
{
    if (!LockedPixels) {
        // The lock failed: the frame went into SpareScreen and is dropped.
        return;
    }
    // The fade runs while the pixels are still the program's; it moves on
    // only for a frame that reaches the screen.
    void* pixels = LockedPixels;
    LockedPixels = nullptr;
    if (FadeRunning())
        ApplyFade(pixels, DisplayWidth, DisplayHeight, LockedPitch);
    const HRESULT result = BackSurface->Unlock(pixels);
    if (result != DD_OK) {
        DebugLog("Unlock %08lx: frame dropped", static_cast<unsigned long>(result));
        RestoreSurfaces();
        return;
    }
    if (CopyFrameToPrimary())
        AdvanceFade();
}

void DisplayRelease()
{
    if (!DDraw)
        return;
    if (LockedPixels) {
        BackSurface->Unlock(LockedPixels);
        LockedPixels = nullptr;
    }
    if (PrimarySurface) {
        PrimarySurface->Release();
        PrimarySurface = nullptr;
        DebugLog("Release PrimarySurface");
    }
    BackSurface = nullptr;
    DDraw->Release();
    DDraw = nullptr;
    DebugLog("Release DDraw");
}
