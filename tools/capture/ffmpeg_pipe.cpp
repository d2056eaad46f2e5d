#include "capture/ffmpeg_pipe.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
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

namespace {

// A write to an encoder that has stopped reading raises SIGPIPE, which would
// end the whole process. While one of these lives, the signal is blocked on
// this thread; one that the writes raised is taken back before the mask is
// put back, and any other SIGPIPE is left pending as it was.
class PipeSignalHeld {
public:
    PipeSignalHeld()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        pendingBefore_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~PipeSignalHeld()
    {
        if (raised_ && !pendingBefore_) {
            const timespec now{};
            while (sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

    void Raised() { raised_ = true; }

private:
    sigset_t pipe_{};
    sigset_t previous_{};
    bool pendingBefore_ = false;
    bool raised_ = false;
};

} // namespace

bool FeedEncoder(EncoderProcess* encoder, const void* bytes, size_t size)
{
    PipeSignalHeld held;
    const auto* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = write(encoder->input, at, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EPIPE)
            held.Raised();
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
