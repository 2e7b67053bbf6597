// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/Catalogue.h"
#include "device/CommandFrame.h"
#include "device/DeviceContext.h"
#include "device/DeviceMatching.h"
#include "device/SettingsReader.h"
#include "device/SettingsWriter.h"
#include "device/TaskQueue.h"
#include "platform/HotplugMonitor.h"

namespace kestrix {

class AppRegistry;
class DataStore;
class DeviceEvents;
class HidDeviceManager;

// What the worker needs from the program beyond the manager, the store and the observer.
struct DeviceWorkerConfig {
    std::vector<CatalogueLine> catalogueLines;  // filter list and the models' device_attr
    std::string programFolder;                  // model files (lighting page, defaults)
    std::string dataFolder;           // databases; empty = the caller opens the store itself
    AppRegistry* registry = nullptr;  // remembered model "DeviceType"; null = kept in memory
    std::function<std::string(int textId)> getLanText;  // profile names of new databases
};

// Work that later parts of the program plug in; an empty hook makes its task do nothing.
struct DeviceWorkerHooks {
    std::function<void()> applyPointerSettings;   // task 22
    std::function<void(DeviceTask task)> update;  // tasks 23, 24, 26
    std::function<void()> firmwareUpgrade;        // task 27 (the window is closed afterwards)
};

// How a task run with RunTask ended: ok, or the first failure's reason (its log line, or a
// short text when a lower layer logged it).
struct DeviceTaskResult {
    bool ok = true;
    std::string reason;  // empty when ok
};

// The device worker: the one thread that talks to the mouse. It takes DeviceTask codes from
// its queue one at a time, in order, and runs them; with an empty queue it sleeps until a task
// is queued or, with a device present, until the mouse sends an input report (DPI-change and
// receiver link reports), which it reads and applies through the observer. Idle, it wakes for
// nothing else.
class DeviceWorker {
  public:
    // The manager, store and observer must outlive the worker.
    DeviceWorker(HidDeviceManager& manager, DataStore& store, DeviceEvents& events,
                 DeviceWorkerConfig config, DeviceWorkerHooks hooks = {});
    // Stops the thread (waiting for the step in progress to end).
    ~DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    // Starts the thread; false when it is already running.
    bool Start();
    // Stops the thread: waits at most 1000 ms for it; false when it was still busy then (it
    // ends after its current exchange; the destructor waits for that). Queued tasks are
    // discarded.
    bool Stop();
    // True while the thread runs.
    bool IsRunning() const { return m_running.load(); }

    // Appends a task (any thread).
    void QueueTask(DeviceTask task);
    // Called on the worker thread with the outcome of a task queued with QueueTask(task, done).
    using TaskDone = std::function<void(const DeviceTaskResult& result)>;
    // Appends a task whose outcome done receives once it ran (any thread); when the worker
    // stops before running it, done receives a failure saying so (on the stopping thread), and
    // at once (on the calling thread) when the worker is not running.
    void QueueTask(DeviceTask task, TaskDone done);
    // Number of tasks waiting.
    size_t QueuedTasks() const { return m_queue.Size(); }

    // A hot-plug arrival or removal (any thread): queues task 2 or 3 when it concerns the
    // configuration interface of a supported mouse.
    void OnHotplug(DeviceEventType event, uint16_t vendorId, uint16_t productId,
                   int interfaceNumber, const std::string& path);
    // The same for an event of the udev hot-plug monitor (its thread may call this).
    void OnHotplug(const HotplugEvent& event);

    // A copy of the device state (any thread).
    DeviceState State() const { return m_context.State(); }
    // Changes the editor-owned parts of the device state (any thread): displayed stage count
    // and index, lighting effect, selected key, pending macro key.
    void UpdateState(const std::function<void(DeviceState&)>& change) {
        m_context.UpdateState(change);
    }

    // Runs one task now on the calling thread (tests and tools, worker not running). Not
    // ok when a command exchange of the task failed, when a read (tasks 1-4) found no mouse to
    // read or ReadAllSettings failed, when the worker was stopped during the task, or for a value
    // outside the task table. Hook tasks (22-27) and writes with nothing to send are ok.
    DeviceTaskResult RunTask(DeviceTask task);
    // One idle poll on the calling thread (worker not running); true when a report was handled.
    bool PollOnce();
    // Handles one input report of length bytes from the interface of model (tests, tools).
    void HandleReport(const ReportBuffer& report, size_t length, int model);

  private:
    void ThreadMain();
    // Sleeps until a task is queued or input waits; reads and handles that input.
    void WaitForWork();
    // Reads one input report as the idle worker does (the command interface, else the
    // receivers) with these time-outs and handles it; true when one was handled.
    bool ReadIdleInput(int commandTimeoutMs, int receiverTimeoutMs);
    bool Run(DeviceTask task);
    bool RebuildAndRead(std::chrono::milliseconds wait);
    bool RescanAndRead(std::chrono::milliseconds wait);
    bool RemovalRescan();
    bool ReadWithRefresh();
    // rebuild false: the device list was rebuilt just before, by the same task.
    void RescanDevices(bool rebuild = true);
    void SelectModel(int model);
    void RefreshPagesWithProfiles();
    void FirmwareUpgrade();
    // Handles, in order, the notifications an exchange found waiting before its request.
    void HandleDrainedNotifications();
    void HandleDpiChange(uint8_t stages);
    void HandleLinkReport(const ReportBuffer& report, int model);
    void ReadPendingLinkReport();
    int OnlineDeviceCount() const;
    void ShowDeviceState(int model, int mode, int state);
    const CatalogueLine* LineOfModel(int model) const;

    DeviceContext m_context;
    DeviceWorkerConfig m_config;
    DeviceWorkerHooks m_hooks;
    SettingsReader m_reader;
    SettingsWriter m_writer;
    TaskQueue m_queue;
    // One entry per queued task, in queue order (empty when nobody waits for the outcome);
    // pushed together with the task under m_doneMutex, taken when the task has run.
    std::mutex m_doneMutex;
    std::deque<TaskDone> m_done;

    // What the worker last told the device list, per model (1 = on line).
    std::map<int, int> m_listedStates;
    int m_rememberedModel = 0;  // without a registry
    int m_openedModel = 0;      // model whose database the store has open
    bool m_lostDeviceRescanQueued = false;
    bool m_lastWakeEmpty = false;  // the last wake for input found none

    std::thread m_thread;
    std::atomic<std::thread::id> m_workerId;  // set by the thread itself as it starts
    std::atomic<bool> m_running{false};
    std::mutex m_finishedMutex;
    std::condition_variable m_finishedWake;
    bool m_finished = true;
};

}  // namespace kestrix
