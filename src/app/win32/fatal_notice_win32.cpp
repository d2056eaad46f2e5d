#include "app/fatal_notice.h"
#include "app/win32/app_win32.h"
#include "app/win32/debug_log_win32.h"

// A message box owned by the window, with only an OK button; returns when
// the user has closed it.
void ShowFatalNotice(const char* caption, const char* text)
{
    DebugLog("FatalError \"%s\" \"%s\"", caption, text);
    MessageBoxA(AppWindow, text, caption, MB_OK);
}
