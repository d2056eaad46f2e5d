#include "app/fatal_notice.h"
#include "app/sdl/app_sdl.h"

// A message box owned by the window, and the user closes it. The window
// stops being topmost first, so that the box is seen above it.
void ShowFatalNotice(const char* caption, const char* text)
{
    if (AppWindow)
        SDL_SetWindowAlwaysOnTop(AppWindow, SDL_FALSE);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, AppWindow);
}
