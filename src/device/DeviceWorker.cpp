// SPDX-License-Identifier: MIT
#include "device/DeviceWorker.h"

#include <poll.h>
#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceEvents.h"
#include "device/DeviceTask.h"
#include "device/HidDeviceManager.h"
#include "platform/AppRegistry.h"
#include "rules/EnsureProfiles.h"
#include "rules/PerformanceDefaults.h"
#include "rules/SensorDpiRules.h"
#include "store/DataStore.h"

namespace kestrix {

namespace {

using std::chrono::milliseconds;

// A one-off idle poll (PollOnce) waits this long on the command interface and this long on
// each receiver.
constexpr int kCommandPollTimeoutMs = 100;
constexpr int kReceiverPollTimeoutMs = 10;
// When an interface offers no descriptor to sleep on, or one reported input and yielded none
// (an emulated node is always "ready"), the idle worker reads what waits and then rests this
// long on the task queue alone, so it cannot spin; a queued task still ends the rest at once.
constexpr int kTimedSliceMs = 10;
constexpr auto kStopTimeout = milliseconds(1000);
constexpr auto kRemovalSettle = milliseconds(500);
constexpr auto kArrivalSettle = milliseconds(1);
constexpr auto kFirmwareWindowPause = milliseconds(100);

// Smallest reports the handlers read: DPI change [0xC2, stages]; link [0xC0, up, B, A].
constexpr size_t kDpiChangeLength = 2;
constexpr size_t kLinkReportLength = 4;

constexpr int kTabHome = 0;
constexpr int kTabFirstDevicePage = 1;

}  // namespace

DeviceWorker::DeviceWorker(HidDeviceManager& manager, DataStore& store, DeviceEvents& events,
                           DeviceWorkerConfig config, DeviceWorkerHooks hooks)
    : m_context(manager, store, events),
      m_config(std::move(config)),
      m_hooks(std::move(hooks)),
      m_reader(m_context),
      m_writer(m_context, m_reader, [this](bool dpiOnly) {
          const int model = m_context.State().selectedModel;
          const CatalogueLine* line = LineOfModel(model);
          if (line == nullptr || m_config.programFolder.empty()) {
              m_context.LogFailure("no model file for model %d; defaults not loaded", model);
              return false;
          }
          if (!LoadPerformanceDefaults(m_config.programFolder, line->model.deviceAttr,
                                       m_context.Store(), m_context.Profile(), dpiOnly)) {
              // The loader logged why; the task's reason names the model.
              m_context.NoteFailure(Format("defaults of model %d (%s) could not be loaded", model,
                                           line->model.deviceAttr.c_str()));
              return false;
          }
          return true;
      }) {}

DeviceWorker::~DeviceWorker() {
    Stop();
    if (m_thread.joinable()) m_thread.join();
}

bool DeviceWorker::Start() {
    if (m_running.load()) return false;
    if (m_thread.joinable()) m_thread.join();
    m_context.ClearStop();
    {
        std::lock_guard lock(m_finishedMutex);
        m_finished = false;
    }
    m_running = true;
    m_thread = std::thread([this] {
        m_workerId = std::this_thread::get_id();
        ThreadMain();
    });
    return true;
}

bool DeviceWorker::Stop() {
    if (!m_thread.joinable()) return true;
    m_running = false;
    m_context.RequestStop();
    m_queue.Interrupt();
    bool finished = false;
    {
        std::unique_lock lock(m_finishedMutex);
        finished = m_finishedWake.wait_for(lock, kStopTimeout, [this] { return m_finished; });
    }
    std::deque<TaskDone> dropped;
    {
        std::lock_guard lock(m_doneMutex);
        m_queue.Clear();
        dropped.swap(m_done);
    }
    for (const TaskDone& done : dropped) {
        if (done) done({false, "the device worker stopped before running the task"});
    }
    if (!finished) {
        LogLine("device worker still busy after %lld ms; left to finish its exchange",
                static_cast<long long>(kStopTimeout.count()));
        return false;
    }
    m_thread.join();
    return true;
}

void DeviceWorker::QueueTask(DeviceTask task) { QueueTask(task, {}); }

void DeviceWorker::QueueTask(DeviceTask task, TaskDone done) {
    {
        std::lock_guard lock(m_doneMutex);
        // Stop clears the queue under this lock after m_running fell: a task queued before that
        // gets its failure from Stop, one queued after it gets it here, never a silent wait.
        if (m_running.load() || !done) {
            m_done.push_back(std::move(done));
            m_queue.Push(task);
            return;
        }
    }
    done({false, "the device worker is not running"});
}

void DeviceWorker::OnHotplug(DeviceEventType event, uint16_t vendorId, uint16_t productId,
                             int interfaceNumber, const std::string& path) {
    HidBackend& backend = m_context.Manager().Backend();
    const std::optional<DeviceTask> task = UpdateUSBDevice(
        event, vendorId, productId, interfaceNumber, path, m_config.catalogueLines,
        m_context.State().devicePresent,
        [&backend](const std::string& p) { return IsConfigurationInterface(backend, p); });
    if (task) QueueTask(*task);
}

void DeviceWorker::OnHotplug(const HotplugEvent& event) {
    OnHotplug(event.action == HotplugEvent::Action::Arrival ? DeviceEventType::Arrival
                                                            : DeviceEventType::RemoveComplete,
              event.vendorId, event.productId, event.interfaceNumber, event.nodePath);
}

void DeviceWorker::ThreadMain() {
    // Named so that profilers and the idle benchmark can tell it apart.
    pthread_setname_np(pthread_self(), "kestrix-worker");
    while (m_running.load()) {
        // Cleared before the pop: a task queued after this point makes the wait return.
        m_queue.ClearWake();
        DeviceTask task = DeviceTask::Nothing;
        if (m_queue.TryPop(task)) {
            RunTask(task);
            // A task may have replaced the interfaces; watch the new ones afresh.
            m_lastWakeEmpty = false;
            continue;
        }
        WaitForWork();
    }
    {
        std::lock_guard lock(m_finishedMutex);
        m_finished = true;
    }
    m_finishedWake.notify_all();
}

void DeviceWorker::WaitForWork() {
    // The worker sleeps in poll() until a task is queued (or Stop), or until an input report
    // waits on an interface it reads while idle; nothing wakes it otherwise.
    const std::vector<HidDevice*> inputs = m_context.State().devicePresent
                                               ? m_context.Manager().IdleInputInterfaces()
                                               : std::vector<HidDevice*>();
    std::vector<pollfd> fds{{m_queue.WakeDescriptor(), POLLIN, 0}};
    bool waitable = fds[0].fd >= 0;
    for (HidDevice* input : inputs) {
        const int fd = input->WaitDescriptor();
        if (fd < 0) waitable = false;
        fds.push_back({fd, POLLIN, 0});
    }
    if (!waitable) {
        // Something offers no descriptor: rest a slice (a queued task ends it), then read
        // whatever waits without waiting for more.
        if (fds[0].fd >= 0) {
            ::poll(fds.data(), 1, kTimedSliceMs);
        } else {
            std::this_thread::sleep_for(milliseconds(kTimedSliceMs));
        }
        if (!m_running.load() || inputs.empty() || fds[0].revents != 0) return;
        ReadIdleInput(0, 0);
        HandleDrainedNotifications();
        return;
    }
    int ready = 0;
    if (m_lastWakeEmpty && !inputs.empty()) {
        // The last wake for input found none: rest a slice on the queue alone, then look at
        // the interfaces without waiting. One that is not ready now behaves, and the next wait
        // sleeps on it again.
        if (::poll(fds.data(), 1, kTimedSliceMs) != 0) return;
        ready = ::poll(fds.data(), fds.size(), 0);
        if (ready == 0) m_lastWakeEmpty = false;
    } else {
        ready = ::poll(fds.data(), fds.size(), -1);
    }
    if (ready < 0) {
        if (errno != EINTR) {
            LogLine("device worker: poll failed: %s", std::strerror(errno));
            std::this_thread::sleep_for(milliseconds(kTimedSliceMs));
        }
        return;
    }
    // A queued task goes first; the input stays readable for the next wait.
    if (!m_running.load() || fds[0].revents != 0) return;
    if (std::none_of(fds.begin() + 1, fds.end(), [](const pollfd& fd) { return fd.revents != 0; }))
        return;
    m_lastWakeEmpty = !ReadIdleInput(0, 0);
    HandleDrainedNotifications();
}

void DeviceWorker::HandleDrainedNotifications() {
    HidDeviceManager& manager = m_context.Manager();
    // A link report can start a read, whose exchanges may set more aside; a bound keeps a
    // device that floods notifications from holding the worker.
    constexpr int kMostRounds = 8;
    for (int round = 0; round < kMostRounds; ++round) {
        const std::vector<InputReport> reports = manager.TakeNotifications();
        if (reports.empty()) return;
        for (const InputReport& report : reports) {
            HandleReport(report.bytes, report.length, m_context.State().selectedModel);
        }
    }
}

DeviceTaskResult DeviceWorker::RunTask(DeviceTask task) {
    m_context.ClearFailure();
    const size_t failuresBefore = m_context.FailureCount();
    DeviceTaskResult result;
    // A step that failed inside a task that carries on (a read whose mouse was pulled half-way
    // reads the remaining steps, each failing) still makes the task fail.
    result.ok = Run(task) && m_context.FailureCount() == failuresBefore;
    HandleDrainedNotifications();
    if (!result.ok) {
        result.reason = m_context.FirstFailure();
        if (result.reason.empty())
            result.reason = Format("device task %d failed", TaskNumber(task));
    }
    // On the worker thread this was a queued task: whoever queued it may wait for the outcome.
    if (m_workerId.load() == std::this_thread::get_id()) {
        TaskDone done;
        {
            std::lock_guard lock(m_doneMutex);
            if (!m_done.empty()) {
                done = std::move(m_done.front());
                m_done.pop_front();
            }
        }
        if (done) done(result);
    }
    return result;
}

bool DeviceWorker::Run(DeviceTask task) {
    switch (task) {
        case DeviceTask::RebuildAndRead:
            return RebuildAndRead(milliseconds(0));
        case DeviceTask::ArrivalRebuildAndRead:
            return RebuildAndRead(kArrivalSettle);
        case DeviceTask::RemovalRescan:
            return RemovalRescan();
        case DeviceTask::ReadWithRefresh:
            return ReadWithRefresh();
        case DeviceTask::WriteAll:
            return m_writer.WriteAll();
        case DeviceTask::WriteButtons:
            return m_writer.WriteButtons();
        case DeviceTask::SelectedButtonReport:
            return m_writer.SendSelectedButtonReport();
        case DeviceTask::WriteLighting:
            return m_writer.WriteLighting();
        case DeviceTask::WriteDpiStages:
            return m_writer.WriteDpiStages();
        case DeviceTask::WriteDpiColours:
            return m_writer.WriteDpiColours();
        case DeviceTask::WriteReportRate:
            return m_writer.WriteReportRate();
        case DeviceTask::WriteLiftOffAndSensor:
            return m_writer.WriteLiftOffAndSensor();
        case DeviceTask::WriteSleepOptions:
            return m_writer.WriteSleepOptions();
        case DeviceTask::RestoreLighting:
            return m_writer.RestoreLighting();
        case DeviceTask::ResetDpi:
            return m_writer.ResetDpi();
        case DeviceTask::RestoreFactory:
            return m_writer.RestoreFactory();
        // The hooks report their outcome through their own observers; the task itself is done.
        case DeviceTask::PointerSettings:
            if (m_hooks.applyPointerSettings) m_hooks.applyPointerSettings();
            return true;
        case DeviceTask::UpdateCheck:
        case DeviceTask::FirmwareCheck:
        case DeviceTask::UpdateDownload:
            if (m_hooks.update) m_hooks.update(task);
            return true;
        case DeviceTask::FirmwareUpgrade:
            FirmwareUpgrade();
            return true;
        case DeviceTask::Nothing:
            return true;
    }
    // A code outside the table does nothing, and says so to whoever asked for it.
    m_context.NoteFailure(Format("unknown device task %d", TaskNumber(task)));
    return false;
}

bool DeviceWorker::RebuildAndRead(milliseconds wait) {
    RebuildWithCatalogue(m_context.Manager(), m_config.catalogueLines);
    m_context.Events().RefreshDevicePages();
    return RescanAndRead(wait);
}

// Works from the list the task has just built: one identity scan per task.
bool DeviceWorker::RescanAndRead(milliseconds wait) {
    if (!m_context.Wait(wait)) {
        m_context.NoteFailure("the device worker was stopped before the rescan");
        return false;
    }
    m_context.UpdateState([](DeviceState& s) { s.mouseOnline = 0; });
    RescanDevices(false);
    if (m_context.Manager().GetConnectionKind() == ConnectionKind::None) {
        m_context.NoteFailure("no supported mouse answers");
        return false;
    }
    RefreshPagesWithProfiles();
    if (m_reader.ReadAllSettings()) {
        RefreshPagesWithProfiles();
        m_context.Events().ReapplyPageState();
        // A mouse just read may have newer firmware on the server.
        if (m_hooks.update) m_hooks.update(DeviceTask::FirmwareCheck);
        return true;
    }
    LogLine("reading the mouse after the rescan failed");
    return false;
}

bool DeviceWorker::RemovalRescan() {
    if (!m_context.Wait(kRemovalSettle)) {
        m_context.NoteFailure("the device worker was stopped before the rescan");
        return false;
    }
    m_context.UpdateState([](DeviceState& s) { s.mouseOnline = 0; });
    RescanDevices();
    // With the mouse gone there is nothing left to read: the rescan did all there was to do.
    if (m_context.Manager().GetConnectionKind() == ConnectionKind::None) return true;
    if (!m_reader.ReadAllSettings()) return false;
    m_context.Events().RefreshEditorPages();
    return true;
}

bool DeviceWorker::ReadWithRefresh() {
    RefreshPagesWithProfiles();
    const bool read = m_reader.ReadAllSettings();
    RefreshPagesWithProfiles();
    return read;
}

void DeviceWorker::RefreshPagesWithProfiles() {
    DataStore& store = m_context.Store();
    if (store.IsOpened()) {
        const CatalogueLine* line = LineOfModel(m_context.State().selectedModel);
        EnsureProfiles(
            store, m_config.programFolder, line != nullptr ? line->model.deviceAttr : std::string(),
            m_config.getLanText ? m_config.getLanText : [](int) { return std::string(); });
    }
    m_context.Events().RefreshEditorPages();
}

void DeviceWorker::FirmwareUpgrade() {
    if (m_hooks.firmwareUpgrade) m_hooks.firmwareUpgrade();
    if (!m_context.Wait(kFirmwareWindowPause)) return;
    m_context.Events().CloseFirmwareWindow();
    m_context.Wait(kFirmwareWindowPause);
}

const CatalogueLine* DeviceWorker::LineOfModel(int model) const {
    for (const CatalogueLine& line : m_config.catalogueLines) {
        if (line.model.deviceType == model) return &line;
    }
    return nullptr;
}

void DeviceWorker::ShowDeviceState(int model, int mode, int state) {
    m_listedStates[model] = state;
    m_context.Events().SetDeviceState(model, mode, state);
}

int DeviceWorker::OnlineDeviceCount() const {
    return static_cast<int>(std::count_if(m_listedStates.begin(), m_listedStates.end(),
                                          [](const auto& s) { return s.second == 1; }));
}

void DeviceWorker::RescanDevices(bool rebuild) {
    HidDeviceManager& manager = m_context.Manager();
    DeviceEvents& events = m_context.Events();
    const int remembered = m_config.registry != nullptr
                               ? m_config.registry->ReadAppRegistryInt(kDeviceTypeValue)
                               : m_rememberedModel;
    const RescanResult result = kestrix::RescanDevices(manager, remembered, rebuild);

    events.SetAllDeviceState(0);
    for (auto& listed : m_listedStates) listed.second = 0;
    for (const HidDeviceEntryView& entry : result.entries) {
        if (entry.modelNumber <= 0) continue;
        ShowDeviceState(entry.modelNumber, entry.mode, entry.linkState);
        events.SetDeviceVersion(entry.modelNumber, entry.releaseNumber);
    }
    if (result.anyIdentified) {
        // The remembered model when it is attached, else the first attached one.
        int chosen = 0;
        for (const HidDeviceEntryView& entry : result.entries) {
            if (entry.modelNumber == remembered) chosen = remembered;
        }
        for (const HidDeviceEntryView& entry : result.entries) {
            if (chosen == 0 && entry.modelNumber > 0) chosen = entry.modelNumber;
        }
        SelectModel(chosen);
    }
    if (!result.entries.empty()) {
        m_context.UpdateState([](DeviceState& s) { s.devicePresent = true; });
        switch (manager.GetConnectionKind()) {
            case ConnectionKind::None:
                events.SetCaption(kCaptionNoDevice);
                events.SelectTab(kTabHome);
                events.ShowDevicePages(false);
                break;
            case ConnectionKind::Cable:
                events.SetCaption(kCaptionCable);
                events.ShowDevicePages(true);
                break;
            case ConnectionKind::Receiver:
                events.SetCaption(kCaptionReceiver);
                events.ShowDevicePages(true);
                break;
        }
    } else {
        m_context.UpdateState([](DeviceState& s) {
            s.devicePresent = false;
            s.linkUp = false;
        });
        events.SetCaption(kCaptionNoDevice);
        events.SelectTab(kTabHome);
        events.ShowDevicePages(false);
    }
    events.CloseTransientWindows();
}

void DeviceWorker::SelectModel(int model) {
    m_context.UpdateState([model](DeviceState& s) { s.selectedModel = model; });
    m_context.Manager().SetSelectedModel(model);
    if (m_config.registry != nullptr) {
        m_config.registry->WriteAppRegistryString(kDeviceTypeValue, Format("%d", model));
    } else {
        m_rememberedModel = model;
    }
    const CatalogueLine* line = LineOfModel(model);
    if (line != nullptr && model != m_openedModel) {
        m_openedModel = model;
        if (!m_config.programFolder.empty()) {
            DeviceDefinition definition;
            const bool loaded =
                LoadDeviceDefinition(m_config.programFolder, line->model.deviceAttr, definition);
            m_context.UpdateState(
                [&](DeviceState& s) { s.lightingPage = loaded && definition.lightingPage; });
        }
        if (!m_config.dataFolder.empty()) {
            DataStore& store = m_context.Store();
            store.Close();
            if (!store.OpenForModel(m_config.dataFolder, line->model.deviceAttr)) {
                LogLine("database of model %d (%s) could not be opened; working without it", model,
                        line->model.deviceAttr.c_str());
            }
        }
    }
    m_context.Events().SelectDevice(model);
    m_context.Events().RefreshDevicePages();
}

bool DeviceWorker::PollOnce() {
    return ReadIdleInput(kCommandPollTimeoutMs, kReceiverPollTimeoutMs);
}

bool DeviceWorker::ReadIdleInput(int commandTimeoutMs, int receiverTimeoutMs) {
    HidDeviceManager& manager = m_context.Manager();
    ReportBuffer report{};
    int model = m_context.State().selectedModel;
    HidDevice* device = manager.GetCommandInterface();
    if (device == nullptr) {
        // Receivers without a linked mouse: the manager reads each and applies a link report's
        // identity to its entry.
        if (!manager.PollDeviceInput(report, model, receiverTimeoutMs)) return false;
        HandleReport(report, report.size(), model);
        return true;
    }
    const int read = device->ReadTimeout(report.data(), kLongWrite, commandTimeoutMs);
    if (read > 0) {
        m_lostDeviceRescanQueued = false;
        HandleReport(report, static_cast<size_t>(read), model);
        return true;
    }
    if (read < 0 && !m_lostDeviceRescanQueued) {
        LogLine("input poll on %s failed; the device is rescanned", device->Path().c_str());
        m_lostDeviceRescanQueued = true;
        QueueTask(DeviceTask::RemovalRescan);
    }
    return false;
}

void DeviceWorker::HandleReport(const ReportBuffer& report, size_t length, int model) {
    if (report[0] != 0) {
        LogLine("mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1], report[2],
                report[3], report[4], report[5]);
    }
    if (report[0] == kDpiChangeReport) {
        if (length < kDpiChangeLength) {
            LogLine("DPI-change report of %zu bytes ignored", length);
            return;
        }
        HandleDpiChange(report[1]);
    } else if (report[0] == kLinkReport) {
        if (length < kLinkReportLength) {
            LogLine("link report of %zu bytes ignored", length);
            return;
        }
        HandleLinkReport(report, model);
    }
}

void DeviceWorker::HandleDpiChange(uint8_t stages) {
    const int count = stages & 0x0F;
    const int index = stages >> 4;
    DeviceEvents& events = m_context.Events();
    bool countChanged = false;
    bool indexChanged = false;
    int sensorCode = 0;
    m_context.UpdateState([&](DeviceState& s) {
        countChanged = s.stageCount != count;
        indexChanged = s.stageIndex != index;
        s.stageCount = static_cast<uint8_t>(count);
        s.stageIndex = static_cast<uint8_t>(index);
        sensorCode = s.sensorCode;
    });
    if (countChanged) {
        events.SelectStageCount(count);
        m_context.SetSettingInt("dpi_count", count);
        events.RefreshDpiPage();
    }
    if (indexChanged) {
        events.SelectStageIndex(index);
        m_context.SetSettingInt("dpi_index", index);
        const int dpi = m_context.GetSettingInt(Format("dpi_group%d_value", index));
        events.SetDpiSliderPosition(SensorDpiRules::ForSensor(sensorCode).DpiToSlider(dpi));
        events.ShowDpiIndicator(dpi);
    }
}

void DeviceWorker::HandleLinkReport(const ReportBuffer& report, int model) {
    DeviceEvents& events = m_context.Events();
    HidDeviceManager& manager = m_context.Manager();
    LogLine("link report: connected %d, battery %d/%d", report[1], report[2], report[3]);
    events.CloseTransientWindows();
    const bool connected = report[1] == 1;
    const bool linkUp = m_context.State().linkUp;
    if (connected && !linkUp) {
        m_context.UpdateState([](DeviceState& s) { s.linkUp = true; });
        const bool receiver = manager.GetConnectionKind() == ConnectionKind::Receiver;
        const int mode = receiver ? 1 : 0;
        events.ShowDevicePages(true);
        events.SetCaption(receiver ? kCaptionReceiver : kCaptionCable);
        ShowDeviceState(model, mode, 1);
        manager.SetLinkState(model, mode, kLinkUp);
        events.ShowNoDevicePanel(false);
        events.SelectTab(kTabFirstDevicePage);
        events.RefreshEditorPages();
        if (m_reader.ReadAllOnConnect()) {
            events.RefreshEditorPages();
            events.ReapplyPageState();
        }
    } else if (!connected && linkUp) {
        m_context.UpdateState([](DeviceState& s) { s.linkUp = false; });
        events.SetCaption(kCaptionNoDevice);
        events.SelectTab(kTabHome);
        events.ShowDevicePages(false);
        events.ShowNoDevicePanel(true);
        ShowDeviceState(model, 1, 0);
        manager.SetLinkState(model, 1, kLinkDown);
        ReadPendingLinkReport();
        events.StopMacroRecording();
        events.ShowNoDevicePanel(OnlineDeviceCount() < 1);
    }
    if (report[2] != 0) events.SetBatteryInfo(report[2], report[3]);
}

void DeviceWorker::ReadPendingLinkReport() {
    // A link report already waiting on the receiver updates the link state of its entries;
    // the manager's receiver poll does exactly that. With a cabled mouse of the same model
    // there is no receiver to ask.
    HidDeviceManager& manager = m_context.Manager();
    if (manager.GetCommandInterface() != nullptr) return;
    ReportBuffer pending{};
    int model = 0;
    manager.PollDeviceInput(pending, model);
}

}  // namespace kestrix
