#include <windows.h>

#include "app/win32/app_win32.h"
#include "app/win32/debug_log_win32.h"
#include "demo/sequencer.h"

// One turn of the show, with its line in the log: the stage it ran, and for
// a played frame the clock it was drawn at.
static void IdleFrame()
{
    static long frameNumber;
    const int32_t stage = DemoStage;
    const int32_t clock = SceneClock;
    DemoFrame(AppWindow);
    if (!DebugLogOn())
        return;
    if (stage == 1)
        DebugLog("DemoFrame pictures loaded");
    else if (stage == 2)
        DebugLog("DemoFrame show started");
    else
        DebugLog("frame %ld clock %ld", ++frameNumber, long(clock));
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    DebugLogOpen();
    if (!InitApp(instance, showCommand)) {
        DebugLog("exit %d", StartupFailedExitCode);
        return StartupFailedExitCode;
    }
    // Messages always come before frames: a frame is drawn only on a turn
    // that finds the queue empty, and only once the window was activated.
    for (;;) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageA(&message, nullptr, 0, 0)) {
                DebugLog("exit %d", int(message.wParam));
                return int(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (AppActive) {
            IdleFrame();
        } else {
            WaitMessage();
        }
    }
}
