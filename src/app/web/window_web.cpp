// The web shell: the page's canvas stands for the window, a queue of the
// shell's own messages for the window's message queue, and the page's modal
// box for message boxes. The page calls back once per display refresh
// (main_web.cpp), so nothing here ever waits.
#include <cstdint>
#include <deque>

#include "app/app.h"
#include "app/app_seam.h"
#include "app/web/app_web.h"
#include "app/web/page_web.h"
#include "input/virtual_keys.h"
#include "input/web/input_web.h"

namespace {

enum class MessageKind { Activate, KeyDown, Close, Quit };

struct Message {
    MessageKind kind;
    int value; // KeyDown: the virtual-key code; Quit: the exit code
};

std::deque<Message> Messages;
bool WindowOpen;

void Post(MessageKind kind, int value = 0)
{
    Messages.push_back({kind, value});
}

// The window's procedure: activation, Escape and the close request.
void Handle(const Message& message)
{
    switch (message.kind) {
    case MessageKind::Activate:
        App.AppActive = 1;
        break;
    case MessageKind::KeyDown:
        if (message.value == VkEscape)
            PostCloseRequest();
        break;
    case MessageKind::Close:
        DestroyAppWindow();
        break;
    case MessageKind::Quit:
        break;
    }
}

} // namespace

bool CreateAppWindow()
{
    if (!tarvel_page_open_window())
        return false;
    Messages.clear();
    WindowOpen = true;
    WebInputAttach();
    // The canvas is on the page already: it counts as shown, which activates.
    PostActivation();
    return true;
}

// The window's end: everything is released, then the quit message ends the
// loop. Later close requests find no window and change nothing.
void DestroyAppWindow()
{
    if (!WindowOpen)
        return;
    ShutdownApp();
    WebInputDetach();
    tarvel_page_close_window();
    WindowOpen = false;
    Post(MessageKind::Quit, 0);
}

// The page cannot wait for the box to be closed: the box stays up, modal,
// while the caller goes on (after a fatal error the show has stopped).
void ShowMessageBox(const char* caption, const char* text)
{
    tarvel_page_message_box(caption, text);
}

void PostCloseRequest()
{
    if (WindowOpen)
        Post(MessageKind::Close);
}

void PostKeyDown(uint8_t virtualKey)
{
    if (WindowOpen)
        Post(MessageKind::KeyDown, virtualKey);
}

void PostActivation()
{
    if (WindowOpen)
        Post(MessageKind::Activate);
}

MessageTurn HandleNextMessage(int* exitCode)
{
    if (Messages.empty())
        return MessageTurn::Empty;
    const Message message = Messages.front();
    Messages.pop_front();
    if (message.kind == MessageKind::Quit) {
        *exitCode = message.value;
        return MessageTurn::Quit;
    }
    Handle(message);
    return MessageTurn::Handled;
}

// Never reached from RunAppRefresh, which returns instead of waiting.
void WaitForMessage() {}
