// The capture shell: no window. It counts as active from the start, a close
// request is counted and, in RunApp's loop, ends the run as a window's close
// would.
#include "app/app.h"
#include "app/app_seam.h"
#include "app/capture/capture_platform.h"

int CaptureCloseRequests = 0;

static bool WindowOpen;
static bool QuitPending;

bool CreateAppWindow()
{
    WindowOpen = true;
    App.AppActive = 1;
    return true;
}

void DestroyAppWindow()
{
    if (!WindowOpen)
        return;
    WindowOpen = false;
    ShutdownApp();
    QuitPending = true;
}

// Nothing to show: FatalError has already written the message to stderr.
void ShowMessageBox(const char*, const char*) {}

void PostCloseRequest()
{
    CaptureCloseRequests++;
}

MessageTurn HandleNextMessage(int* exitCode)
{
    if (QuitPending) {
        QuitPending = false;
        *exitCode = 0;
        return MessageTurn::Quit;
    }
    if (WindowOpen && CaptureCloseRequests > 0) {
        DestroyAppWindow();
        return MessageTurn::Handled;
    }
    return MessageTurn::Empty;
}

void WaitForMessage() {}

void ResetCapturePlatform()
{
    CaptureSink = nullptr;
    CaptureDrawSeconds = 0.0;
    CaptureFramesPresented = 0;
    CaptureMusicPosition = 0.0;
    CaptureMusicFile.clear();
    for (int& plays : CaptureChannelPlays)
        plays = 0;
    CaptureTickNow = 0;
    CaptureTickStep = 31;
    CaptureSleeps.clear();
    CaptureCloseRequests = 0;
    WindowOpen = false;
    QuitPending = false;
}
