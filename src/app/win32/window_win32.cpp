#include "app/win32/app_win32.h"

#include "app/app.h"
#include "app/close_request.h"
#include "app/win32/debug_log_win32.h"
#include "audio/sound.h"
#include "display/ddraw/display_ddraw.h"
#include "raster/mathtables.h"

HWND AppWindow;
int32_t AppActive;

static const char ClassName[] = "MOVIRA";
static const char WindowTitle[] = "TARVEL";

void PostCloseRequest(void* window)
{
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
}

static void RegisterAppClass(HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    // The program carries no resources: this finds no icon.
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(32512));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = ClassName;
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
    DebugLog("RegisterClassA %s", ClassName);
}

// Borderless, topmost, covering the screen as it is at start-up.
static HWND CreateAppWindow(HINSTANCE instance)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, ClassName, WindowTitle, WS_POPUP, 0, 0, width, height, nullptr,
                                  nullptr, instance, nullptr);
    DebugLog("CreateWindowExA %s %dx%d %s", WindowTitle, width, height, window ? "created" : "failed");
    return window;
}

// A display step failed: its code in a message box, everything that exists
// released, and the window destroyed (WM_DESTROY runs ShutdownApp again,
// which then finds nothing left).
static int DisplayStartupFailed(HRESULT code)
{
    char text[256];
    wsprintfA(text, "Fallo al inicializar Direct-Draw (%08lx)\n", static_cast<unsigned long>(code));
    DebugLog("display start-up failed %08lx", static_cast<unsigned long>(code));
    MessageBoxA(AppWindow, text, "ERROR", MB_OK);
    ShutdownApp();
    DestroyWindow(AppWindow);
    return 0;
}

int InitApp(HINSTANCE instance, int showCommand)
{
    RegisterAppClass(instance);
    AppWindow = CreateAppWindow(instance);
    if (!AppWindow)
        return 0;
    ShowWindow(AppWindow, showCommand);
    UpdateWindow(AppWindow);

    const HRESULT created = DisplayCreate();
    CalcMathTables();
    DebugLog("CalcMathTables");
    if (created != DD_OK)
        return DisplayStartupFailed(created);
    if (const HRESULT started = DisplayStart(AppWindow); started != DD_OK)
        return DisplayStartupFailed(started);

    DebugLog("InitSubsystems");
    InitSubsystems();
    DebugLog("InitSound");
    InitSound(AppWindow);
    DebugLog("start-up done");
    return 1;
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        DebugLog("WM_DESTROY");
        DebugLog("ShutdownApp");
        ShutdownApp();
        PostQuitMessage(0);
        break;
    case WM_ACTIVATEAPP:
        // Either way, activation or deactivation, the show runs from now on.
        if (!AppActive)
            DebugLog("WM_ACTIVATEAPP");
        AppActive = 1;
        break;
    case WM_SETCURSOR:
        // No pointer over the window; no default processing.
        SetCursor(nullptr);
        return 1;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DebugLog("WM_KEYDOWN VK_ESCAPE");
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        break;
    case WM_CLOSE:
        // Left to the default processing, which destroys the window.
        DebugLog("WM_CLOSE");
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
