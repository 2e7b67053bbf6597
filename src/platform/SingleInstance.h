// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kestrix {

// Requests one launch sends to the running instance.
inline constexpr char kShowRequest[] = "show";         // bring the main window forward
inline constexpr char kShowRequestPrefix[] = "show ";  // followed by an activation token
inline constexpr char kExitRequest[] = "exit 610";     // the exit request, lParam 610
inline constexpr char kExitRequestPrefix[] = "exit ";  // followed by the decimal lParam

// A request as understood by the running instance.
struct InstanceRequest {
    enum class Kind { Unknown, Show, Exit };
    Kind kind = Kind::Unknown;
    int exitParameter = 0;  // the number after "exit " for Kind::Exit
    // For Kind::Show: the launching process's activation token, which lets the running
    // instance take the focus on Wayland (xdg-activation); "" when it sent none.
    std::string activationToken;
};

// Longest activation token a show request carries.
inline constexpr size_t kMaxActivationTokenBytes = 255;

// The show request of a launch: "show", or "show <token>" for a usable activation token
// (1 to kMaxActivationTokenBytes printable ASCII characters without blanks; others are left
// out, so the window still comes forward where the desktop allows it).
std::string MakeShowRequest(std::string_view activationToken);

// Reads one request line (a trailing "\n" or "\r\n" is ignored): "show" with an optional
// activation token after a blank, or "exit " followed by a decimal number that is handed on as
// it is (the receiver acts only on 610). Else Unknown.
InstanceRequest ParseInstanceRequest(std::string_view text);

// One running instance per user and program name. The first launch claims the instance and
// listens; a later launch finds it and asks it to show its window.
class SingleInstance {
  public:
    enum class Role { First, Second };
    virtual ~SingleInstance() = default;
    // Claims the instance. First: this process is the only one and now listens for requests.
    // Second: another process holds it (a later call tries again). Once First, stays First.
    virtual Role Acquire() = 0;
    // Sends one request ("show", "exit 610") to the running instance; true when it confirmed.
    virtual bool SendRequest(const std::string& request) = 0;
    // True when an instance answers (the command-line tool's probe); claims nothing.
    virtual bool IsRunning() = 0;
    // Receivers for the requests of later launches. They run on a listener thread of their
    // own, in arrival order; requests that arrive before they are set wait for them. A handler
    // must only hand the request on (for example to the UI thread) and not call this object.
    // onShow receives the request's activation token ("" without one).
    virtual void SetHandlers(std::function<void(const std::string&)> onShow,
                             std::function<void(int)> onExitRequest) = 0;
};

// A Unix socket "<name>.socket" in $XDG_RUNTIME_DIR (else a private /tmp/kestrix-<uid>/),
// guarded by an flock on "<name>.lock" beside it. The lock dies with its process, so a socket
// file left by a crash never stops the next first instance: it removes and rebinds it.
class LinuxSingleInstance final : public SingleInstance {
  public:
    // The socket's place is fixed here from the program name and $XDG_RUNTIME_DIR.
    explicit LinuxSingleInstance(const std::string& programName);
    // Stops the listener and removes the socket file this instance bound.
    ~LinuxSingleInstance() override;
    LinuxSingleInstance(const LinuxSingleInstance&) = delete;
    LinuxSingleInstance& operator=(const LinuxSingleInstance&) = delete;

    Role Acquire() override;
    bool SendRequest(const std::string& request) override;
    bool IsRunning() override;
    void SetHandlers(std::function<void(const std::string&)> onShow,
                     std::function<void(int)> onExitRequest) override;

    // Full path of the socket file.
    const std::string& SocketPath() const { return m_socketPath; }

  private:
    void Listen();
    void ServeClient(int clientFd);
    void Deliver(const InstanceRequest& request);
    // Connects to the socket; -1 when nobody listens.
    int Connect() const;

    std::string m_folder;
    std::string m_socketPath;
    std::string m_lockPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    int m_stopFd = -1;
    bool m_acquired = false;
    std::thread m_listener;
    std::mutex m_handlerMutex;
    std::function<void(const std::string&)> m_onShow;
    std::function<void(int)> m_onExitRequest;
    std::vector<InstanceRequest> m_waiting;
};

}  // namespace kestrix
