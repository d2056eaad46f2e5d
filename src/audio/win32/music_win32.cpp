#include <windows.h>
#include <control.h>
#include <strmif.h>

#include "audio/audio_seam.h"
#include "core/debug_log.h"
#include "core/files.h"

// The soundtrack through DirectShow: a filter graph, its control, position
// and event interfaces. The events are obtained and released, never read:
// the show ends on the clock, not on the end of the stream.
static IGraphBuilder* MusicGraph;
static IMediaControl* MusicControl;
static IMediaPosition* MusicSeeker;
static IMediaEvent* MusicEvents;

// A successful CoInitialize that MusicShutdown has yet to balance.
static bool ComInitialised;

// The published class and interface identifiers.
static constexpr GUID FilterGraphClass = {0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
static constexpr GUID GraphBuilderId = {0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
static constexpr GUID MediaControlId = {0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
static constexpr GUID MediaPositionId = {0x56A868B2, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
static constexpr GUID MediaEventId = {0x56A868B6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// Room for the wide name: 255 characters with its terminator, so names of
// at most 254 characters fit.
constexpr int WideNameCapacity = 255;

void MusicInit()
{
    const HRESULT com = CoInitialize(nullptr);
    DebugLog("CoInitialize %08lx", static_cast<unsigned long>(com));
    if (FAILED(com))
        return;
    ComInitialised = true;
    // Results not examined: an interface that is not there stays null.
    const HRESULT created = CoCreateInstance(FilterGraphClass, nullptr, CLSCTX_INPROC_SERVER, GraphBuilderId,
                                             reinterpret_cast<void**>(&MusicGraph));
    DebugLog("CoCreateInstance FilterGraph %08lx", static_cast<unsigned long>(created));
    if (!MusicGraph)
        return;
    MusicGraph->QueryInterface(MediaControlId, reinterpret_cast<void**>(&MusicControl));
    MusicGraph->QueryInterface(MediaPositionId, reinterpret_cast<void**>(&MusicSeeker));
    MusicGraph->QueryInterface(MediaEventId, reinterpret_cast<void**>(&MusicEvents));
}

void MusicPlay(const char* file)
{
    if (!MusicGraph || !MusicNameFits(file))
        return;
    WCHAR wide[WideNameCapacity + 1];
    // 0: the name does not fit (or does not convert); the buffer then holds
    // no terminated name and is not used.
    if (MultiByteToWideChar(CP_ACP, 0, file, -1, wide, WideNameCapacity) == 0)
        return;
    const HRESULT rendered = MusicGraph->RenderFile(wide, nullptr);
    DebugLog("RenderFile %s %08lx", file, static_cast<unsigned long>(rendered));
    if (MusicSeeker)
        MusicSeeker->put_CurrentPosition(0.0);
    if (MusicControl) {
        const HRESULT run = MusicControl->Run();
        DebugLog("Run %08lx", static_cast<unsigned long>(run));
    }
}

void MusicStop()
{
    if (MusicControl)
        MusicControl->Stop();
}

double MusicPosition()
{
    REFTIME position = 0.0;
    if (!MusicSeeker || FAILED(MusicSeeker->get_CurrentPosition(&position)))
        return 0.0;
    return position;
}

template <typename Interface>
static void ReleaseInterface(Interface*& reference)
{
    if (reference) {
        reference->Release();
        reference = nullptr;
    }
}

// Releasing the graph's last reference ends playback; it is not stopped first.
void MusicShutdown()
{
    const bool graphExisted = MusicGraph != nullptr;
    ReleaseInterface(MusicEvents);
    ReleaseInterface(MusicSeeker);
    ReleaseInterface(MusicControl);
    ReleaseInterface(MusicGraph);
    if (graphExisted)
        DebugLog("Release music graph");
    if (ComInitialised) {
        CoUninitialize();
        ComInitialised = false;
        DebugLog("CoUninitialize");
    }
}
