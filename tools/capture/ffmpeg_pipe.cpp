#include "capture/ffmpeg_pipe.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool StartEncoder(const std::vector<std::string>& arguments, EncoderProcess* encoder, std::string* error)
{
    int fds[2];
    if (pipe(fds) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>("ffmpeg"));
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    pid_t pid = -1;
    const int result = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (result != 0) {
        close(fds[1]);
        *error = result == ENOENT ? "ffmpeg was not found; install it (Debian package ffmpeg) to make videos"
                                  : std::string("cannot start ffmpeg: ") + std::strerror(result);
        return false;
    }
    encoder->pid = pid;
    encoder->input = fds[1];
    return true;
}

bool FeedEncoder(EncoderProcess* encoder, const void* bytes, size_t size)
{
    const auto* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = write(encoder->input, at, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        size -= size_t(written);
    }
    return true;
}

bool FinishEncoder(EncoderProcess* encoder)
{
    if (encoder->input >= 0)
        close(encoder->input);
    encoder->input = -1;
    int status = 0;
    while (waitpid(encoder->pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
