#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

// A hidden top-level window of a class whose procedure is `procedure`.
inline HWND MakeTestWindow(WNDPROC procedure)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TARVELTEST";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "TARVELTEST", "test", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

inline std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// A file of `size` bytes in the temporary folder.
inline std::string MakeTempFile(const char* name, size_t size)
{
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << std::string(size, '\x10');
    return path;
}

// Closes every message box of this thread as soon as it is shown, after
// writing "message box: CAPTION" to stderr, so that a death test can see
// that a fatal error showed its box without anyone there to press OK.
inline LRESULT CALLBACK CloseMessageBox(int code, WPARAM wParam, LPARAM lParam)
{
    char name[16] = "", caption[256] = "";
    const HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && GetClassNameA(box, name, sizeof name) && std::strcmp(name, "#32770") == 0) {
        GetWindowTextA(box, caption, sizeof caption);
        std::fprintf(stderr, "message box: %s\n", caption);
        std::fflush(stderr);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

inline void CloseMessageBoxesAtOnce()
{
    SetWindowsHookExA(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
}
