#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

// FatalError's exit code as Windows reports it.
constexpr int FatalExitCode = -1;

// A hidden top-level window of a class whose procedure is `procedure`.
inline HWND MakeTestWindow(WNDPROC procedure)
{
    static const char ClassName[] = "TARVELTEST";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, ClassName, "test", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, windowClass.hInstance,
                           nullptr);
}

// A file of `size` bytes in the temporary folder, each byte its offset mod 256.
inline std::string MakeTempFile(const char* name, size_t size)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    for (size_t i = 0; i < size; i++)
        std::fputc(int(i & 0xFF), f);
    std::fclose(f);
    return path;
}

// Closes every message box of this thread as soon as it is shown, after
// writing "message box: CAPTION" to stderr, so that a death test can see
// that a fatal error showed its box without anyone there to press OK.
inline LRESULT CALLBACK CloseMessageBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        char name[16] = "", caption[256] = "";
        if (GetClassNameA(box, name, sizeof name) && std::strcmp(name, "#32770") == 0) {
            GetWindowTextA(box, caption, sizeof caption);
            std::fprintf(stderr, "message box: %s\n", caption);
            std::fflush(stderr);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

inline void CloseMessageBoxesAtOnce()
{
    SetWindowsHookExA(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
}
