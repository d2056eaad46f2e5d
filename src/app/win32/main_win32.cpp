#include <windows.h>

#include "app/app.h"
#include "app/win32/app_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    AppInstance = instance;
    AppShowCommand = showCommand;
    return RunApp();
}
