// SPDX-License-Identifier: MIT
#include "platform/ProgramRunner.h"

#include "base/Log.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>

extern char** environ;

namespace kestrix {
namespace {

// posix_spawn attributes and file actions as RAII, since every exit path must release them.
class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawnattr_init(&m_attributes);
        posix_spawn_file_actions_init(&m_actions);
        // The child gets default signal handling and an empty mask whatever this process
        // set up (an ignored SIGPIPE would otherwise be inherited across exec).
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGCHLD);
        sigset_t empty;
        sigemptyset(&empty);
        posix_spawnattr_setsigdefault(&m_attributes, &defaults);
        posix_spawnattr_setsigmask(&m_attributes, &empty);
        m_flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
        posix_spawnattr_setflags(&m_attributes, m_flags);
        posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    void NewSession() {
        m_flags |= POSIX_SPAWN_SETSID;
        posix_spawnattr_setflags(&m_attributes, m_flags);
    }
    // The child's target descriptor becomes a copy of fd.
    void Redirect(int fd, int target) { posix_spawn_file_actions_adddup2(&m_actions, fd, target); }
    // Returns the child's pid, or -1 with errno set.
    pid_t Spawn(const std::vector<std::string>& argv) {
        std::vector<char*> args;
        args.reserve(argv.size() + 1);
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        pid_t pid = -1;
        const int result =
            posix_spawnp(&pid, args[0], &m_actions, &m_attributes, args.data(), environ);
        if (result != 0) {
            errno = result;
            return -1;
        }
        return pid;
    }

  private:
    posix_spawnattr_t m_attributes{};
    posix_spawn_file_actions_t m_actions{};
    short m_flags = 0;
};

// Waits for pid and returns its exit status, or -1 when it died by a signal.
int Reap(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* pathVariable = std::getenv("PATH");
    const std::string path =
        pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    for (;;) {
        const size_t end = path.find(':', start);
        const std::string_view folder = std::string_view(path).substr(
            start, end == std::string::npos ? std::string::npos : end - start);
        std::string candidate(folder.empty() ? std::string_view(".") : folder);
        candidate.append(1, '/').append(name);
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

int RunProgram(const std::vector<std::string>& argv, std::string* output, std::string* errorOutput,
               std::chrono::milliseconds timeout) {
    if (argv.empty()) return -1;
    // Two pipes: standard output for the caller, standard error for the log when it fails.
    int outFds[2];
    int errFds[2];
    if (pipe2(outFds, O_CLOEXEC) != 0) {
        LogLine("platform: cannot create a pipe for %s: %s", argv[0].c_str(), std::strerror(errno));
        return -1;
    }
    if (pipe2(errFds, O_CLOEXEC) != 0) {
        LogLine("platform: cannot create a pipe for %s: %s", argv[0].c_str(), std::strerror(errno));
        close(outFds[0]);
        close(outFds[1]);
        return -1;
    }
    SpawnSetup setup;
    setup.Redirect(outFds[1], STDOUT_FILENO);
    setup.Redirect(errFds[1], STDERR_FILENO);
    const pid_t pid = setup.Spawn(argv);
    const int spawnErrno = errno;
    close(outFds[1]);
    close(errFds[1]);
    if (pid < 0) {
        close(outFds[0]);
        close(errFds[0]);
        LogLine("platform: cannot start %s: %s", argv[0].c_str(), std::strerror(spawnErrno));
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool timedOut = false;
    std::string errors;
    pollfd entries[2] = {{outFds[0], POLLIN, 0}, {errFds[0], POLLIN, 0}};
    char buffer[4096];
    while (entries[0].fd >= 0 || entries[1].fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        const int ready = poll(entries, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (entries[i].fd < 0 || entries[i].revents == 0) continue;
            const ssize_t n = read(entries[i].fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                entries[i].fd = -1;  // negative fds are skipped by poll
                continue;
            }
            if (i == 0 && output != nullptr) output->append(buffer, static_cast<size_t>(n));
            if (i == 1 && errors.size() < 4096) errors.append(buffer, static_cast<size_t>(n));
        }
    }
    close(outFds[0]);
    close(errFds[0]);
    if (timedOut) {
        kill(pid, SIGKILL);
        Reap(pid);
        LogLine("platform: %s did not finish within %lld ms and was stopped", argv[0].c_str(),
                static_cast<long long>(timeout.count()));
        return -1;
    }
    const int status = Reap(pid);
    if (status < 0) LogLine("platform: %s ended abnormally", argv[0].c_str());
    if (errorOutput != nullptr) *errorOutput = std::move(errors);
    return status;
}

bool StartProgram(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    SpawnSetup setup;
    // Its own session, so a terminal's Ctrl+C to this program does not close what it opened.
    setup.NewSession();
    const pid_t pid = setup.Spawn(argv);
    if (pid < 0) {
        LogLine("platform: cannot start %s: %s", argv[0].c_str(), std::strerror(errno));
        return false;
    }
    std::thread([pid, name = argv[0]] {
        const int status = Reap(pid);
        if (status != 0) LogLine("platform: %s exited with status %d", name.c_str(), status);
    }).detach();
    return true;
}

}  // namespace kestrix
