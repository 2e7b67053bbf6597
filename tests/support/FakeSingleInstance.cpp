// SPDX-License-Identifier: MIT
#include "support/FakeSingleInstance.h"

namespace kestrix {

FakeSingleInstance::FakeSingleInstance(Role role, bool running)
    : m_role(role), m_running(running) {}

SingleInstance::Role FakeSingleInstance::Acquire() {
    std::lock_guard guard(m_mutex);
    m_acquired = true;
    m_running = true;
    return m_role;
}

bool FakeSingleInstance::SendRequest(const std::string& request) {
    std::lock_guard guard(m_mutex);
    m_sent.push_back(request);
    return m_role == Role::Second;
}

bool FakeSingleInstance::IsRunning() {
    std::lock_guard guard(m_mutex);
    return m_running;
}

void FakeSingleInstance::SetHandlers(std::function<void(const std::string&)> onShow,
                                     std::function<void(int)> onExitRequest) {
    std::lock_guard guard(m_mutex);
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

std::vector<std::string> FakeSingleInstance::SentRequests() const {
    std::lock_guard guard(m_mutex);
    return m_sent;
}

bool FakeSingleInstance::Deliver(const std::string& text) {
    const InstanceRequest request = ParseInstanceRequest(text);
    if (request.kind == InstanceRequest::Kind::Unknown) return false;
    std::lock_guard guard(m_mutex);
    if (!m_onShow && !m_onExitRequest) {
        m_waiting.push_back(request);
        return true;
    }
    if (request.kind == InstanceRequest::Kind::Show && m_onShow) m_onShow(request.activationToken);
    if (request.kind == InstanceRequest::Kind::Exit && m_onExitRequest)
        m_onExitRequest(request.exitParameter);
    return true;
}

bool FakeSingleInstance::Acquired() const {
    std::lock_guard guard(m_mutex);
    return m_acquired;
}

}  // namespace kestrix
