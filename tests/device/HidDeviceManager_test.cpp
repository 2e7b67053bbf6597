// SPDX-License-Identifier: MIT
#include "device/HidDeviceManager.h"

#include <gtest/gtest.h>

#include "device/SimTestBench.h"

namespace kestrix {
namespace {

using testing::LogRecorder;
using testing::SimBench;
using testing::TraceRecorder;

constexpr const char* kVireoConfig = "sim/vireo-cable/if2";

TEST(HidDeviceManager, ThreeCollectionsGiveOneIdentifiedEntry) {
    LogRecorder log;
    SimBench bench("vireo");
    EXPECT_EQ(bench.manager->Rebuild(), 1);
    const auto entries = bench.manager->ListEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, kVireoConfig);
    EXPECT_EQ(entries[0].identityCode, "VR01");
    EXPECT_EQ(entries[0].modelNumber, 101);  // the catalogue line has no dev_id
    EXPECT_EQ(entries[0].mode, 0);
    EXPECT_EQ(entries[0].linkState, kLinkUp);
    EXPECT_EQ(entries[0].productString, "Kestrix Vireo");
    EXPECT_EQ(entries[0].releaseNumber, 0x0102u);
    EXPECT_EQ(entries[0].identityAnswer[10], 53);  // sensor code
    // Every accepted collection is opened and its usage logged; only one becomes an entry.
    EXPECT_EQ(log.CountStartingWith("EnumerateDevice UsagePage:"), 4u);
    EXPECT_TRUE(log.Contains("EnumerateDevice UsagePage: 1, Usage: 0"));
    EXPECT_TRUE(log.Contains("EnumerateDevice UsagePage: FFEF, Usage: 0"));
    EXPECT_EQ(log.CountStartingWith("Open hid Device Suc!"), 1u);
    EXPECT_TRUE(log.Contains("EnumerateDevice!, GetDeviceId: VR01, GetDeviceType: 101"));
    EXPECT_TRUE(log.Contains(
        "EnumerateDevice vendor_id: 1209, product_id: 5A01, dev_type: 65, dev_mode: 0"));
}

TEST(HidDeviceManager, CableIsPreferredOverReceiver) {
    SimBench bench;
    bench.backend->Attach(
        SimDevice::MakeReceiver(*FindSimModel("harrier_pro"), "harrier_pro-receiver", true));
    bench.backend->Attach(
        SimDevice::MakeCableMouse(*FindSimModel("harrier_pro"), "harrier_pro-cable"));
    bench.Open(201);
    const auto entries = bench.manager->ListEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].modelNumber, 201);
    EXPECT_EQ(entries[0].identityCode, "HP1R");
    EXPECT_EQ(entries[1].modelNumber, 201);
    EXPECT_EQ(entries[1].identityCode, "HP01");
    EXPECT_EQ(bench.manager->GetConnectionKind(), ConnectionKind::Cable);
    HidDevice* device = bench.manager->GetCommandInterface();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Path(), "sim/harrier_pro-cable/if2");
    uint16_t vid = 0;
    uint16_t pid = 0;
    ASSERT_TRUE(bench.manager->CommandInterfaceIdentity(vid, pid));
    EXPECT_EQ(pid, 0x5A04);
}

TEST(HidDeviceManager, ReceiverWithMouseOffHasNoModelAndNoCommandInterface) {
    SimBench bench("receiver-off");
    bench.Open(201);
    bench.manager->SetSelectedModel(0);
    const auto entries = bench.manager->ListEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].modelNumber, 0);
    EXPECT_EQ(entries[0].identityCode, "");
    EXPECT_EQ(entries[0].mode, 1);
    bench.manager->SetSelectedModel(201);
    EXPECT_EQ(bench.manager->GetCommandInterface(), nullptr);
    EXPECT_EQ(bench.manager->GetConnectionKind(), ConnectionKind::None);
    EXPECT_FALSE(bench.manager->IsIdentified(201));
    // Identity was asked twice: one write each, 50 reads each.
    EXPECT_EQ(bench.Device("harrier_pro-receiver")->ConfigurationWrites(), 2);
}

TEST(HidDeviceManager, ReceiverLinkStateOrderingDecidesTheCommandInterface) {
    SimBench bench;
    const SimMouseModel& model = *FindSimModel("harrier_pro");
    bench.backend->Attach(SimDevice::MakeReceiver(model, "first-receiver", true));
    bench.backend->Attach(SimDevice::MakeReceiver(model, "second-receiver", true));
    bench.Open(201);
    ASSERT_EQ(bench.manager->EntryCount(), 2u);
    EXPECT_EQ(bench.manager->GetConnectionKind(), ConnectionKind::Receiver);
    ASSERT_TRUE(bench.manager->SetLinkStateAt(0, kLinkDown));
    bench.manager->ClearCommandInterface();
    EXPECT_EQ(bench.manager->GetCommandInterface(), nullptr);  // the first receiver ends the search
    EXPECT_EQ(bench.manager->ListEntries(true).size(), 1u);
    bench.manager->SetLinkState(201, 1, kLinkUp);
    HidDevice* device = bench.manager->GetCommandInterface();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Path(), "sim/first-receiver/if2");
}

TEST(HidDeviceManager, ModelOfMatchesFilterInOrder) {
    std::vector<DeviceFilterEntry> filter = {
        {0x1209, 0x5A01, "", 101, 0, ""},
        {0x1209, 0x5A05, "", 201, 1, "HP1R"},
        {0x1209, 0x5A05, "", 202, 1, "XX1R"},
        {0x1209, 0x5A06, "", 301, 0, "AB"},
    };
    const struct {
        int pid;
        const char* code;
        int model;
    } cases[] = {
        {0x5A01, "VR01", 101}, {0x5A01, "", 101},  {0x5A05, "HP1R", 201}, {0x5A05, "XX1R", 202},
        {0x5A05, "hp1r", 0},   {0x5A05, "HP1", 0}, {0x5A06, "ZZZZ", 101}, {0x5A07, "HP1R", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModelOfFilter(filter, 0x1209, c.pid, c.code), c.model)
            << std::hex << c.pid << " " << c.code;
    }
}

TEST(HidDeviceManager, ExactBytesOfIdentityAndReportRateWrites) {
    SimBench bench("vireo");
    TraceRecorder trace;
    bench.Open(101);
    ReportBuffer request =
        BuildWriteRequest(command::kReportRate, 0x01, std::vector<uint8_t>{0x01});
    ASSERT_TRUE(bench.manager->SendCommand(request, kLongWrite));
    EXPECT_EQ(request[0], 0x02);  // the answer replaced the request: answer offset k at byte k
    EXPECT_EQ(request[1], 0x00);
    EXPECT_EQ(bench.Device("vireo-cable")->Mouse()->State().reportRate, 1);

    const auto lines = trace.Lines();
    ASSERT_GE(lines.size(), 4u);
    std::string identity = std::string("W ") + kVireoConfig + " 00 10";
    for (int i = 0; i < 31; ++i) {
        identity += " 00";
    }
    EXPECT_EQ(lines[0], identity);
    EXPECT_EQ(lines[1].rfind(std::string("R ") + kVireoConfig + " 10 00 00 00 56 52 30 31", 0), 0u)
        << lines[1];
    std::string rate = std::string("W ") + kVireoConfig + " 00 02 00 01 01 01";
    for (int i = 6; i < 65; ++i) {
        rate += i == 32 ? " 01" : " 00";
    }
    EXPECT_EQ(lines[2], rate);
    EXPECT_EQ(lines[3].rfind(std::string("R ") + kVireoConfig + " 02 00 01 01", 0), 0u) << lines[3];
}

TEST(HidDeviceManager, ErrorAnswersAreReadAgainNotWrittenAgain) {
    SimBench bench("vireo");
    bench.Open(101);
    auto device = bench.Device("vireo-cable");
    SimFaults faults;
    faults.errorRequests = 1;
    faults.errorReportsPerRequest = 50;
    device->SetFaults(faults);
    TraceRecorder trace;
    ReportBuffer request = BuildReadRequest(command::kReadReportRate);
    EXPECT_FALSE(bench.manager->SendCommand(request, kShortWrite));
    EXPECT_EQ(trace.CountStartingWith("W "), 1u);
    EXPECT_EQ(trace.CountStartingWith("R "), 50u);
    EXPECT_EQ(request[1], 0x01);  // the last error answer is what the buffer holds
}

TEST(HidDeviceManager, NotificationsBeforeTheAnswerAreDropped) {
    SimBench bench("vireo");
    bench.Open(101);
    SimFaults faults;
    faults.notificationsBeforeAnswer = 3;
    bench.Device("vireo-cable")->SetFaults(faults);
    // A link report waiting before the request is read first and kept as a notification.
    bench.Device("vireo-cable")->InjectReport({0xC0, 0x01, 0x50, 0x00});
    TraceRecorder trace;
    ReportBuffer request = BuildReadRequest(command::kReadSleep);
    ASSERT_TRUE(bench.manager->SendCommand(request, kShortWrite));
    EXPECT_EQ(request[0], 0x17);
    EXPECT_EQ(request[4], 60);  // sleep_light of the Vireo's factory state
    const auto lines = trace.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].substr(0, 27), std::string("R ") + kVireoConfig + " C0 01");
    EXPECT_EQ(lines[1].substr(0, 2), "W ");
    EXPECT_EQ(lines[2].substr(0, 27), std::string("R ") + kVireoConfig + " C2 16");
    const std::vector<InputReport> kept = bench.manager->TakeNotifications();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].bytes[0], kLinkReport);
    EXPECT_TRUE(bench.manager->TakeNotifications().empty());
}

TEST(HidDeviceManager, NotificationsWithStatusByteZeroAreNotAnswers) {
    // A link report of a mouse that went off and a DPI-change report share byte 1 = 0 with an
    // accepted answer; each exchange drops them and takes its own answer, and leaves nothing
    // behind for the next one.
    for (const SimReport& stray : {SimReport{0xC0, 0x00, 0x00, 0x00}, SimReport{0xC2, 0x00}}) {
        SCOPED_TRACE(static_cast<int>(stray[0]));
        SimBench bench("harrier_pro-receiver");
        bench.Open(201);
        const auto receiver = bench.Device("harrier_pro-receiver");
        HidDevice* device = bench.manager->GetCommandInterface();
        ASSERT_NE(device, nullptr);

        receiver->InjectReport(stray);
        ReportBuffer identity{};
        ASSERT_TRUE(bench.manager->QueryIdentity(identity, device));
        EXPECT_EQ(identity[0], command::kIdentity);
        EXPECT_EQ(std::string(identity.begin() + 4, identity.begin() + 8), "HP1R");

        receiver->InjectReport(stray);
        ReportBuffer request = BuildReadRequest(command::kReadReportRate);
        ASSERT_TRUE(bench.manager->SendCommand(request, kShortWrite));
        EXPECT_EQ(request[0], command::kReadReportRate);
        request = BuildReadRequest(command::kReadSleep);
        ASSERT_TRUE(bench.manager->SendCommand(request, kShortWrite));
        EXPECT_EQ(request[0], command::kReadSleep);
    }
}

TEST(HidDeviceManager, FailedWriteLeavesCallersBufferUnchanged) {
    SimBench bench("vireo");
    bench.Open(101);
    SimFaults faults;
    faults.failingWrites = 1;
    bench.Device("vireo-cable")->SetFaults(faults);
    ReportBuffer request{};
    request[1] = command::kDpiStages;
    request[3] = 0x01;
    request[5] = 0x99;  // checksum byte 32 left unset by the caller
    const ReportBuffer before = request;
    EXPECT_FALSE(bench.manager->SendCommand(request, kShortWrite));
    EXPECT_EQ(request, before);
}

TEST(HidDeviceManager, RemovalInTheMiddleOfAnExchangeFails) {
    SimBench bench("vireo");
    bench.Open(101);
    SimFaults faults;
    faults.removeOnNextRequest = true;
    auto device = bench.Device("vireo-cable");
    device->SetFaults(faults);
    ReportBuffer request = BuildReadRequest(command::kReadDpiStages);
    EXPECT_FALSE(bench.manager->SendCommand(request, kShortWrite));
    EXPECT_FALSE(device->IsPlugged());
    request = BuildReadRequest(command::kReadDpiStages);
    EXPECT_FALSE(bench.manager->SendCommand(request, kShortWrite));  // the dead handle stays dead
    EXPECT_EQ(bench.manager->Rebuild(), 0);
    EXPECT_EQ(bench.manager->GetCommandInterface(), nullptr);
}

TEST(HidDeviceManager, ExchangeFailsBeforeTheFirstRebuildAndWithoutHidLayer) {
    SimBench bench("vireo");
    ReportBuffer request = BuildReadRequest(command::kReadReportRate);
    EXPECT_FALSE(bench.manager->SendCommand(request, kShortWrite));
    EXPECT_EQ(bench.Device("vireo-cable")->ConfigurationWrites(), 0);

    auto backend = std::make_shared<SimBackend>();
    LoadSimScenario(*backend, "vireo");
    backend->SetInitFails(true);
    LogRecorder log;
    HidDeviceManager manager(backend);
    manager.SetFilter(BuildFilterList(testing::ShippedLines()));
    EXPECT_FALSE(manager.IsInitialised());
    EXPECT_EQ(manager.Rebuild(), 0);
    EXPECT_TRUE(log.Contains("HID layer unavailable"));
}

TEST(HidDeviceManager, QueryIdentityWithoutDeviceCopiesTheCommandEntrysAnswer) {
    SimBench bench("default");
    bench.Open(201);
    ReportBuffer answer{};
    EXPECT_FALSE(bench.manager->QueryIdentity(answer, nullptr));  // nothing cached yet
    ASSERT_NE(bench.manager->GetCommandInterface(), nullptr);
    ASSERT_TRUE(bench.manager->QueryIdentity(answer, nullptr));
    EXPECT_EQ(std::string(answer.begin() + 4, answer.begin() + 8), "HP1R");
    EXPECT_EQ(answer[11], 0x40);
    EXPECT_EQ(answer[14], 1);
}

TEST(HidDeviceManager, LongMacroIsCutToFifteenPacketsWithALogLine) {
    SimBench bench("vireo");
    bench.Open(101);
    LogRecorder log;
    std::vector<uint8_t> data = {4};  // button 4, then 102 events
    for (int i = 0; i < 102; ++i) {
        data.insert(data.end(), {0x30, 0x01, 0x00, static_cast<uint8_t>(4 + i % 26)});
    }
    EXPECT_TRUE(bench.manager->SendMultiPacket(command::kMacro, data));
    EXPECT_TRUE(log.Contains("cut to 405 bytes"));
    const SimMouseState state = bench.Device("vireo-cable")->Mouse()->State();
    ASSERT_EQ(state.macros.count(4), 1u);
    EXPECT_EQ(state.macros.at(4).packets, 15);
    EXPECT_EQ(state.macros.at(4).events.size(), 101u);
}

TEST(HidDeviceManager, ReceiverPollAppliesLinkReports) {
    SimBench bench("receiver-off");
    bench.Open(201);
    auto receiver = bench.Device("harrier_pro-receiver");
    receiver->Mouse()->SetBattery(1, 77);
    receiver->Receiver()->SetMouseOn(true);
    ReportBuffer report{};
    int model = -1;
    ASSERT_TRUE(bench.manager->PollDeviceInput(report, model));
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 0x01);
    EXPECT_EQ(report[2], 77);
    EXPECT_EQ(report[3], 1);
    EXPECT_EQ(model, 201);
    EXPECT_TRUE(bench.manager->IsIdentified(201));
    ASSERT_NE(bench.manager->GetCommandInterface(), nullptr);

    // Through the command interface now: a DPI press arrives as it is.
    receiver->Mouse()->PressDpiButton();
    ASSERT_TRUE(bench.manager->PollDeviceInput(report, model));
    EXPECT_EQ(report[0], 0xC2);
    EXPECT_EQ(report[1], 0x36);

    receiver->Receiver()->SetMouseOn(false);
    ASSERT_TRUE(bench.manager->PollDeviceInput(report, model));
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 0x00);
}

TEST(HidDeviceManager, BootLoaderInterfaceOfTheCommandDevice) {
    SimBench bench("default");
    bench.Open(101);
    uint16_t vid = 0;
    uint16_t pid = 0;
    ASSERT_NE(bench.manager->GetCommandInterface(), nullptr);
    ASSERT_TRUE(bench.manager->CommandInterfaceIdentity(vid, pid));
    HidDevice* boot = bench.manager->OpenBootLoaderInterface(vid, pid);
    ASSERT_NE(boot, nullptr);
    EXPECT_EQ(boot->Path(), "sim/vireo-cable/if3");
    EXPECT_EQ(bench.manager->OpenBootLoaderInterface(0x1209, 0x7777), nullptr);
}

}  // namespace
}  // namespace kestrix
