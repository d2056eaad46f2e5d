#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// A private X server (Xvfb) and the programs run on it, for tests that
// watch the show as a user would.

struct XServer {
    pid_t pid = -1;
    std::string display; // ":N"
};

// Starts Xvfb with one screen of width x height at 24 bits; false when it
// does not come up.
bool StartXServer(int width, int height, XServer* server);
void StopXServer(XServer* server);

struct RunningProgram {
    pid_t pid = -1;
};

// Starts `argv` in `folder` with `environment` ("NAME=value") added to this
// process's, stdout and stderr written to the given files.
RunningProgram StartProgram(const std::vector<std::string>& argv, const std::string& folder,
                            const std::vector<std::string>& environment, const std::string& outFile,
                            const std::string& errFile);

// Waits up to `seconds` for the program to end; its exit code, or -1 when
// it had to be killed.
int WaitForExit(RunningProgram* program, double seconds);

// Runs a command on the X server's display and returns its exit code.
int RunOnDisplay(const XServer& server, const std::string& command);

// Waits until a window with exactly this name exists and returns its id
// ("0x..."); "" after `seconds`.
std::string WaitForWindow(const XServer& server, const std::string& name, double seconds);

// The whole screen as 0x00RRGGBB pixels, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
bool TakeScreenshot(const XServer& server, Picture* picture);

// An 800x600 frame of tarvel-capture's raw output.
bool ReadRawFrame(const std::string& path, Picture* picture);

// Share of the pixels of two same-sized pictures whose channels differ by
// more than `tolerance`.
double DifferingShare(const Picture& a, const Picture& b, int tolerance);

std::string ReadText(const std::string& path);
