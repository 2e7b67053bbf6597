// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "base/UniqueFd.h"
#include "device/DeviceTask.h"

namespace kestrix {

// First-in first-out queue of device tasks shared by the UI thread (producer) and the
// device worker (consumer). One lock, held only while a code is added or removed; a waiting
// consumer is woken by every Push, whether it waits in WaitForTask or in poll() on
// WakeDescriptor beside other descriptors.
class TaskQueue {
  public:
    TaskQueue();

    // Appends a task and wakes the worker. Unbounded.
    void Push(DeviceTask task);
    // Removes the oldest task into task; false when the queue is empty.
    bool TryPop(DeviceTask& task);
    // Waits until a code is queued, Interrupt is called or timeout passes; true when the queue
    // holds a code.
    bool WaitForTask(std::chrono::microseconds timeout);
    // Wakes a waiting consumer without queuing anything (used to stop the worker).
    void Interrupt();
    // Discards every queued code.
    void Clear();
    // Number of queued codes.
    size_t Size() const;
    // A descriptor that turns readable at every Push and Interrupt and stays so until
    // ClearWake; -1 when the system gave none (a consumer then waits in timed slices). A
    // consumer calls ClearWake before TryPop, so a code pushed after that always wakes it.
    int WakeDescriptor() const { return m_wakeFd.Get(); }
    void ClearWake();

  private:
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<DeviceTask> m_codes;
    unsigned m_interrupts = 0;
    UniqueFd m_wakeFd;

    void SignalWake();
};

}  // namespace kestrix
