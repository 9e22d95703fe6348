#include "engine/EngineProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// A line longer than this is no protocol line; the buffer would otherwise grow without end.
constexpr std::size_t kLongestLine = 1 << 20;

bool Executable(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), X_OK) == 0;
}

int MillisecondsUntil(TEngineClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TEngineClock::now());
    if (left.count() <= 0) return 0;
    return left.count() > 60'000 ? 60'000 : int(left.count());
}

std::string ErrnoText(int e) {
    return std::strerror(e);
}

// Engines that were told to quit and have not yet been waited for. A window that starts a new game
// while its engine hangs must not wait for that engine: the reaper's thread does, and kills an engine
// that is still there once its grace has passed. The thread runs only while there is a child to wait
// for. The reaper is never destroyed, so that an engine stopped while the program ends still finds it.
class TReaper {
public:
    static TReaper& Get() {
        static TReaper* const reaper = new TReaper;
        return *reaper;
    }

    void Add(pid_t pid, TEngineClock::time_point killAt) {
        const std::lock_guard lock(mutex_);
        children_.push_back({pid, killAt, false});
        if (running_) return;
        running_ = true;
        std::thread([this] { Run(); }).detach();
    }

    bool Drain(std::chrono::milliseconds wait) {
        const auto killAt = TEngineClock::now() + wait;
        // A child killed is gone within moments, unless the kernel holds it in a call it cannot leave.
        const auto giveUp = killAt + std::chrono::seconds(2);
        for (;;) {
            {
                const std::lock_guard lock(mutex_);
                if (ReapSome(TEngineClock::now() >= killAt)) return true;
            }
            if (TEngineClock::now() >= giveUp) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

private:
    struct TChild {
        pid_t Pid;
        TEngineClock::time_point KillAt;
        bool Killed;
    };
    std::mutex mutex_;
    std::vector<TChild> children_;
    bool running_ = false;

    // Waits for the children that have ended, kills those past their time (all of them with killAll);
    // true when none is left. Called with the mutex held.
    bool ReapSome(bool killAll) {
        const auto now = TEngineClock::now();
        for (auto child = children_.begin(); child != children_.end();) {
            int status = 0;
            const pid_t done = ::waitpid(child->Pid, &status, WNOHANG);
            // ECHILD: someone else has waited for it (or children are not kept at all).
            if (done == child->Pid || (done < 0 && errno == ECHILD)) {
                child = children_.erase(child);
                continue;
            }
            if (!child->Killed && (killAll || now >= child->KillAt)) {
                ::kill(child->Pid, SIGKILL);
                child->Killed = true;
            }
            ++child;
        }
        return children_.empty();
    }

    void Run() {
        for (;;) {
            {
                const std::lock_guard lock(mutex_);
                if (ReapSome(false)) {
                    running_ = false;
                    return;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
};

// At the program's end an engine that lingers is killed rather than left running without its game.
struct TReapAtExit {
    ~TReapAtExit() { (void)TReaper::Get().Drain(std::chrono::milliseconds(200)); }
} reapAtExit;

} // namespace

bool ReapStoppedEngines(std::chrono::milliseconds wait) {
    return TReaper::Get().Drain(wait);
}

std::string FindEngineProgram(const std::string& program) {
    if (program.empty()) return {};
    if (program.find('/') != std::string::npos) return Executable(program) ? program : std::string();
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "";
    folders += ":/usr/games";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + program;
        if (Executable(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

TEngineProcess::~TEngineProcess() {
    Stop();
}

TEngineStatus TEngineProcess::Start(const std::string& program, const std::vector<std::string>& args) {
    Stop();
    const std::string path = FindEngineProgram(program);
    if (path.empty()) return TEngineStatus::Fail(EngineError::NotFound, "engine not found: " + program);

    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return TEngineStatus::Fail(EngineError::StartFailed,
                                   "cannot make a channel to the engine: " + ErrnoText(errno));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> argStrings{path};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (rc != 0) {
        ::close(ends[0]);
        return TEngineStatus::Fail(rc == ENOENT ? EngineError::NotFound : EngineError::StartFailed,
                                   "cannot start the engine " + path + ": " + ErrnoText(rc));
    }
    const int flags = ::fcntl(ends[0], F_GETFL);
    ::fcntl(ends[0], F_SETFL, flags | O_NONBLOCK);
    pid_ = pid;
    fd_ = ends[0];
    buffer_.clear();
    eof_ = false;
    return TEngineStatus::Ok();
}

TEngineStatus TEngineProcess::WriteLine(std::string_view line, TEngineClock::time_point deadline) {
    if (!Running()) return TEngineStatus::Fail(EngineError::Exited, "the engine is not running");
    std::string text(line);
    text += '\n';
    std::size_t sent = 0;
    while (sent < text.size()) {
        // MSG_NOSIGNAL: an engine that has gone away is an error value here, not a SIGPIPE for the game.
        const ssize_t n = ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            const int wait = MillisecondsUntil(deadline);
            if (wait == 0 || ::poll(&p, 1, wait) == 0)
                return TEngineStatus::Fail(EngineError::NoAnswer, "the engine takes no input");
            continue;
        }
        // The engine closed its end: the same failure, in the same words, as when a read finds it gone
        // first (which of the two notices depends only on timing).
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET))
            return TEngineStatus::Fail(EngineError::Exited, "the engine has exited");
        return TEngineStatus::Fail(EngineError::Exited, "the engine has exited (" + ErrnoText(errno) + ")");
    }
    return TEngineStatus::Ok();
}

TEngineStatus TEngineProcess::ReadLine(std::string& line, TEngineClock::time_point deadline) {
    for (;;) {
        const std::size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            line.assign(buffer_, 0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            buffer_.erase(0, end + 1);
            return TEngineStatus::Ok();
        }
        if (buffer_.size() > kLongestLine)
            return TEngineStatus::Fail(EngineError::Protocol, "the engine wrote a line longer than 1 MiB");
        if (eof_ || !Running()) return TEngineStatus::Fail(EngineError::Exited, "the engine has exited");
        char chunk[4096];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer_.append(chunk, std::size_t(n));
            continue;
        }
        if (n == 0) {
            eof_ = true;
            continue;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            eof_ = true;
            continue;
        }
        pollfd p{fd_, POLLIN, 0};
        const int wait = MillisecondsUntil(deadline);
        if (wait == 0 || ::poll(&p, 1, wait) == 0)
            return TEngineStatus::Fail(EngineError::NoAnswer, "the engine did not answer in time");
    }
}

void TEngineProcess::Stop(std::chrono::milliseconds grace) {
    if (pid_ <= 0) return;
    // Only what fits at once: an engine that reads nothing has its input closed and is killed later.
    if (!eof_) (void)WriteLine("quit", TEngineClock::now());
    // The end of its input stops an engine that missed the command, or a program that is none.
    ::close(fd_);
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == 0) TReaper::Get().Add(pid_, TEngineClock::now() + grace);
    fd_ = -1;
    pid_ = -1;
    buffer_.clear();
}
