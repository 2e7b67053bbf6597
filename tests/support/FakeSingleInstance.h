// SPDX-License-Identifier: MIT
#pragma once

#include "platform/SingleInstance.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace kestrix {

// The instance check in memory: the test chooses the role, sees what a second launch sent,
// and plays requests of later launches into the handlers (on the calling thread).
class FakeSingleInstance final : public SingleInstance {
  public:
    // role: what Acquire answers. running: what IsRunning answers before Acquire.
    explicit FakeSingleInstance(Role role = Role::First, bool running = false);

    Role Acquire() override;
    bool SendRequest(const std::string& request) override;
    bool IsRunning() override;
    void SetHandlers(std::function<void(const std::string&)> onShow,
                     std::function<void(int)> onExitRequest) override;

    // Requests sent with SendRequest, in order.
    std::vector<std::string> SentRequests() const;
    // Plays one request of a later launch, parsed as the real listener parses it; false for
    // an unknown request. Waits for SetHandlers like the real one.
    bool Deliver(const std::string& request);
    // Whether Acquire was called.
    bool Acquired() const;

  private:
    mutable std::mutex m_mutex;
    Role m_role;
    bool m_running;
    bool m_acquired = false;
    std::vector<std::string> m_sent;
    std::function<void(const std::string&)> m_onShow;
    std::function<void(int)> m_onExitRequest;
    std::vector<InstanceRequest> m_waiting;
};

}  // namespace kestrix
