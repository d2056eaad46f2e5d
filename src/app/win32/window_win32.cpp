// The Windows shell: the window class and window, the window procedure,
// message boxes and the message queue that the main loop reads.
#include "app/app.h"
#include "app/app_seam.h"
#include "app/win32/app_win32.h"
#include "core/debug_log.h"

HWND AppWindow;
HINSTANCE AppInstance;
int AppShowCommand;

static const char ClassName[] = "MOVIRA";
static const char WindowTitle[] = "TARVEL";

void PostCloseRequest()
{
    PostMessageA(AppWindow, WM_CLOSE, 0, 0);
}

void DestroyAppWindow()
{
    if (AppWindow)
        DestroyWindow(AppWindow);
}

// Only an OK button; returns when the user has closed the box.
void ShowMessageBox(const char* caption, const char* text)
{
    MessageBoxA(AppWindow, text, caption, MB_OK);
}

static void RegisterAppClass()
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = AppInstance;
    // The program carries no resources: this finds no icon.
    windowClass.hIcon = LoadIconA(AppInstance, MAKEINTRESOURCEA(32512));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = ClassName;
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
    DebugLog("RegisterClassA %s", ClassName);
}

// Borderless, topmost, covering the screen as it is at start-up.
bool CreateAppWindow()
{
    RegisterAppClass();
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    AppWindow = CreateWindowExA(WS_EX_TOPMOST, ClassName, WindowTitle, WS_POPUP, 0, 0, width, height, nullptr,
                                nullptr, AppInstance, nullptr);
    if (!AppWindow) {
        DebugLog("CreateWindowExA %s %dx%d failed (error %lu)", WindowTitle, width, height, GetLastError());
        return false;
    }
    DebugLog("CreateWindowExA %s %dx%d created", WindowTitle, width, height);
    ShowWindow(AppWindow, AppShowCommand);
    UpdateWindow(AppWindow);
    return true;
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        DebugLog("WM_DESTROY");
        ShutdownApp();
        PostQuitMessage(0);
        break;
    case WM_ACTIVATEAPP:
        // Either way, activation or deactivation, the show runs from now on.
        if (!App.AppActive)
            DebugLog("WM_ACTIVATEAPP");
        App.AppActive = 1;
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

MessageTurn HandleNextMessage(int* exitCode)
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE))
        return MessageTurn::Empty;
    if (!GetMessageA(&message, nullptr, 0, 0)) {
        *exitCode = int(message.wParam);
        return MessageTurn::Quit;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return MessageTurn::Handled;
}

void WaitForMessage()
{
    WaitMessage();
}
