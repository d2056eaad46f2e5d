#include "sdl/desktop_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> CStrings(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

int ShiftOf(uint32_t mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        shift++;
    }
    return shift;
}

} // namespace

bool StartXServer(int width, int height, XServer* server)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return false;
    }
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    char ch;
    while (read(fds[0], &ch, 1) == 1 && ch != '\n')
        number += ch;
    close(fds[0]);
    server->pid = pid;
    server->display = ":" + number;
    return !number.empty();
}

void StopXServer(XServer* server)
{
    if (server->pid > 0) {
        kill(server->pid, SIGTERM);
        waitpid(server->pid, nullptr, 0);
    }
    server->pid = -1;
}

RunningProgram StartProgram(const std::vector<std::string>& argv, const std::string& folder,
                            const std::vector<std::string>& environment, const std::string& outFile,
                            const std::string& errFile)
{
    std::vector<std::string> args = argv;
    std::vector<std::string> env;
    for (char** e = environ; *e; e++)
        env.emplace_back(*e);
    env.insert(env.end(), environment.begin(), environment.end());
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> a = CStrings(args), e = CStrings(env);
        execve(a[0], a.data(), e.data());
        _exit(127);
    }
    return RunningProgram{pid};
}

int WaitForExit(RunningProgram* program, double seconds)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (waitpid(program->pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(program->pid, SIGKILL);
            waitpid(program->pid, &status, 0);
            program->pid = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    program->pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunOnDisplay(const XServer& server, const std::string& command)
{
    const std::string line = "DISPLAY=" + server.display + " " + command;
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Looks through the whole window tree: xdotool's own search does not see
// every top-level window (SDL's message boxes, for one).
std::string WaitForWindow(const XServer& server, const std::string& name, double seconds)
{
    const std::string quoted = "\"" + name + "\":";
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline) {
        const std::string line = "DISPLAY=" + server.display + " xwininfo -root -tree 2>/dev/null";
        if (std::FILE* tree = popen(line.c_str(), "r")) {
            char text[1024];
            std::string found;
            while (std::fgets(text, sizeof text, tree))
                if (std::strstr(text, quoted.c_str()) && found.empty())
                    found = std::strtok(text, " ");
            pclose(tree);
            if (!found.empty())
                return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "";
}

// Reads the X window dump of the root window: a big-endian header, the
// colour table, then rows of 32-bit pixels in the server's byte order.
bool TakeScreenshot(const XServer& server, Picture* picture)
{
    char path[] = "/tmp/tarvel_shot_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return false;
    close(fd);
    const bool dumped = RunOnDisplay(server, std::string("xwd -root -silent > ") + path) == 0;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path);
    if (!dumped || b.size() < 100)
        return false;
    auto field = [&](int index) { return BigEndian32(&b[size_t(index) * 4]); };
    const uint32_t headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
    const uint32_t bitsPerPixel = field(11), bytesPerLine = field(12);
    const uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16), colours = field(19);
    const size_t start = headerSize + size_t(colours) * 12;
    if (bitsPerPixel != 32 || b.size() < start + size_t(bytesPerLine) * height)
        return false;
    picture->width = int(width);
    picture->height = int(height);
    picture->pixels.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; y++)
        for (uint32_t x = 0; x < width; x++) {
            const uint8_t* p = &b[start + size_t(y) * bytesPerLine + size_t(x) * 4];
            const uint32_t v = byteOrder == 0 ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24
                                              : BigEndian32(p);
            const uint32_t r = (v & redMask) >> ShiftOf(redMask), g = (v & greenMask) >> ShiftOf(greenMask),
                           bl = (v & blueMask) >> ShiftOf(blueMask);
            picture->pixels[size_t(y) * width + x] = r << 16 | g << 8 | bl;
        }
    return true;
}

bool ReadRawFrame(const std::string& path, Picture* picture)
{
    std::ifstream in(path, std::ios::binary);
    picture->width = 800;
    picture->height = 600;
    picture->pixels.assign(800 * 600, 0);
    in.read(reinterpret_cast<char*>(picture->pixels.data()), std::streamsize(picture->pixels.size() * 4));
    for (uint32_t& p : picture->pixels)
        p &= 0xFFFFFF;
    return bool(in);
}

double DifferingShare(const Picture& a, const Picture& b, int tolerance)
{
    size_t differing = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        for (int shift = 0; shift < 24; shift += 8) {
            const int ca = int(a.pixels[i] >> shift & 0xFF), cb = int(b.pixels[i] >> shift & 0xFF);
            if (std::abs(ca - cb) > tolerance) {
                differing++;
                break;
            }
        }
    return double(differing) / double(a.pixels.size());
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
