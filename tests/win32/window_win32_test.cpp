#include <gtest/gtest.h>

#include "app/app.h"
#include "app/app_seam.h"
#include "app/win32/app_win32.h"
#include "win32_test_util.h"

// WndProc's answers on a real (hidden) window. Its destruction, which shuts
// the program down, is checked on the program itself by the Wine tests.
namespace {

TEST(WindowProcedure, EscapeAndTheEndOfTheShowCloseActivationStartsAndThePointerIsHidden)
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

    // Activation or deactivation, the show runs from the first on.
    App.AppActive = 0;
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(App.AppActive, 1);
    SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(App.AppActive, 1);

    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(GetCursor(), nullptr);
}

} // namespace
