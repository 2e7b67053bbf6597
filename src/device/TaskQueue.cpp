// SPDX-License-Identifier: MIT
#include "device/TaskQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "base/Log.h"

namespace kestrix {

TaskQueue::TaskQueue() : m_wakeFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (!m_wakeFd.Valid()) LogLine("task queue: no eventfd; the worker waits in timed slices");
}

void TaskQueue::SignalWake() {
    if (!m_wakeFd.Valid()) return;
    const uint64_t one = 1;
    // Fails only when the counter is about to overflow, and then it is readable anyway.
    [[maybe_unused]] const ssize_t written = ::write(m_wakeFd.Get(), &one, sizeof one);
}

void TaskQueue::ClearWake() {
    if (!m_wakeFd.Valid()) return;
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_wakeFd.Get(), &count, sizeof count);
}

void TaskQueue::Push(DeviceTask task) {
    {
        std::lock_guard lock(m_mutex);
        m_codes.push_back(task);
    }
    SignalWake();
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
    SignalWake();
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
