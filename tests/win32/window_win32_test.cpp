#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/app.h"
#include "app/app_seam.h"
#include "app/win32/app_win32.h"
#include "win32_test_util.h"

// WndProc's answers on a real (hidden) window. Its destruction, which shuts
// the program down, is checked on the program itself by the Wine tests.
namespace {

TEST(WindowProcedure, EscapeAndTheEndOfTheShowCloseAnyActivationStartsAndThePointerIsHidden)
{
    HWND window = MakeTestWindow(WndProc);
    ASSERT_NE(window, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    auto takeClose = [&] { return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE); };
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(takeClose());
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_TRUE(takeClose());
    AppWindow = window;
    PostCloseRequest();
    EXPECT_TRUE(takeClose());
    AppWindow = nullptr;

    App.AppActive = 0;
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0); // deactivation, too, starts the show
    EXPECT_EQ(App.AppActive, 1);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(GetCursor(), nullptr);
}

LRESULT CALLBACK RefuseEveryWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_NCCREATE ? FALSE : DefWindowProcA(window, message, wParam, lParam);
}

// The program's window class taken first by a procedure that refuses every
// window: its own registration fails (not examined), the window is not made,
// the program ends with 1 and its step log says why.
TEST(WindowCreation, WindowThatCannotBeMadeEndsTheProgramWith1AndItsReasonIsLogged)
{
    AppInstance = GetModuleHandleA(nullptr);
    WNDCLASSA refusing{};
    refusing.lpfnWndProc = RefuseEveryWindow;
    refusing.hInstance = AppInstance;
    refusing.lpszClassName = "MOVIRA";
    ASSERT_NE(RegisterClassA(&refusing), 0);
    const std::string log = TempPath("tarvel_window_log.txt");
    _putenv_s("TARVEL_DEBUG_LOG", log.c_str());
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(AppWindow, nullptr);
    std::ostringstream logged;
    logged << std::ifstream(log).rdbuf();
    const std::string text = logged.str();
    for (const char* line : {"CreateWindowExA TARVEL ", " failed (error ", "exit 1"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
    EXPECT_EQ(text.find("DirectDrawCreate"), std::string::npos) << text;
}

} // namespace
