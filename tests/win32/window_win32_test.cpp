#include <gtest/gtest.h>

#include "app/close_request.h"
#include "app/win32/app_win32.h"
#include "display/ddraw/display_ddraw.h"
#include "fake_ddraw.h"
#include "win32_test_util.h"

// WndProc's answers on a real (hidden) window.
namespace {

class WindowProcedure : public testing::Test {
protected:
    void SetUp() override
    {
        window = MakeTestWindow(WndProc);
        ASSERT_NE(window, nullptr);
        DrainMessages();
    }
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        DrainMessages();
    }
    static void DrainMessages()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // The next posted close request for the window, if any.
    bool TakeClose(MSG* message) { return PeekMessageA(message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE); }

    HWND window = nullptr;
};

TEST_F(WindowProcedure, EscapeAndTheEndOfTheShowPostACloseRequest)
{
    MSG message;
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(TakeClose(&message));
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ASSERT_TRUE(TakeClose(&message));
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);

    PostCloseRequest(window);
    ASSERT_TRUE(TakeClose(&message));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
}

TEST_F(WindowProcedure, ActivationEitherWaySetsTheFlagForGood)
{
    AppActive = 0;
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(AppActive, 1);
    SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(AppActive, 1);
}

TEST_F(WindowProcedure, PointerIsHiddenOverTheWindow)
{
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(WindowProcedure, DestructionShutsDownOnceAndPostsQuitWithZero)
{
    FakeDirectDraw device;
    DDraw = &device;
    DrawJournal.clear();
    DestroyWindow(window);
    EXPECT_EQ(DrawJournal, std::vector<std::string>{"ddraw Release"});
    EXPECT_EQ(DDraw, nullptr);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

} // namespace
