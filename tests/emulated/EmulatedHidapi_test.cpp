// SPDX-License-Identifier: MIT
// The real HID back end (hidapi over hidraw, libudev enumeration, the udev hot-plug monitor)
// against emulated mice whose nodes are answered by the simulated firmware.

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "cli/CliTestBench.h"
#include "device/DeviceTask.h"
#include "device/DeviceWorker.h"
#include "device/FirmwareUpgrade.h"
#include "device/HidapiBackend.h"
#include "device/RecordingObserver.h"
#include "device/SimTestBench.h"
#include "device/WorkerTestBench.h"
#include "platform/HotplugMonitor.h"
#include "store/DataStore.h"
#include "testbed/HidTestbed.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;
using testing::HidTestbed;
using testing::LogRecorder;
using testing::TraceRecorder;

constexpr DeviceTask kRebuild = DeviceTask::RebuildAndRead;

std::shared_ptr<SimDevice> Cable(const char* attr) {
    return SimDevice::MakeCableMouse(*FindSimModel(attr), std::string(attr) + "-cable");
}

std::shared_ptr<SimDevice> Receiver(const char* attr, bool mouseOn) {
    return SimDevice::MakeReceiver(*FindSimModel(attr), std::string(attr) + "-receiver", mouseOn);
}

// A mouse of another maker: same firmware model, foreign vendor id.
std::shared_ptr<SimDevice> Foreign() {
    auto mouse = std::make_shared<SimMouse>(*FindSimModel("vireo"), "");
    return std::make_shared<SimDevice>("foreign", 0x046D, 0xC077, 0x0100, "Other Mouse", mouse,
                                       nullptr);
}

// A testbed, a manager over hidapi, and (created on demand) a worker with a store.
struct EmulatedBench {
    EmulatedBench() {
        if (!HidTestbed::InMockEnvironment()) return;
        testbed = std::make_unique<HidTestbed>();
    }
    void Open() {
        manager = std::make_unique<HidDeviceManager>(std::make_shared<HidapiBackend>());
        manager->SetFilter(BuildFilterList(testing::ShippedLines()));
    }
    DeviceWorker& Worker() {
        if (!manager) Open();
        if (!worker) {
            worker = std::make_unique<DeviceWorker>(*manager, store, events,
                                                    testing::WorkerConfig(folder.Path()));
        }
        return *worker;
    }
    ~EmulatedBench() {
        if (worker) worker->Stop();
        worker.reset();
        manager.reset();
        testbed.reset();
    }

    std::unique_ptr<HidTestbed> testbed;
    testing::TempFolder folder;
    DataStore store;
    RecordingObserver events;
    std::unique_ptr<HidDeviceManager> manager;
    std::unique_ptr<DeviceWorker> worker;
};

#define REQUIRE_UMOCKDEV(bench) \
    if (!(bench).testbed) GTEST_SKIP() << "not running under umockdev's preload library"

TEST(EmulatedHidapi, EnumerationKeepsOnlyTheConfigurationCollectionOfCatalogueModels) {
    EmulatedBench bench;
    REQUIRE_UMOCKDEV(bench);
    bench.testbed->Plug(Foreign());
    bench.testbed->Plug(Cable("vireo"));
    bench.testbed->Plug(Receiver("harrier_pro", true));
    bench.Open();

    // hidapi lists every collection with a usage: pointer, its physical collection and
    // keyboard on interface 0, consumer, configuration, boot loader.
    const std::vector<HidDeviceInfo> all = bench.manager->Backend().Enumerate();
    EXPECT_EQ(all.size(), 3u * 6u);
    size_t vireo = 0;
    for (const HidDeviceInfo& info : all) {
        if (info.vendorId != 0x1209 || info.productId != 0x5A01) continue;
        ++vireo;
        EXPECT_EQ(info.releaseNumber, FindSimModel("vireo")->releaseNumber);
        EXPECT_EQ(info.productString, "Kestrix Vireo");
    }
    EXPECT_EQ(vireo, 6u);

    ASSERT_EQ(bench.manager->Rebuild(), 2);
    const std::vector<HidDeviceEntryView> entries = bench.manager->ListEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, bench.testbed->NodeOf("vireo-cable", 2));
    EXPECT_EQ(entries[1].path, bench.testbed->NodeOf("harrier_pro-receiver", 2));
    EXPECT_EQ(entries[0].modelNumber, 101);
    EXPECT_EQ(entries[1].modelNumber, 201);
}

TEST(EmulatedHidapi, IdentityOfCableAndReceiverWithTheLinkUpAndDown) {
    struct Case {
        const char* attr;
        bool receiver;
        bool mouseOn;
        int model;
        bool identified;
    };
    const Case cases[] = {
        {"vireo", false, true, 101, true},
        {"harrier_pro", false, true, 201, true},
        {"harrier_pro", true, true, 201, true},
        // With its mouse off the receiver leaves the identity unanswered.
        {"harrier_pro", true, false, 0, false},
    };
    for (const Case& c : cases) {
        EmulatedBench bench;
        REQUIRE_UMOCKDEV(bench);
        const auto device = c.receiver ? Receiver(c.attr, c.mouseOn) : Cable(c.attr);
        bench.testbed->Plug(device);
        bench.Open();
        ASSERT_EQ(bench.manager->Rebuild(), 1) << c.attr;
        const HidDeviceEntryView entry = bench.manager->ListEntries().at(0);
        EXPECT_EQ(entry.modelNumber, c.model) << c.attr;
        EXPECT_EQ(entry.mode, c.receiver ? 1 : 0) << c.attr;
        EXPECT_EQ(bench.manager->IsIdentified(c.model), c.identified)
            << c.attr << " mouse on " << c.mouseOn;
    }
}

// The reports of a full read and of every writer, with device paths left out.
std::vector<std::string> ReadAndWriteTrace(DeviceWorker& worker, TraceRecorder& trace) {
    EXPECT_TRUE(worker.RunTask(kRebuild).ok);
    for (DeviceTask task :
         {DeviceTask::WriteAll, DeviceTask::WriteButtons, DeviceTask::SelectedButtonReport,
          DeviceTask::WriteLighting, DeviceTask::WriteDpiStages, DeviceTask::WriteDpiColours,
          DeviceTask::WriteReportRate, DeviceTask::WriteLiftOffAndSensor,
          DeviceTask::WriteSleepOptions, DeviceTask::RestoreLighting, DeviceTask::ResetDpi,
          DeviceTask::RestoreFactory}) {
        EXPECT_TRUE(worker.RunTask(task).ok) << static_cast<int>(task);
    }
    std::vector<std::string> lines;
    for (const std::string& line : trace.Lines()) {
        const size_t bytes = line.find(' ', 2);
        lines.push_back(line.substr(0, 1) + line.substr(bytes));
    }
    return lines;
}

TEST(EmulatedHidapi, FullReadAndEveryWriterSendTheSameReportsAsTheSimulatedBackEnd) {
    for (const char* scenario : {"vireo", "harrier_pro-receiver"}) {
        std::vector<std::string> simulated;
        {
            testing::WorkerBench sim(scenario);
            TraceRecorder trace;
            simulated = ReadAndWriteTrace(*sim.worker, trace);
        }
        EmulatedBench bench;
        REQUIRE_UMOCKDEV(bench);
        bench.testbed->Plug(std::string(scenario) == "vireo" ? Cable("vireo")
                                                             : Receiver("harrier_pro", true));
        DeviceWorker& worker = bench.Worker();
        TraceRecorder trace;
        const std::vector<std::string> real = ReadAndWriteTrace(worker, trace);
        EXPECT_GT(real.size(), 40u) << scenario;
        EXPECT_EQ(real, simulated) << scenario;
        // hidraw does not pad: every request reaches the node zero-padded to the 64-byte
        // output report plus its report ID byte.
        const std::string node = bench.manager->ListEntries().at(0).path;
        const std::vector<size_t> lengths = bench.testbed->WriteLengths(node);
        EXPECT_FALSE(lengths.empty());
        EXPECT_EQ(std::count(lengths.begin(), lengths.end(), 65u), std::ssize(lengths)) << scenario;
    }
}

// Steps of the firmware flow that hand it image bytes without a server or a zip file.
FirmwareUpgradeSteps ImageSteps(const std::string& image) {
    FirmwareUpgradeSteps steps;
    steps.progress = [](int, int) {};
    steps.download = [](const std::string&, const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file != nullptr) std::fclose(file);
    };
    steps.extract = [image](const std::string&, const std::string& folder) {
        std::FILE* file = std::fopen((folder + FirmwareUpgrade::ImageName("131")).c_str(), "wb");
        if (file == nullptr) return false;
        std::fwrite(image.data(), 1, image.size(), file);
        std::fclose(file);
        return true;
    };
    return steps;
}

std::string TestImage(size_t size) {
    std::string image(size, '\0');
    for (size_t i = 0; i < size; ++i) image[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return image;
}

TEST(EmulatedHidapi, FirmwareFlashGoesThroughTheBootLoaderInterface) {
    EmulatedBench bench;
    REQUIRE_UMOCKDEV(bench);
    const auto device = Cable("vireo");
    bench.testbed->Plug(device);
    bench.Open();
    bench.manager->Rebuild();
    bench.manager->SetSelectedModel(101);
    const std::string image = TestImage(12 * 1024 + 20);
    const FirmwareUpgradeResult result =
        FirmwareUpgrade(*bench.manager, ImageSteps(image))
            .UpgradeFirmware("131", "http://fw.example/kx", bench.folder.Path());
    EXPECT_TRUE(result.ok) << result.reason;
    const SimBootLoaderState loader = device->BootLoaderState();
    EXPECT_TRUE(loader.finished);
    EXPECT_EQ(loader.crcErrors + loader.sequenceErrors + loader.badReports, 0);
    ASSERT_GE(loader.image.size(), image.size());
    EXPECT_EQ(std::string(loader.image.begin(), loader.image.begin() + image.size()), image);
}

TEST(EmulatedHidapi, LinkAndDpiChangeReportsReachTheObserver) {
    EmulatedBench bench;
    REQUIRE_UMOCKDEV(bench);
    const auto receiver = Receiver("harrier_pro", true);
    bench.testbed->Plug(receiver);
    DeviceWorker& worker = bench.Worker();
    ASSERT_TRUE(worker.RunTask(kRebuild).ok);
    bench.events.Clear();
    ASSERT_TRUE(worker.Start());

    // The mouse reports itself connected, switches off and on again.
    receiver->InjectReport({0xC0, 0x01, 0x50, 0x01});
    EXPECT_TRUE(
        testing::WaitFor([&] { return bench.events.Count("SetDeviceState(201,1,1)") > 0; }));
    receiver->Receiver()->SetMouseOn(false);
    EXPECT_TRUE(
        testing::WaitFor([&] { return bench.events.Count("SetDeviceState(201,1,0)") > 0; }));
    EXPECT_TRUE(testing::WaitFor([&] { return !worker.State().linkUp; }));
    receiver->Receiver()->SetMouseOn(true);
    EXPECT_TRUE(
        testing::WaitFor([&] { return bench.events.Count("SetDeviceState(201,1,1)") > 1; }));
    EXPECT_TRUE(testing::WaitFor([&] { return worker.State().linkUp; }));

    bench.events.Clear();
    receiver->Mouse()->ChangeDpiStage(2, 4);
    EXPECT_TRUE(testing::WaitFor([&] { return bench.events.Count("SelectStageIndex(2)") > 0; }));
    EXPECT_TRUE(bench.events.ContainsInOrder({"SelectStageCount(4)", "SelectStageIndex(2)"}));
}

// Counts rescans: every enumeration logs this line first.
size_t Rescans(const LogRecorder& log) { return log.CountStartingWith("EnumerateDevice!"); }

// Pulls the device out once condition holds, while work runs on another thread; the work
// must end, failed, within a few seconds.
template <typename Work, typename Condition>
void PullDuring(EmulatedBench& bench, const std::string& name, const char* label, Work work,
                Condition condition) {
    std::atomic<bool> done{false};
    std::string reason;
    bool ok = true;
    std::thread worker([&] {
        std::tie(ok, reason) = work();
        done = true;
    });
    const bool reached = testing::WaitFor(condition, 5000ms);
    bench.testbed->Unplug(name);
    const auto pulled = std::chrono::steady_clock::now();
    const bool ended = testing::WaitFor([&] { return done.load(); }, 5000ms);
    worker.join();
    EXPECT_TRUE(reached) << name << ": the work ended before the pull";
    EXPECT_TRUE(ended) << name << ": the work hangs after the pull";
    EXPECT_LT(std::chrono::steady_clock::now() - pulled, 3000ms);
    EXPECT_FALSE(ok) << label << ": a pulled device reported success";
    EXPECT_FALSE(reason.empty());
}

TEST(EmulatedHidapi, SurpriseRemovalDuringReadWriteAndFlashFailsWithOneRescan) {
    enum class During { Read, Write, Flash };
    for (During during : {During::Read, During::Write, During::Flash}) {
        EmulatedBench bench;
        REQUIRE_UMOCKDEV(bench);
        const auto device = Cable("vireo");
        bench.testbed->Plug(device);
        DeviceWorker& worker = bench.Worker();
        // The read under test is the first one; the others work on a mouse already read.
        if (during != During::Read) {
            ASSERT_TRUE(worker.RunTask(kRebuild).ok);
        }
        HotplugMonitor monitor([&](const HotplugEvent& event) { worker.OnHotplug(event); },
                               [] { return true; });
        ASSERT_TRUE(monitor.Start());
        // Slow enough that the pull lands inside the work.
        device->SetReportDelay(1ms);
        const int writes = device->ConfigurationWrites();
        LogRecorder log;

        if (during == During::Flash) {
            bench.manager->SetSelectedModel(101);
            const std::string image = TestImage(24 * 1024);
            PullDuring(
                bench, "vireo-cable", "flash",
                [&] {
                    const FirmwareUpgradeResult result =
                        FirmwareUpgrade(*bench.manager, ImageSteps(image))
                            .UpgradeFirmware("131", "http://fw", bench.folder.Path());
                    return std::make_pair(result.ok, result.reason);
                },
                [&] { return device->BootLoaderState().records >= 60; });
            EXPECT_FALSE(device->BootLoaderState().finished);
        } else {
            const DeviceTask task =
                during == During::Read ? DeviceTask::RebuildAndRead : DeviceTask::WriteAll;
            PullDuring(
                bench, "vireo-cable", during == During::Read ? "read" : "write",
                [&] {
                    const DeviceTaskResult result = worker.RunTask(task);
                    return std::make_pair(result.ok, result.reason);
                },
                [&] { return device->ConfigurationWrites() >= writes + 4; });
        }
        // The removal (and the failed exchange) lead to one rescan that finds nothing.
        const size_t before = Rescans(log);
        ASSERT_TRUE(worker.Start());
        EXPECT_TRUE(testing::WaitFor([&] { return !worker.State().devicePresent; }));
        EXPECT_TRUE(testing::WaitFor([&] { return worker.QueuedTasks() == 0; }));
        std::this_thread::sleep_for(700ms);  // a second rescan would have started by now
        EXPECT_EQ(Rescans(log) - before, 1u) << static_cast<int>(during);
        EXPECT_EQ(bench.manager->EntryCount(), 0u);
        worker.Stop();
        monitor.Stop();
    }
}

TEST(EmulatedHotplug, DevicesAddedAndRemovedAfterStartComeAndGoThroughTheUdevMonitor) {
    EmulatedBench bench;
    REQUIRE_UMOCKDEV(bench);
    DeviceWorker& worker = bench.Worker();
    HotplugMonitor monitor([&](const HotplugEvent& event) { worker.OnHotplug(event); },
                           [] { return true; });
    ASSERT_TRUE(monitor.Start());
    ASSERT_TRUE(worker.Start());
    EXPECT_EQ(bench.manager->EntryCount(), 0u);
    // Each step waits until the worker has done what the previous one queued (the rescan of a
    // removal waits half a second for the bus to settle).
    const auto settled = [&] {
        EXPECT_TRUE(testing::WaitFor([&] { return worker.QueuedTasks() == 0; }));
        std::this_thread::sleep_for(700ms);
        EXPECT_TRUE(testing::WaitFor([&] { return worker.QueuedTasks() == 0; }));
    };

    bench.testbed->Plug(Cable("vireo"));
    EXPECT_TRUE(testing::WaitFor([&] { return bench.manager->EntryCount() == 1; }));
    EXPECT_TRUE(testing::WaitFor([&] { return worker.State().devicePresent; }));
    settled();

    bench.testbed->Plug(Receiver("harrier_pro", true));
    EXPECT_TRUE(testing::WaitFor([&] { return bench.manager->EntryCount() == 2; }));
    settled();

    bench.testbed->Unplug("vireo-cable");
    EXPECT_TRUE(testing::WaitFor([&] { return bench.manager->EntryCount() == 1; }));
    settled();
    ASSERT_EQ(bench.manager->EntryCount(), 1u);
    EXPECT_EQ(bench.manager->ListEntries().at(0).modelNumber, 201);
    bench.testbed->Unplug("harrier_pro-receiver");
    EXPECT_TRUE(testing::WaitFor([&] { return bench.manager->EntryCount() == 0; }));
    worker.Stop();
    monitor.Stop();
}

TEST(EmulatedHidapi, NodeWithoutPermissionNamesTheUdevRuleOnce) {
    EmulatedBench bench;
    REQUIRE_UMOCKDEV(bench);
    if (geteuid() == 0) GTEST_SKIP() << "root opens every node";
    bench.testbed->Plug(Cable("vireo"));
    const std::string node = bench.testbed->NodeOf("vireo-cable", 2);
    ASSERT_TRUE(bench.testbed->SetNodeMode(node, 0000));
    bench.Open();
    LogRecorder log;
    EXPECT_EQ(bench.manager->Rebuild(), 0);
    EXPECT_EQ(bench.manager->DeniedPaths(), std::vector<std::string>{node});
    EXPECT_EQ(log.CountStartingWith("no permission to open the mouse"), 1u);
    EXPECT_TRUE(log.Contains("sudo udevadm control --reload-rules && sudo udevadm trigger"));
    EXPECT_FALSE(log.Contains("hid_open_path"));

    // With the rule in place the next scan opens it and forgets the denial.
    ASSERT_TRUE(bench.testbed->SetNodeMode(node, 0660));
    EXPECT_EQ(bench.manager->Rebuild(), 1);
    EXPECT_TRUE(bench.manager->DeniedPaths().empty());
}

// kestrixctl in-process over the real back end: the device list, and the fix when the node
// may not be opened.
TEST(EmulatedKestrixCtl, DevicesAndThePermissionFix) {
    EmulatedBench bench;
    REQUIRE_UMOCKDEV(bench);
    if (geteuid() == 0) GTEST_SKIP() << "root opens every node";
    bench.testbed->Plug(Cable("vireo"));
    testing::CliFolders folders;
    auto run = [](std::vector<const char*> argv) {
        std::ostringstream out;
        std::ostringstream err;
        CliEnvironment environment;
        environment.backend = std::make_shared<HidapiBackend>();
        environment.programFolder = std::string(KESTRIX_SOURCE_DATA) + "/";
        environment.guiRunning = [](const std::string&) { return false; };
        environment.out = &out;
        environment.err = &err;
        argv.insert(argv.begin(), "kestrixctl");
        const int code = RunKestrixCtl(static_cast<int>(argv.size()), argv.data(), environment);
        return std::make_pair(code, out.str() + err.str());
    };
    const auto [listed, list] = run({"--json", "devices"});
    ASSERT_EQ(listed, 0) << list;
    EXPECT_NE(list.find(bench.testbed->NodeOf("vireo-cable", 2)), std::string::npos) << list;

    ASSERT_TRUE(bench.testbed->SetNodeMode(bench.testbed->NodeOf("vireo-cable", 2), 0000));
    for (const char* command : {"devices", "read"}) {
        const auto [code, text] = run({command});
        EXPECT_EQ(code, 1) << command << ": " << text;
        EXPECT_NE(text.find("udev rule"), std::string::npos) << command << ": " << text;
        EXPECT_NE(text.find("sudo udevadm control --reload-rules"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace kestrix
