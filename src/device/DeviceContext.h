// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "device/DeviceEvents.h"
#include "device/DeviceState.h"
#include "store/StoreRows.h"

namespace kestrix {

class DataStore;
class HidDeviceManager;

// What the settings protocol and the device worker share: the device manager, the store, the
// window's observer and the device state, plus the command-failure handler and a wait that
// ends early when the worker is stopped. The state is guarded by its own lock so the UI
// thread can read it and set the editor-owned fields at any time.
class DeviceContext {
  public:
    // The three objects must outlive the context.
    DeviceContext(HidDeviceManager& manager, DataStore& store, DeviceEvents& events);

    HidDeviceManager& Manager() { return m_manager; }
    DataStore& Store() { return m_store; }
    DeviceEvents& Events() { return m_events; }

    // A copy of the device state.
    DeviceState State() const;
    // Changes the device state under its lock; change must not call back into the context.
    void UpdateState(const std::function<void(DeviceState&)>& change);

    // The profile every store read and write goes to.
    ProfileId Profile() const;
    // Setting of the current profile as an integer; 0 when missing or not a number.
    int GetSettingInt(std::string_view key);
    // Stores value as "%d" under key for the current profile; logs a failure.
    void SetSettingInt(std::string_view key, int value);

    // After a failed command: only while the mouse is attached through a receiver, closes the
    // transient windows and shows the selected model on line through the receiver; the first
    // time (link-up flag clear) also shows caption 52, marks list line 101 and sets the flag.
    void HandleCommandFailure();

    // Writes a failure's log line (as LogLine does) and keeps it as the running task's reason
    // when the task has none yet, so the task's result names the first thing that went wrong.
    void LogFailure(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Keeps reason as the running task's reason when it has none yet, without a log line (for
    // failures a lower layer has logged already).
    void NoteFailure(std::string reason);
    // Forgets the reason kept so far (the worker calls it when a task starts).
    void ClearFailure();
    // The first reason kept since ClearFailure; empty when nothing failed.
    std::string FirstFailure() const;
    // Failures noted since the context was made (never cleared): a step compares it before
    // and after to learn whether anything inside it failed.
    size_t FailureCount() const;

    // Sleeps up to duration; returns early (false) once RequestStop was called.
    bool Wait(std::chrono::milliseconds duration);
    // Makes every current and later Wait return at once.
    void RequestStop();
    // Allows waiting again (when the worker is started anew).
    void ClearStop();
    // True after RequestStop.
    bool StopRequested() const { return m_stop.load(); }

  private:
    HidDeviceManager& m_manager;
    DataStore& m_store;
    DeviceEvents& m_events;

    mutable std::mutex m_stateMutex;
    DeviceState m_state;

    mutable std::mutex m_failureMutex;
    std::string m_firstFailure;
    size_t m_failureCount = 0;

    std::mutex m_waitMutex;
    std::condition_variable m_waitWake;
    std::atomic<bool> m_stop{false};
};

}  // namespace kestrix
