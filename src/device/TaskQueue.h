// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace kestrix {

// First-in first-out queue of DeviceTask codes shared by the UI thread (producer) and the
// device worker (consumer). One lock, held only while a code is added or removed; a waiting
// consumer is woken by every Push.
class TaskQueue {
  public:
    // Appends a code and wakes the worker. Unbounded.
    void Push(int code);
    // Removes the oldest code into code; false when the queue is empty.
    bool TryPop(int& code);
    // Waits until a code is queued, Interrupt is called or timeout passes; true when the queue
    // holds a code.
    bool WaitForTask(std::chrono::microseconds timeout);
    // Wakes a waiting consumer without queuing anything (used to stop the worker).
    void Interrupt();
    // Discards every queued code.
    void Clear();
    // Number of queued codes.
    size_t Size() const;

  private:
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<int> m_codes;
    unsigned m_interrupts = 0;
};

}  // namespace kestrix
