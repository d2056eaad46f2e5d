#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// Recording stand-ins for DirectDraw's first-version interfaces: the calls
// that matter are written to a shared journal ("back Lock", "primary
// Restore", ...) in order; results are scripted per surface.
extern std::vector<std::string> DrawJournal;

struct FakeSurface : IDirectDrawSurface {
    std::string name;
    std::vector<uint32_t> pixels, pixelsAtUnlock; // Lock hands out `pixels`, rows `pitch` bytes apart
    LONG pitch = 3200;
    HRESULT lockResult = DD_OK, unlockResult = DD_OK;
    std::deque<HRESULT> bltResults; // of the next Blt calls in turn; DD_OK once they run out
    DWORD lockFlags = ~0u, attachedCaps = 0;
    IDirectDrawSurface* attached = nullptr;
    bool locked = false;

    explicit FakeSurface(std::string surfaceName) : name(std::move(surfaceName)) {}
    void Note(const char* call) { DrawJournal.push_back(name + " " + call); }

    STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { Note("Release"); return 0; }
    STDMETHOD(AddAttachedSurface)(LPDIRECTDRAWSURFACE) override { return E_NOTIMPL; }
    STDMETHOD(AddOverlayDirtyRect)(LPRECT) override { return E_NOTIMPL; }
    STDMETHOD(Blt)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override
    {
        Note("Blt");
        const HRESULT result = bltResults.empty() ? DD_OK : bltResults.front();
        if (!bltResults.empty())
            bltResults.pop_front();
        return result;
    }
    STDMETHOD(BltBatch)(LPDDBLTBATCH, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(BltFast)(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(DeleteAttachedSurface)(DWORD, LPDIRECTDRAWSURFACE) override { return E_NOTIMPL; }
    STDMETHOD(EnumAttachedSurfaces)(LPVOID, LPDDENUMSURFACESCALLBACK) override { return E_NOTIMPL; }
    STDMETHOD(EnumOverlayZOrders)(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) override { return E_NOTIMPL; }
    STDMETHOD(Flip)(LPDIRECTDRAWSURFACE, DWORD) override { Note("Flip"); return E_NOTIMPL; }
    STDMETHOD(GetAttachedSurface)(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* found) override
    {
        Note("GetAttachedSurface");
        attachedCaps = caps->dwCaps;
        *found = attached;
        return attached ? DD_OK : DDERR_NOTFOUND;
    }
    STDMETHOD(GetBltStatus)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetCaps)(LPDDSCAPS) override { return E_NOTIMPL; }
    STDMETHOD(GetClipper)(LPDIRECTDRAWCLIPPER*) override { return E_NOTIMPL; }
    STDMETHOD(GetColorKey)(DWORD, LPDDCOLORKEY) override { return E_NOTIMPL; }
    STDMETHOD(GetDC)(HDC*) override { return E_NOTIMPL; }
    STDMETHOD(GetFlipStatus)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetOverlayPosition)(LPLONG, LPLONG) override { return E_NOTIMPL; }
    STDMETHOD(GetPalette)(LPDIRECTDRAWPALETTE*) override { return E_NOTIMPL; }
    STDMETHOD(GetPixelFormat)(LPDDPIXELFORMAT) override { return E_NOTIMPL; }
    STDMETHOD(GetSurfaceDesc)(LPDDSURFACEDESC) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(LPDIRECTDRAW, LPDDSURFACEDESC) override { return E_NOTIMPL; }
    STDMETHOD(IsLost)() override { return E_NOTIMPL; }
    STDMETHOD(Lock)(LPRECT, LPDDSURFACEDESC desc, DWORD flags, HANDLE) override
    {
        Note("Lock");
        lockFlags = flags;
        locked = lockResult == DD_OK;
        if (locked) {
            desc->lpSurface = pixels.data();
            desc->lPitch = pitch;
            desc->ddpfPixelFormat.dwRGBBitCount = 32;
        }
        return lockResult;
    }
    STDMETHOD(ReleaseDC)(HDC) override { return E_NOTIMPL; }
    STDMETHOD(Restore)() override { Note("Restore"); return DD_OK; }
    STDMETHOD(SetClipper)(LPDIRECTDRAWCLIPPER) override { return E_NOTIMPL; }
    STDMETHOD(SetColorKey)(DWORD, LPDDCOLORKEY) override { return E_NOTIMPL; }
    STDMETHOD(SetOverlayPosition)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetPalette)(LPDIRECTDRAWPALETTE) override { return E_NOTIMPL; }
    STDMETHOD(Unlock)(LPVOID) override
    {
        Note("Unlock");
        pixelsAtUnlock = pixels;
        locked = false;
        return unlockResult;
    }
    STDMETHOD(UpdateOverlay)(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) override { return E_NOTIMPL; }
    STDMETHOD(UpdateOverlayDisplay)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(UpdateOverlayZOrder)(DWORD, LPDIRECTDRAWSURFACE) override { return E_NOTIMPL; }
};

struct FakeDirectDraw : IDirectDraw {
    FakeSurface* primary = nullptr;
    HRESULT cooperativeResult = DD_OK, modeResult = DD_OK, surfaceResult = DD_OK;
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeFlags = 0, modeWidth = 0, modeHeight = 0, modeBits = 0;
    DDSURFACEDESC request{};

    static HRESULT Note(const char* call, HRESULT result)
    {
        DrawJournal.push_back(std::string("ddraw ") + call);
        return result;
    }
    STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return ULONG(Note("Release", 0)); }
    STDMETHOD(Compact)() override { return E_NOTIMPL; }
    STDMETHOD(CreateClipper)(DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*) override { return E_NOTIMPL; }
    STDMETHOD(CreatePalette)(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*) override { return E_NOTIMPL; }
    STDMETHOD(CreateSurface)(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface, IUnknown* outer) override
    {
        request = *desc;
        *surface = primary;
        return Note("CreateSurface", outer ? DDERR_INVALIDPARAMS : surfaceResult);
    }
    STDMETHOD(DuplicateSurface)(LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*) override { return E_NOTIMPL; }
    STDMETHOD(EnumDisplayModes)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK) override { return E_NOTIMPL; }
    STDMETHOD(EnumSurfaces)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK) override { return E_NOTIMPL; }
    STDMETHOD(FlipToGDISurface)() override { return E_NOTIMPL; }
    STDMETHOD(GetCaps)(LPDDCAPS, LPDDCAPS) override { return E_NOTIMPL; }
    STDMETHOD(GetDisplayMode)(LPDDSURFACEDESC) override { return E_NOTIMPL; }
    STDMETHOD(GetFourCCCodes)(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetGDISurface)(LPDIRECTDRAWSURFACE*) override { return E_NOTIMPL; }
    STDMETHOD(GetMonitorFrequency)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetScanLine)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetVerticalBlankStatus)(WINBOOL*) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(GUID*) override { return E_NOTIMPL; }
    STDMETHOD(RestoreDisplayMode)() override { return Note("RestoreDisplayMode", E_NOTIMPL); }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override
    {
        cooperativeWindow = window;
        cooperativeFlags = flags;
        return Note("SetCooperativeLevel", cooperativeResult);
    }
    STDMETHOD(SetDisplayMode)(DWORD width, DWORD height, DWORD bits) override
    {
        modeWidth = width;
        modeHeight = height;
        modeBits = bits;
        return Note("SetDisplayMode", modeResult);
    }
    STDMETHOD(WaitForVerticalBlank)(DWORD, HANDLE) override { return E_NOTIMPL; }
};
