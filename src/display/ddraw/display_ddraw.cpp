#include "display/ddraw/display_ddraw.h"

#include <cstring>

#include "app/win32/app_win32.h"
#include "core/debug_log.h"
#include "display/display.h"
#include "display/display_seam.h"

IDirectDraw* DDraw;
IDirectDrawSurface* PrimarySurface;
IDirectDrawSurface* BackSurface;
DDSURFACEDESC SurfaceDesc;

// The back buffer's pixels while a frame holds it locked.
static void* LockedPixels;

static_assert(sizeof(void*) != 4 || sizeof(DDSURFACEDESC) == 108, "the 32-bit surface record is 108 bytes");

static HRESULT Logged(const char* step, HRESULT result)
{
    DebugLog("%s %08lx", step, static_cast<unsigned long>(result));
    return result;
}

uint32_t DisplayCreate()
{
    return uint32_t(Logged("DirectDrawCreate", DirectDrawCreate(nullptr, &DDraw, nullptr)));
}

// Cooperative level (exclusive, full screen) for the program's window, the
// 800x600x32 mode, the primary surface with its back buffer, and a first lock
// and unlock of the back buffer.
uint32_t DisplayStart()
{
    HRESULT result = Logged("SetCooperativeLevel", DDraw->SetCooperativeLevel(AppWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    if (result != DD_OK)
        return uint32_t(result);
    result = Logged("SetDisplayMode", DDraw->SetDisplayMode(DisplayWidth, DisplayHeight, 32));
    if (result != DD_OK)
        return uint32_t(result);

    std::memset(&SurfaceDesc, 0, sizeof SurfaceDesc);
    SurfaceDesc.dwSize = sizeof SurfaceDesc;
    SurfaceDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    SurfaceDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_SYSTEMMEMORY;
    SurfaceDesc.dwBackBufferCount = 1;
    result = Logged("CreateSurface", DDraw->CreateSurface(&SurfaceDesc, &PrimarySurface, nullptr));
    if (result != DD_OK)
        return uint32_t(result);

    DDSCAPS backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    result = Logged("GetAttachedSurface", PrimarySurface->GetAttachedSurface(&backCaps, &BackSurface));
    if (result != DD_OK)
        return uint32_t(result);

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

bool DisplayLock(void** pixels, std::ptrdiff_t* pitch)
{
    if (!BackSurface)
        return false;
    const HRESULT result = BackSurface->Lock(nullptr, &SurfaceDesc, 0, nullptr);
    if (result == DD_OK && LockedFrameFits(SurfaceDesc)) {
        LockedPixels = SurfaceDesc.lpSurface;
        *pixels = LockedPixels;
        *pitch = SurfaceDesc.lPitch;
        return true;
    }
    if (result == DD_OK)
        BackSurface->Unlock(SurfaceDesc.lpSurface);
    DebugLog("Lock %08lx: frame dropped", static_cast<unsigned long>(result));
    RestoreSurfaces();
    return false;
}

bool DisplayUnlock(void* pixels)
{
    LockedPixels = nullptr;
    const HRESULT result = BackSurface->Unlock(pixels);
    if (result == DD_OK)
        return true;
    DebugLog("Unlock %08lx: frame dropped", static_cast<unsigned long>(result));
    RestoreSurfaces();
    return false;
}

// The whole back buffer onto the primary surface. A busy blitter is asked
// again until it copies; any other failure (a surface lost between the lock
// and the copy) restores both surfaces and drops the frame.
bool DisplayShow()
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
