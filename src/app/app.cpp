#include "app/app.h"

#include <cstdio>

#include "app/app_seam.h"
#include "audio/audio_seam.h"
#include "audio/cdaudio.h"
#include "audio/sound.h"
#include "core/debug_log.h"
#include "demo/sequencer.h"
#include "display/display.h"
#include "display/display_seam.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "input/input.h"
#include "raster/mathtables.h"

AppState App;

void InitSubsystems()
{
    DebugLog("InitSubsystems");
    newscreenwin(&Display.DisplayScreen, DisplayWidth, DisplayHeight);
    newscreen(&Display.SpareScreen, DisplayWidth, DisplayHeight);
    SetTarget(&Display.DisplayScreen);
    ClearKeys();
    InitJoysticks();
    OpenCD();
    MusicInit();
}

void ShutdownApp()
{
    DebugLog("ShutdownApp");
    NoiseFree(0);
    NoiseFree(1);
    DisplayRelease();
    MusicShutdown();
    EndSound();
    CloseCD();
}

// A display step failed: its code in a message box, everything that exists
// released, and the window destroyed (its end runs ShutdownApp again, which
// then finds nothing left).
static int DisplayStartupFailed(uint32_t code)
{
    char text[256];
    std::snprintf(text, sizeof text, "Fallo al inicializar Direct-Draw (%08lx)\n", static_cast<unsigned long>(code));
    DebugLog("display start-up failed %08lx", static_cast<unsigned long>(code));
    std::fprintf(stderr, "ERROR: %s", text);
    ShowMessageBox("ERROR", text);
    ShutdownApp();
    DestroyAppWindow();
    return 0;
}

int InitApp()
{
    if (!CreateAppWindow()) {
        DebugLog("the window cannot be created");
        return 0;
    }
    const uint32_t created = DisplayCreate();
    CalcMathTables();
    DebugLog("CalcMathTables");
    if (created != 0)
        return DisplayStartupFailed(created);
    if (const uint32_t started = DisplayStart(); started != 0)
        return DisplayStartupFailed(started);
    InitSubsystems();
    DebugLog("InitSound");
    InitSound();
    DebugLog("start-up done");
    return 1;
}

bool StartApp()
{
    DebugLogOpen();
    if (InitApp())
        return true;
    DebugLog("exit %d", StartupFailedExitCode);
    return false;
}

// One frame; the frame that reached the end of the show asks the window to
// close.
static void PlayDemoFrame()
{
    if (DemoFrame())
        PostCloseRequest();
}

int RunApp()
{
    if (!StartApp())
        return StartupFailedExitCode;
    // Messages always come before frames: a frame is drawn only on a turn
    // that finds no message waiting, and only once the window was activated.
    for (;;) {
        int exitCode = 0;
        const MessageTurn turn = HandleNextMessage(&exitCode);
        if (turn == MessageTurn::Quit) {
            DebugLog("exit %d", exitCode);
            return exitCode;
        }
        if (turn == MessageTurn::Handled)
            continue;
        if (!App.AppActive)
            WaitForMessage();
        else
            PlayDemoFrame();
    }
}

bool RunAppRefresh(int* exitCode)
{
    for (;;) {
        const MessageTurn turn = HandleNextMessage(exitCode);
        if (turn == MessageTurn::Quit) {
            DebugLog("exit %d", *exitCode);
            return false;
        }
        if (turn == MessageTurn::Empty)
            break;
    }
    if (App.AppActive && DemoFrameDue())
        PlayDemoFrame();
    return true;
}

void ResetEngine()
{
    ResetDisplay();
    ResetInput();
    ResetImages();
    ResetSound();
    ResetSequencer();
    ResetRandom();
    App = AppState{};
}
