// SPDX-License-Identifier: MIT
// The device worker end to end: tasks, input reports, hot-plug and the thread.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "device/DeviceTask.h"
#include "device/WorkerTestBench.h"
#include "rules/SensorDpiRules.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;
using testing::LogRecorder;
using testing::TraceRecorder;
using testing::WaitFor;
using testing::WorkerBench;
using testing::WritesOf;

constexpr DeviceTask kRebuild = DeviceTask::RebuildAndRead;

TEST(DeviceWorker, DpiChangeReportSelectsAndStoresTheStage) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    bench.worker->UpdateState([](DeviceState& s) {
        s.stageCount = 4;
        s.stageIndex = 1;
    });
    bench.events.Clear();
    bench.sim.Device("vireo-cable")->InjectReport({0xC2, 0x31});
    ASSERT_TRUE(bench.worker->PollOnce());

    const int dpi = bench.Setting("dpi_group3_value");
    const int slider = SensorDpiRules::ForSensor(53).DpiToSlider(dpi);
    EXPECT_EQ(
        bench.events.Calls(),
        (std::vector<std::string>{"SelectStageCount(1)", "RefreshDpiPage", "SelectStageIndex(3)",
                                  Format("SetDpiSliderPosition(%d)", slider),
                                  Format("ShowDpiIndicator(%d)", dpi)}));
    EXPECT_EQ(bench.Setting("dpi_count"), 1);
    EXPECT_EQ(bench.Setting("dpi_index"), 3);

    // The same report again changes nothing.
    bench.events.Clear();
    bench.sim.Device("vireo-cable")->InjectReport({0xC2, 0x31});
    ASSERT_TRUE(bench.worker->PollOnce());
    EXPECT_TRUE(bench.events.Calls().empty());
}

TEST(DeviceWorker, ReportsShorterThanTheirFieldsAreIgnored) {
    WorkerBench bench("harrier_pro-receiver");
    bench.worker->RunTask(kRebuild);
    bench.events.Clear();
    LogRecorder log;
    for (const SimReport& report :
         {SimReport{0xC2}, SimReport{0xC0}, SimReport{0xC0, 0x01, 0x50}}) {
        bench.sim.Device("harrier_pro-receiver")->InjectReport(report);
        ASSERT_TRUE(bench.worker->PollOnce());
    }
    EXPECT_TRUE(bench.events.Calls().empty());
    EXPECT_EQ(log.CountStartingWith("link report of"), 2u);
    EXPECT_FALSE(bench.worker->State().linkUp);
}

TEST(DeviceWorker, LinkReportsBringTheReceiverMouseUpAndDown) {
    WorkerBench bench("harrier_pro-receiver");
    bench.worker->RunTask(kRebuild);
    const auto receiver = bench.sim.Device("harrier_pro-receiver");
    bench.events.Clear();

    receiver->InjectReport({0xC0, 0x01, 0x50, 0x01});
    ASSERT_TRUE(bench.worker->PollOnce());
    EXPECT_TRUE(bench.events.ContainsInOrder(
        {"CloseTransientWindows", "ShowDevicePages(1)", "SetCaption(52)", "SetDeviceState(201,1,1)",
         "ShowNoDevicePanel(0)", "SelectTab(1)", "RefreshEditorPages",
         "SetDpiSliderRange(100,32000,640)", "RefreshEditorPages", "ReapplyPageState",
         "SetBatteryInfo(80,1)"}));
    EXPECT_TRUE(bench.worker->State().linkUp);

    // A second connected report only updates the battery.
    bench.events.Clear();
    receiver->InjectReport({0xC0, 0x01, 0x40, 0x00});
    ASSERT_TRUE(bench.worker->PollOnce());
    EXPECT_EQ(bench.events.Calls(),
              (std::vector<std::string>{"CloseTransientWindows", "SetBatteryInfo(64,0)"}));

    // Battery level 0 means "not given": the indicator stays.
    bench.events.Clear();
    receiver->InjectReport({0xC0, 0x01, 0x00, 0x05});
    ASSERT_TRUE(bench.worker->PollOnce());
    EXPECT_EQ(bench.events.Calls(), (std::vector<std::string>{"CloseTransientWindows"}));

    // The mouse switched off.
    bench.events.Clear();
    receiver->Receiver()->SetMouseOn(false);
    ASSERT_TRUE(bench.worker->PollOnce());
    EXPECT_TRUE(bench.events.ContainsInOrder({"CloseTransientWindows", "SetCaption(50)",
                                              "SelectTab(0)", "ShowDevicePages(0)",
                                              "ShowNoDevicePanel(1)", "SetDeviceState(201,1,0)",
                                              "StopMacroRecording", "ShowNoDevicePanel(1)"}));
    EXPECT_FALSE(bench.worker->State().linkUp);

    // Switched on again: connected once more, and read again (a new run would read; this
    // one has read the model already, so only the identity is applied).
    bench.events.Clear();
    receiver->Receiver()->SetMouseOn(true);
    ASSERT_TRUE(bench.worker->PollOnce());
    EXPECT_TRUE(bench.worker->State().linkUp);
    EXPECT_EQ(bench.events.Count("SetCaption(52)"), 1u);
}

TEST(DeviceWorker, NotificationWithStatusByteZeroNeverLeavesTheReceiverWithoutIdentity) {
    // A receiver's mouse drops out and comes back while the worker is busy: its link-down
    // report (byte 1 = 0) waits in front of an answer. Taken for that answer it would leave
    // the real answer behind for the next exchange; met by the identity query of a rescan
    // it would wipe the identity, so no command could reach a mouse that is linked.
    struct Case {
        const char* name;
        bool writeFirst;  // the stray report meets a write rather than the rescan's identity query
        SimReport stray;
    };
    const Case cases[] = {
        {"link-down report before the rescan", false, {0xC0, 0x00, 0x00, 0x00}},
        {"link-down report before a write", true, {0xC0, 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WorkerBench bench("harrier_pro-receiver");
        ASSERT_TRUE(bench.worker->RunTask(kRebuild).ok);
        const auto receiver = bench.sim.Device("harrier_pro-receiver");
        const auto mouse = receiver->Mouse();
        receiver->InjectReport(c.stray);
        if (c.writeFirst) {
            EXPECT_TRUE(bench.worker->RunTask(DeviceTask::WriteDpiColours).ok);
        }
        receiver->InjectReport({0xC0, 0x01, 0x50, 0x01});
        ASSERT_TRUE(bench.worker->RunTask(DeviceTask::RemovalRescan).ok);

        const auto entries = bench.sim.manager->ListEntries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].identityCode, "HP1R");
        EXPECT_EQ(entries[0].modelNumber, 201);
        EXPECT_EQ(entries[0].identityAnswer[0], command::kIdentity);
        ASSERT_NE(bench.sim.manager->GetCommandInterface(), nullptr);

        // Every later exchange gets its own answer, and the writes reach the mouse.
        TraceRecorder trace;
        EXPECT_TRUE(bench.worker->RunTask(DeviceTask::WriteDpiStages).ok);
        EXPECT_TRUE(bench.worker->RunTask(DeviceTask::WriteButtons).ok);
        EXPECT_EQ(mouse->CommandCount(command::kDpiStages), 1);
        EXPECT_EQ(mouse->CommandCount(command::kButtons), 1);
        std::vector<std::string> answers;
        for (const std::string& line : trace.Lines()) {
            if (line[0] == 'R') answers.push_back(line.substr(line.find(' ', 2) + 1, 5));
        }
        EXPECT_EQ(answers, (std::vector<std::string>{"03 00", "09 00"}));
    }
}

TEST(DeviceWorker, TasksRunOneAtATimeInQueueOrder) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    TraceRecorder trace;
    ASSERT_TRUE(bench.worker->Start());
    bench.worker->QueueTask(DeviceTask::WriteDpiStages);
    bench.worker->QueueTask(DeviceTask::WriteDpiColours);
    ASSERT_TRUE(WaitFor([&] { return WritesOf(trace, 0x04).size() == 1; }));
    ASSERT_TRUE(bench.worker->Stop());

    // Write 0x03, its answer, then write 0x04: nothing in between on the wire.
    std::vector<std::string> exchange;
    for (const std::string& line : trace.Lines()) {
        const std::string bytes = line.substr(line.find(' ', 2) + 1);
        if (line[0] == 'W') exchange.push_back("W " + bytes.substr(3, 2));
        if (line[0] == 'R') exchange.push_back("R " + bytes.substr(0, 5));
    }
    EXPECT_EQ(exchange, (std::vector<std::string>{"W 03", "R 03 00", "W 04", "R 04 00"}));
}

// The running worker sleeps until input arrives: what a cabled mouse and a receiver send
// while it idles is handled, and a pulled mouse (its descriptor turns readable with a failed
// read) is noticed and rescanned, all without a task to wake it.
TEST(DeviceWorker, SleepingWorkerWakesForInputFromCableAndReceiverAndForAPull) {
    {
        WorkerBench bench("vireo");
        bench.worker->RunTask(kRebuild);
        bench.events.Clear();
        ASSERT_TRUE(bench.worker->Start());
        std::this_thread::sleep_for(20ms);
        bench.sim.Device("vireo-cable")->InjectReport({0xC2, 0x31});
        EXPECT_TRUE(WaitFor([&] { return bench.events.Count("SelectStageIndex(3)") == 1; }));
        bench.sim.Device("vireo-cable")->Unplug();
        EXPECT_TRUE(WaitFor([&] { return bench.events.Count("SetCaption(50)") == 1; }));
        EXPECT_TRUE(bench.worker->Stop());
    }
    WorkerBench bench("receiver-off");
    bench.worker->RunTask(kRebuild);
    bench.events.Clear();
    ASSERT_TRUE(bench.worker->Start());
    std::this_thread::sleep_for(20ms);
    bench.sim.Device("harrier_pro-receiver")->Receiver()->SetMouseOn(true);
    EXPECT_TRUE(WaitFor([&] { return bench.worker->State().linkUp; }));
    EXPECT_TRUE(bench.worker->Stop());
}

// A caller waiting for a queued task's outcome always gets one: the task's own, in queue order
// behind tasks without a waiter; a failure when the worker stops first or is not running.
TEST(DeviceWorker, QueuedTasksHandTheirOutcomeToWhoeverWaits) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    std::mutex mutex;
    std::vector<std::string> outcomes;
    auto record = [&](std::string name) {
        return [&, name](const DeviceTaskResult& result) {
            std::lock_guard lock(mutex);
            outcomes.push_back(name + (result.ok ? " ok" : " failed: " + result.reason));
        };
    };
    bench.worker->QueueTask(DeviceTask::WriteReportRate, record("before start"));
    ASSERT_TRUE(bench.worker->Start());
    bench.worker->QueueTask(DeviceTask::WriteDpiStages);
    bench.worker->QueueTask(DeviceTask::WriteDpiColours, record("colours"));
    bench.worker->QueueTask(DeviceTask::Nothing, record("nothing"));
    ASSERT_TRUE(WaitFor([&] {
        std::lock_guard lock(mutex);
        return outcomes.size() == 3;
    }));
    bench.worker->QueueTask(DeviceTask::RemovalRescan);  // waits 500 ms first
    bench.worker->QueueTask(DeviceTask::WriteAll, record("stopped"));
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(bench.worker->Stop());
    bench.worker->QueueTask(DeviceTask::WriteAll, record("after stop"));
    EXPECT_EQ(outcomes,
              (std::vector<std::string>{
                  "before start failed: the device worker is not running", "colours ok",
                  "nothing ok", "stopped failed: the device worker stopped before running the task",
                  "after stop failed: the device worker is not running"}));
}

TEST(DeviceWorker, IdleWorkerWithoutDeviceReadsNothing) {
    WorkerBench bench("none");
    TraceRecorder trace;
    ASSERT_TRUE(bench.worker->Start());
    bench.worker->QueueTask(kRebuild);
    ASSERT_TRUE(WaitFor([&] { return bench.events.Count("SetCaption(50)") == 1; }));
    std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(bench.worker->Stop());
    EXPECT_FALSE(bench.worker->State().devicePresent);
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_TRUE(
        bench.events.ContainsInOrder({"SetAllDeviceState(0)", "SetCaption(50)", "SelectTab(0)",
                                      "ShowDevicePages(0)", "CloseTransientWindows"}));
}

TEST(DeviceWorker, StopReturnsWithinASecondEvenDuringAWait) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    ASSERT_TRUE(bench.worker->Start());
    bench.worker->QueueTask(DeviceTask::RemovalRescan);  // waits 500 ms first
    std::this_thread::sleep_for(20ms);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_TRUE(bench.worker->Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 1000ms);
    EXPECT_FALSE(bench.worker->IsRunning());
    // Started again, it works as before.
    ASSERT_TRUE(bench.worker->Start());
    bench.worker->QueueTask(DeviceTask::WriteReportRate);
    EXPECT_TRUE(WaitFor([&] { return bench.worker->QueuedTasks() == 0; }));
    EXPECT_TRUE(bench.worker->Stop());
}

TEST(DeviceWorker, DeviceRemovedDuringATaskEndsItAndIsRescanned) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    const auto device = bench.sim.Device("vireo-cable");
    SimFaults faults;
    faults.removeOnNextRequest = true;
    device->SetFaults(faults);
    LogRecorder log;
    bench.worker->RunTask(DeviceTask::WriteAll);
    EXPECT_FALSE(device->IsPlugged());
    EXPECT_TRUE(log.Contains("failed"));

    // The next idle poll notices and queues the rescan, which finds nothing.
    EXPECT_FALSE(bench.worker->PollOnce());
    EXPECT_EQ(bench.worker->QueuedTasks(), 1u);
    bench.events.Clear();
    bench.worker->RunTask(DeviceTask::RemovalRescan);
    EXPECT_FALSE(bench.worker->State().devicePresent);
    EXPECT_TRUE(bench.events.ContainsInOrder(
        {"SetAllDeviceState(0)", "SetCaption(50)", "ShowDevicePages(0)"}));
}

TEST(DeviceWorker, HotplugQueuesArrivalAndRemovalOfTheConfigurationInterface) {
    WorkerBench bench("vireo");
    const auto device = bench.sim.Device("vireo-cable");
    bench.worker->OnHotplug(DeviceEventType::Arrival, 0x1209, 0x5A01, 0, device->PathOf(0));
    EXPECT_EQ(bench.worker->QueuedTasks(), 0u);
    bench.worker->OnHotplug(DeviceEventType::Arrival, 0x1209, 0x5A01, 2, device->PathOf(2));
    EXPECT_EQ(bench.worker->QueuedTasks(), 1u);
    // Removal only counts while a device is present, and only for interface 2.
    bench.worker->OnHotplug(DeviceEventType::RemoveComplete, 0x1209, 0x5A01, 2, device->PathOf(2));
    EXPECT_EQ(bench.worker->QueuedTasks(), 1u);
    bench.worker->RunTask(kRebuild);
    bench.worker->OnHotplug(DeviceEventType::RemoveComplete, 0x1209, 0x5A01, 0, device->PathOf(0));
    bench.worker->OnHotplug(DeviceEventType::RemoveComplete, 0x1234, 0x5678, 2, "sim/other/if2");
    EXPECT_EQ(bench.worker->QueuedTasks(), 1u);
    HotplugEvent removal;
    removal.action = HotplugEvent::Action::Removal;
    removal.vendorId = 0x1209;
    removal.productId = 0x5A01;
    removal.interfaceNumber = 2;
    removal.nodePath = device->PathOf(2);
    bench.worker->OnHotplug(removal);
    EXPECT_EQ(bench.worker->QueuedTasks(), 2u);
}

TEST(DeviceWorker, LaterTasksCallTheirHooks) {
    std::vector<int> calls;
    DeviceWorkerHooks hooks;
    hooks.applyPointerSettings = [&] { calls.push_back(22); };
    hooks.update = [&](DeviceTask task) { calls.push_back(TaskNumber(task)); };
    hooks.firmwareUpgrade = [&] { calls.push_back(27); };
    WorkerBench bench("none", hooks);
    for (DeviceTask task :
         {DeviceTask::PointerSettings, DeviceTask::UpdateCheck, DeviceTask::FirmwareCheck,
          DeviceTask::UpdateDownload, DeviceTask::FirmwareUpgrade, DeviceTask::Nothing})
        EXPECT_TRUE(bench.worker->RunTask(task).ok) << TaskNumber(task);
    // A value outside the table (only a cast makes one) does nothing and says so.
    for (int number : {99, 0, -4})
        EXPECT_EQ(bench.worker->RunTask(static_cast<DeviceTask>(number)).reason,
                  Format("unknown device task %d", number));
    EXPECT_EQ(calls, (std::vector<int>{22, 23, 24, 26, 27}));
    EXPECT_EQ(bench.events.Calls(), (std::vector<std::string>{"CloseFirmwareWindow"}));
}

TEST(DeviceWorker, RescanPrefersTheRememberedModel) {
    WorkerBench bench("default");  // Vireo (101) by cable, Harrier Pro (201) through its receiver
    bench.worker->RunTask(kRebuild);
    EXPECT_EQ(bench.worker->State().selectedModel, 101);
    EXPECT_TRUE(bench.events.ContainsInOrder({"SetDeviceState(101,0,1)", "SetDeviceState(201,1,1)",
                                              "SelectDevice(101)", "SetCaption(51)"}));
}

TEST(DeviceWorker, ReadTasksSayWhetherAMouseWasRead) {
    struct Case {
        const char* scenario;
        DeviceTask task;
        bool ok;
        std::string reason;
    };
    const std::string noInterface =
        "ReadAllSettings: wireless device not connected (no command interface)";
    const Case cases[] = {
        {"vireo", DeviceTask::RebuildAndRead, true, ""},
        {"vireo", DeviceTask::ArrivalRebuildAndRead, true, ""},
        {"vireo", DeviceTask::ReadWithRefresh, true, ""},
        {"vireo", DeviceTask::RemovalRescan, true, ""},
        {"none", DeviceTask::RebuildAndRead, false, "no supported mouse answers"},
        {"none", DeviceTask::ReadWithRefresh, false, noInterface},
        // A removal that leaves no mouse has nothing more to do.
        {"none", DeviceTask::RemovalRescan, true, ""},
    };
    for (const Case& c : cases) {
        WorkerBench bench(c.scenario);
        if (c.task != DeviceTask::RebuildAndRead) bench.worker->RunTask(kRebuild);
        const DeviceTaskResult result = bench.worker->RunTask(c.task);
        EXPECT_EQ(result.ok, c.ok) << c.scenario << " task " << TaskNumber(c.task);
        EXPECT_EQ(result.reason, c.reason) << c.scenario << " task " << TaskNumber(c.task);
    }
}

}  // namespace
}  // namespace kestrix
