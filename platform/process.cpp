#include "process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// What the child reports through the close-on-exec pipe when it cannot
// become the program: which step failed and its errno. A successful exec
// closes the pipe, so the parent reads nothing.
struct StartFailure {
    int step; // kStepChdir or kStepExec
    int error;
};
constexpr int kStepChdir = 1;
constexpr int kStepExec = 2;
constexpr size_t kErrorOutputLimit = 64 * 1024;

std::string ErrnoText(int error) {
    return std::strerror(error);
}

// A relative program path names a file relative to the caller's current
// folder, not to `workDir` the child changes into before it starts.
std::string ProgramPathForChild(const std::string& program, const std::string& workDir) {
    if (program.empty() || program[0] == '/' || workDir.empty()) return program;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) return program;
    return std::string(cwd) + "/" + program;
}

bool ReadAll(int fd, void* buffer, size_t size, size_t* got) {
    auto* bytes = static_cast<char*>(buffer);
    *got = 0;
    while (*got < size) {
        ssize_t n = read(fd, bytes + *got, size - *got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        *got += static_cast<size_t>(n);
    }
    return true;
}

// Writes from the forked child: only async-signal-safe calls.
void ReportAndExit(int fd, int step, int error) {
    StartFailure failure{step, error};
    const char* bytes = reinterpret_cast<const char*>(&failure);
    size_t done = 0;
    while (done < sizeof failure) {
        ssize_t n = write(fd, bytes + done, sizeof failure - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    _exit(127);
}

// When a bounded run must end; an unbounded one has no deadline.
struct Deadline {
    bool bounded;
    std::chrono::steady_clock::time_point at;
    // Milliseconds left for poll(): -1 without a bound, 0 once past it.
    int MillisecondsLeft() const {
        if (!bounded) return -1;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            at - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<long long>(0, left.count() + 1));
    }
    bool Passed() const { return bounded && std::chrono::steady_clock::now() >= at; }
};

// Reads the child's standard error to its end, keeping the first
// kErrorOutputLimit bytes; false when the deadline came first.
bool DrainErrorOutput(int fd, const Deadline& deadline, std::string& text) {
    char buffer[4096];
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, deadline.MillisecondsLeft());
        if (polled < 0 && errno == EINTR) continue;
        if (polled == 0) return false;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        const size_t room = kErrorOutputLimit - std::min(kErrorOutputLimit, text.size());
        text.append(buffer, std::min(room, static_cast<size_t>(n)));
    }
}

// Waits for the child to end; ETIME when the deadline came first.
int WaitForChild(pid_t pid, int* status, const Deadline& deadline) {
    for (;;) {
        pid_t r = waitpid(pid, status, deadline.bounded ? WNOHANG : 0);
        if (r == pid) return 0;
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return errno;
        if (deadline.Passed()) return ETIME;
        usleep(2000);
    }
}

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir, std::chrono::milliseconds timeLimit) {
    ProgramResult result;
    if (program.empty()) {
        result.error = "no program given";
        return result;
    }

    // Everything the child needs is prepared before fork().
    const std::string path = ProgramPathForChild(program, workDir);
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int pipeFds[2];
    int errorFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        result.error = "cannot start " + program + ": " + ErrnoText(errno);
        return result;
    }
    if (pipe2(errorFds, O_CLOEXEC) != 0) {
        int error = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        result.error = "cannot start " + program + ": " + ErrnoText(error);
        return result;
    }

    pid_t pid = fork();
    if (pid < 0) {
        int error = errno;
        for (int fd : {pipeFds[0], pipeFds[1], errorFds[0], errorFds[1]})
            close(fd);
        result.error = "cannot start " + program + ": " + ErrnoText(error);
        return result;
    }
    if (pid == 0) {
        close(pipeFds[0]);
        close(errorFds[0]);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        // The copy on descriptor 2 stays open across exec; the original closes.
        dup2(errorFds[1], STDERR_FILENO);
        if (!workDir.empty() && chdir(workDir.c_str()) != 0)
            ReportAndExit(pipeFds[1], kStepChdir, errno);
        execv(path.c_str(), argv.data());
        ReportAndExit(pipeFds[1], kStepExec, errno);
    }

    close(pipeFds[1]);
    close(errorFds[1]);
    StartFailure failure{};
    size_t got = 0;
    ReadAll(pipeFds[0], &failure, sizeof failure, &got);
    close(pipeFds[0]);
    const Deadline deadline{timeLimit.count() > 0, std::chrono::steady_clock::now() + timeLimit};
    bool inTime = DrainErrorOutput(errorFds[0], deadline, result.errorOutput);
    close(errorFds[0]);

    int status = 0;
    int waitError = inTime ? WaitForChild(pid, &status, deadline) : ETIME;
    if (waitError == ETIME) {
        kill(pid, SIGKILL);
        WaitForChild(pid, &status, Deadline{false, {}});
        inTime = false;
    }

    if (got == sizeof failure) {
        if (failure.step == kStepChdir)
            result.error = "cannot start " + program + ": cannot enter " + workDir + ": " +
                           ErrnoText(failure.error);
        else
            result.error = "cannot start " + program + ": " + ErrnoText(failure.error);
        return result;
    }

    result.started = true;
    if (!inTime) {
        result.error = program + " did not end within " +
                       std::to_string((timeLimit.count() + 999) / 1000) + " s and was stopped";
    } else if (waitError != 0) {
        result.error = "cannot wait for " + program + ": " + ErrnoText(waitError);
    } else if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        int sig = WTERMSIG(status);
        result.error =
            program + " was ended by signal " + std::to_string(sig) + " (" + strsignal(sig) + ")";
    } else {
        result.error = program + " ended abnormally";
    }
    return result;
}

std::string ExecutableDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", &buffer[0], buffer.size());
        if (n < 0) return std::string();
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<size_t>(n));
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    size_t slash = buffer.rfind('/');
    if (slash == std::string::npos) return std::string();
    if (slash == 0) return "/";
    return buffer.substr(0, slash);
}

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// mkdir -p: creates every missing folder on the way; true when `path` ends
// up being a directory.
bool MakeDirectories(const std::string& path, mode_t mode) {
    if (path.empty()) return false;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        std::string prefix = path.substr(0, pos);
        if (prefix.empty()) continue;
        if (mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder in a shared temporary folder must be a real folder of ours that
// nobody else can write, or another user could plant files in it.
bool IsPrivateDirectory(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

std::string UserDataDirectory() {
    const std::string xdgCache = EnvironmentValue("XDG_CACHE_HOME");
    if (!xdgCache.empty() && xdgCache[0] == '/') {
        std::string dir = xdgCache + "/ostrel-debugger";
        if (MakeDirectories(dir, 0700)) return dir;
    }
    const std::string home = EnvironmentValue("HOME");
    if (!home.empty() && home[0] == '/') {
        std::string dir = home + "/.cache/ostrel-debugger";
        if (MakeDirectories(dir, 0700)) return dir;
    }
    std::string tmp = EnvironmentValue("TMPDIR");
    if (tmp.empty() || tmp[0] != '/') tmp = "/tmp";
    while (tmp.size() > 1 && tmp.back() == '/')
        tmp.pop_back();
    std::string dir = tmp + "/ostrel-debugger-" + std::to_string(geteuid());
    if (MakeDirectories(dir, 0700) && IsPrivateDirectory(dir)) return dir;
    return std::string();
}

} // namespace platform
