// SPDX-License-Identifier: MIT
#include "device/TaskQueue.h"

namespace kestrix {

void TaskQueue::Push(DeviceTask task) {
    {
        std::lock_guard lock(m_mutex);
        m_codes.push_back(task);
    }
    m_wake.notify_all();
}

bool TaskQueue::TryPop(DeviceTask& task) {
    std::lock_guard lock(m_mutex);
    if (m_codes.empty()) return false;
    task = m_codes.front();
    m_codes.pop_front();
    return true;
}

bool TaskQueue::WaitForTask(std::chrono::microseconds timeout) {
    std::unique_lock lock(m_mutex);
    const unsigned interrupts = m_interrupts;
    m_wake.wait_for(lock, timeout, [&] { return !m_codes.empty() || m_interrupts != interrupts; });
    return !m_codes.empty();
}

void TaskQueue::Interrupt() {
    {
        std::lock_guard lock(m_mutex);
        ++m_interrupts;
    }
    m_wake.notify_all();
}

void TaskQueue::Clear() {
    std::lock_guard lock(m_mutex);
    m_codes.clear();
}

size_t TaskQueue::Size() const {
    std::lock_guard lock(m_mutex);
    return m_codes.size();
}

}  // namespace kestrix
