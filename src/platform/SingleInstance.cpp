// SPDX-License-Identifier: MIT
#include "platform/SingleInstance.h"

#include "base/Log.h"
#include "base/Text.h"
#include "platform/PlatformPaths.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace kestrix {
namespace {

// "show " and the longest activation token, with room for the line break.
constexpr size_t kMaxRequestBytes = 320;
// The listener serves one client at a time, so a client that never finishes its line is
// dropped quickly; a sender waits longer, to outlast one such client ahead of it.
constexpr int kServerReadTimeoutMs = 500;
constexpr int kClientTimeoutMs = 3000;
// A second launch may race a first one that holds the lock but has not bound yet.
constexpr int kConnectAttempts = 20;
constexpr auto kConnectRetryDelay = std::chrono::milliseconds(100);

std::string RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return runtime;
    // Without a runtime folder: a private folder in /tmp, accepted only when it is ours and
    // closed to others, so another user cannot plant or watch our socket.
    const std::string folder = "/tmp/kestrix-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        LogLine("single instance: cannot create %s: %s", folder.c_str(), std::strerror(errno));
        return {};
    }
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & 077) != 0) {
        LogLine("single instance: %s is not a private folder of this user", folder.c_str());
        return {};
    }
    return folder;
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void SetTimeouts(int fd, int milliseconds) {
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

// Reads up to the first line break, end of stream or kMaxRequestBytes.
std::string ReadLine(int fd) {
    std::string text;
    char buffer[kMaxRequestBytes];
    while (text.size() < kMaxRequestBytes && text.find('\n') == std::string::npos) {
        const ssize_t n = recv(fd, buffer, kMaxRequestBytes - text.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    const size_t lineEnd = text.find('\n');
    if (lineEnd != std::string::npos) text.resize(lineEnd + 1);
    return text;
}

bool SendAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool UsableActivationToken(std::string_view token) {
    if (token.empty() || token.size() > kMaxActivationTokenBytes) return false;
    for (const char c : token) {
        if (c <= ' ' || c > '~') return false;
    }
    return true;
}

}  // namespace

std::string MakeShowRequest(std::string_view activationToken) {
    if (!UsableActivationToken(activationToken)) return kShowRequest;
    return std::string(kShowRequestPrefix) + std::string(activationToken);
}

InstanceRequest ParseInstanceRequest(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    InstanceRequest request;
    if (text == kShowRequest) {
        request.kind = InstanceRequest::Kind::Show;
        return request;
    }
    const std::string_view showPrefix = kShowRequestPrefix;
    if (text.substr(0, showPrefix.size()) == showPrefix) {
        const std::string_view token = text.substr(showPrefix.size());
        if (!UsableActivationToken(token)) return request;
        request.kind = InstanceRequest::Kind::Show;
        request.activationToken = token;
        return request;
    }
    const std::string_view prefix = kExitRequestPrefix;
    if (text.substr(0, prefix.size()) != prefix) return request;
    const std::string_view number = text.substr(prefix.size());
    size_t digits = number.size() > 0 && number[0] == '-' ? 1 : 0;
    if (digits == number.size() || number.size() > 11) return request;
    for (; digits < number.size(); ++digits) {
        if (number[digits] < '0' || number[digits] > '9') return request;
    }
    request.kind = InstanceRequest::Kind::Exit;
    request.exitParameter = ParseDecimal(number);
    return request;
}

LinuxSingleInstance::LinuxSingleInstance(const std::string& programName) {
    m_folder = RuntimeFolder();
    if (!m_folder.empty()) {
        const std::string base = m_folder + "/" + ProgramFileName(programName);
        m_socketPath = base + ".socket";
        m_lockPath = base + ".lock";
    }
}

LinuxSingleInstance::~LinuxSingleInstance() {
    if (m_listener.joinable()) {
        const uint64_t one = 1;
        if (write(m_stopFd, &one, sizeof one) != sizeof one) {
            LogLine("single instance: cannot stop the listener: %s", std::strerror(errno));
        }
        m_listener.join();
    }
    if (m_listenFd >= 0) {
        // Remove the file while the lock is still held, so no new first instance loses its own.
        unlink(m_socketPath.c_str());
        close(m_listenFd);
    }
    if (m_stopFd >= 0) close(m_stopFd);
    if (m_lockFd >= 0) close(m_lockFd);
}

SingleInstance::Role LinuxSingleInstance::Acquire() {
    if (m_acquired) return Role::First;
    sockaddr_un address{};
    if (!FillAddress(m_socketPath, address)) {
        LogLine(
            "single instance: no usable socket path \"%s\"; running without the one-instance check",
            m_socketPath.c_str());
        m_acquired = true;
        return Role::First;
    }
    m_lockFd = open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFd < 0) {
        LogLine("single instance: cannot open %s: %s; running without the one-instance check",
                m_lockPath.c_str(), std::strerror(errno));
        m_acquired = true;
        return Role::First;
    }
    while (flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) {
            close(m_lockFd);
            m_lockFd = -1;
            return Role::Second;
        }
        LogLine("single instance: cannot lock %s: %s", m_lockPath.c_str(), std::strerror(errno));
        break;
    }
    m_acquired = true;
    // Holding the lock, any socket file there is a leftover of a crashed run.
    if (unlink(m_socketPath.c_str()) != 0 && errno != ENOENT) {
        LogLine("single instance: cannot remove stale %s: %s", m_socketPath.c_str(),
                std::strerror(errno));
    }
    m_listenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0 ||
        bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listenFd, 8) != 0) {
        LogLine("single instance: cannot listen on %s: %s", m_socketPath.c_str(),
                std::strerror(errno));
        if (m_listenFd >= 0) close(m_listenFd);
        m_listenFd = -1;
        return Role::First;
    }
    m_stopFd = eventfd(0, EFD_CLOEXEC);
    if (m_stopFd < 0) {
        LogLine("single instance: cannot create the stop event: %s", std::strerror(errno));
        return Role::First;
    }
    m_listener = std::thread([this] { Listen(); });
    return Role::First;
}

void LinuxSingleInstance::Listen() {
    for (;;) {
        pollfd entries[2] = {{m_listenFd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        const int ready = poll(entries, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            LogLine("single instance: listener stopped: %s", std::strerror(errno));
            return;
        }
        if (entries[1].revents != 0) return;
        if (entries[0].revents == 0) continue;
        const int client = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno != EINTR && errno != EAGAIN && errno != ECONNABORTED) {
                LogLine("single instance: accept failed: %s", std::strerror(errno));
            }
            continue;
        }
        ServeClient(client);
        close(client);
    }
}

void LinuxSingleInstance::ServeClient(int clientFd) {
    ucred peer{};
    socklen_t peerSize = sizeof peer;
    if (getsockopt(clientFd, SOL_SOCKET, SO_PEERCRED, &peer, &peerSize) != 0 ||
        peer.uid != getuid()) {
        LogLine("single instance: request from another user refused");
        return;
    }
    SetTimeouts(clientFd, kServerReadTimeoutMs);
    const std::string text = ReadLine(clientFd);
    if (text.empty()) return;  // a probe: it only checked that we listen
    const InstanceRequest request = ParseInstanceRequest(text);
    if (request.kind == InstanceRequest::Kind::Unknown) {
        LogLine("single instance: unknown request \"%s\"",
                text.substr(0, text.find_first_of("\r\n")).c_str());
        SendAll(clientFd, "unknown\n");
        return;
    }
    Deliver(request);
    SendAll(clientFd, "ok\n");
}

void LinuxSingleInstance::Deliver(const InstanceRequest& request) {
    // Handlers run under the lock, so requests waiting for SetHandlers and new arrivals keep
    // their order; handlers only hand the request on and never call back into this object.
    std::lock_guard guard(m_handlerMutex);
    if (!m_onShow && !m_onExitRequest) {
        m_waiting.push_back(request);
        return;
    }
    if (request.kind == InstanceRequest::Kind::Show && m_onShow) m_onShow(request.activationToken);
    if (request.kind == InstanceRequest::Kind::Exit && m_onExitRequest)
        m_onExitRequest(request.exitParameter);
}

void LinuxSingleInstance::SetHandlers(std::function<void(const std::string&)> onShow,
                                      std::function<void(int)> onExitRequest) {
    std::lock_guard guard(m_handlerMutex);
    m_onShow = std::move(onShow);
    m_onExitRequest = std::move(onExitRequest);
    for (const InstanceRequest& request : m_waiting) {
        if (request.kind == InstanceRequest::Kind::Show && m_onShow)
            m_onShow(request.activationToken);
        if (request.kind == InstanceRequest::Kind::Exit && m_onExitRequest)
            m_onExitRequest(request.exitParameter);
    }
    m_waiting.clear();
}

int LinuxSingleInstance::Connect() const {
    sockaddr_un address{};
    if (!FillAddress(m_socketPath, address)) return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        LogLine("single instance: cannot create a socket: %s", std::strerror(errno));
        return -1;
    }
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool LinuxSingleInstance::SendRequest(const std::string& request) {
    int fd = -1;
    for (int attempt = 0; attempt < kConnectAttempts && fd < 0; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(kConnectRetryDelay);
        fd = Connect();
    }
    if (fd < 0) {
        LogLine("single instance: no running instance answers on %s", m_socketPath.c_str());
        return false;
    }
    SetTimeouts(fd, kClientTimeoutMs);
    bool confirmed = SendAll(fd, request + "\n");
    shutdown(fd, SHUT_WR);
    confirmed = confirmed && ReadLine(fd) == "ok\n";
    close(fd);
    if (!confirmed) LogLine("single instance: request \"%s\" not confirmed", request.c_str());
    return confirmed;
}

bool LinuxSingleInstance::IsRunning() {
    const int fd = Connect();
    if (fd < 0) return false;
    close(fd);
    return true;
}

}  // namespace kestrix
