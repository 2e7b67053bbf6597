// SPDX-License-Identifier: MIT
// The settings protocol end to end: a worker over a simulated mouse and a real store.

#include <gtest/gtest.h>

#include "device/ButtonTable.h"
#include "device/DeviceTask.h"
#include "device/DpiCodec.h"
#include "device/WorkerTestBench.h"
#include "store/DefaultLightRows.h"

namespace kestrix {
namespace {

using testing::LogRecorder;
using testing::TraceRecorder;
using testing::WorkerBench;
using testing::WritesOf;

constexpr DeviceTask kRebuild = DeviceTask::RebuildAndRead;

// A cabled Vireo (model 101) whose mouse reports sensorCode.
std::shared_ptr<SimDevice> MouseWithSensor(uint8_t sensorCode) {
    SimMouseModel model = *FindSimModel("vireo");
    model.sensorCode = sensorCode;
    return SimDevice::MakeCableMouse(model, "custom-cable");
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
    }
    return text;
}

// The request bytes of a single-packet write as they appear in the trace (33 bytes).
std::string ShortWrite(uint8_t code, uint8_t count, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes(33, 0);
    bytes[1] = code;
    bytes[3] = 0x01;
    bytes[4] = count;
    unsigned sum = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        bytes[5 + i] = data[i];
        sum += data[i];
    }
    bytes[2] = 0x00;
    bytes[3] = 0x01;
    bytes[32] = static_cast<uint8_t>(sum);
    return Hex(bytes);
}

TEST(SettingsProtocol, FirstReadStoresWhatTheMouseHolds) {
    WorkerBench bench("falco");
    SimMouseState state = bench.sim.Device("falco-cable")->Mouse()->State();
    state.reportRate = 8;
    state.dpiIndex = 2;
    state.dpiCount = 4;  // answer byte 4 = 0x24
    state.dpiColours[0] = 0x332211;
    state.liftOff = 2;
    state.sensorOptionA = 0;
    state.sensorOptionB = 1;
    state.sleepLight = 30;
    state.moveWakeup = 0;
    state.moveCloseLight = 1;
    state.buttonResponseTime = 12;
    bench.sim.Device("falco-cable")->Mouse()->SetState(state);

    bench.worker->RunTask(kRebuild);

    EXPECT_EQ(bench.Setting("report_rate"), 8);
    EXPECT_EQ(bench.Setting("report_rate_wireless"), 8);
    EXPECT_EQ(bench.Setting("dpi_count"), 4);
    EXPECT_EQ(bench.Setting("dpi_index"), 2);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(bench.Setting(Format("dpi_group%d_value", k).c_str()),
                  DecodeDpi(38, state.dpiRaw[k]))
            << k;
    }
    EXPECT_EQ(bench.Setting("dpi_group0_rgb"), 0x33 * 65536 + 0x22 * 256 + 0x11);
    EXPECT_EQ(bench.Setting("liftoff_height"), 2);
    EXPECT_EQ(bench.Setting("sensor_flag"), 4);
    EXPECT_EQ(bench.Setting("sleep_light"), 30);
    EXPECT_EQ(bench.Setting("move_wakeup"), 0);
    EXPECT_EQ(bench.Setting("move_closelight"), 1);
    EXPECT_EQ(bench.Setting("button_respondtime"), 12);

    const DeviceState device = bench.worker->State();
    EXPECT_EQ(device.selectedModel, 102);
    EXPECT_EQ(device.sensorCode, 38);
    EXPECT_EQ(device.minimumDpi, 200);
    EXPECT_EQ(device.maximumDpi, 10000);
    EXPECT_EQ(device.reportRateClass, 5);
    EXPECT_TRUE(device.devicePresent);
    EXPECT_TRUE(bench.events.ContainsInOrder(
        {"RefreshDevicePages", "SetAllDeviceState(0)", "SetDeviceState(102,0,1)",
         "SetDeviceVersion(102,261)", "SelectDevice(102)", "SetCaption(51)", "ShowDevicePages(1)",
         "CloseTransientWindows", "RefreshEditorPages", "SetBatteryInfo(0,100)",
         "SetDpiSliderRange(200,10000,59)", "SetBatteryInfo(80,0)", "SetDeviceBattery(102,0,80)",
         "RefreshEditorPages", "ReapplyPageState"}));
    // A cabled mouse is not asked for the receiver's firmware version.
    EXPECT_EQ(bench.sim.Device("falco-cable")->Mouse()->CommandCount(command::kReadFirmwareVersion),
              0);
}

TEST(SettingsProtocol, ReceiverShowsTheFirmwareVersion) {
    WorkerBench bench("falco-receiver");
    bench.worker->RunTask(kRebuild);
    EXPECT_EQ(bench.events.Count("ShowFirmwareVersion(105)"), 1u);
}

TEST(SettingsProtocol, SameModelIsReadOncePerRun) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    bench.worker->RunTask(kRebuild);
    bench.worker->RunTask(DeviceTask::ReadWithRefresh);
    const auto mouse = bench.sim.Device("vireo-cable")->Mouse();
    EXPECT_EQ(mouse->CommandCount(command::kPrepareRead), 1);
    EXPECT_EQ(mouse->CommandCount(command::kReadDpiStages), 1);
    // The identity is applied every time.
    EXPECT_EQ(bench.events.Count("SetDpiSliderRange(100,16000,160)"), 3u);
}

TEST(SettingsProtocol, MouseOffLineBehindReceiverReadsNothing) {
    WorkerBench bench("receiver-off");
    bench.sim.Device("harrier_pro-receiver")->Receiver()->SetAnswerIdentityWhileOff(true);
    bench.sim.Device("harrier_pro-receiver")->Mouse()->SetBattery(1, 40);
    LogRecorder log;
    const DeviceTaskResult result = bench.worker->RunTask(kRebuild);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "ReadAllSettings: wireless device not connected (mouse off line)");

    const auto mouse = bench.sim.Device("harrier_pro-receiver")->Mouse();
    EXPECT_EQ(mouse->CommandCount(command::kPrepareRead), 0);
    EXPECT_EQ(mouse->CommandCount(command::kReadReportRate), 0);
    const DeviceState device = bench.worker->State();
    EXPECT_EQ(device.sensorCode, 150);  // capabilities applied all the same
    EXPECT_EQ(device.maximumDpi, 38000);
    EXPECT_EQ(device.mouseOnline, 0);
    EXPECT_TRUE(device.linkUp);  // set by the command-failure handler
    EXPECT_TRUE(log.Contains("wireless device not connected"));
    EXPECT_TRUE(bench.events.ContainsInOrder({"SetBatteryInfo(40,1)", "SetDeviceBattery(201,1,40)",
                                              "CloseTransientWindows", "SetDeviceState(201,1,1)",
                                              "SetCaption(52)", "SetDeviceState(101,1,1)"}));
    EXPECT_EQ(bench.events.Count("ReapplyPageState"), 0u);
}

TEST(SettingsProtocol, StageValuesBelowFiftyAreNotStored) {
    struct Case {
        uint8_t sensor;
        int stored;
    };
    for (const Case c : {Case{4, 3200}, Case{149, 50}}) {
        WorkerBench bench("none");
        const auto device = MouseWithSensor(c.sensor);
        SimMouseState state = device->Mouse()->State();
        state.dpiRaw[3] = 0;
        device->Mouse()->SetState(state);
        bench.sim.backend->Attach(device);
        bench.worker->RunTask(kRebuild);
        // 3200 is the model file's default for stage 3, stored when the profiles were made.
        EXPECT_EQ(bench.Setting("dpi_group3_value"), c.stored) << "sensor " << int(c.sensor);
    }
}

TEST(SettingsProtocol, ShortAnswersAreNotTakenForAnswers) {
    WorkerBench bench("vireo");
    bench.sim.Open(101);
    const auto device = bench.sim.Device("vireo-cable");
    SimMouseState state = device->Mouse()->State();
    state.reportRate = 4;
    device->Mouse()->SetState(state);
    DeviceContext context(*bench.sim.manager, bench.store, bench.events);
    SettingsReader reader(context);
    // A stray 3-byte report with status 0 waits before the answer: it is dropped and the
    // real answer behind it is taken.
    device->InjectReport({0x12, 0x00, 0x00});
    const auto answer = reader.ReadCommand(command::kReadReportRate, 5);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ((*answer)[4], 4);
    // With only a short report and no answer, there is no answer.
    SimFaults faults;
    faults.silentRequests = 1;
    device->SetFaults(faults);
    device->InjectReport({0x12, 0x00, 0x00, 0x00});
    EXPECT_FALSE(reader.ReadCommand(command::kReadReportRate, 5).has_value());
    // A full-length link report with byte 1 = 0 is a notification, never the answer.
    SimReport linkDown(kSimReportSize, 0);
    linkDown[0] = 0xC0;
    device->InjectReport(linkDown);
    const auto afterLinkReport = reader.ReadCommand(command::kReadReportRate, 5);
    ASSERT_TRUE(afterLinkReport.has_value());
    EXPECT_EQ((*afterLinkReport)[0], command::kReadReportRate);
    EXPECT_EQ((*afterLinkReport)[4], 4);
}

TEST(SettingsProtocol, AFailedReadStepFailsTheReadAndStoresNothing) {
    WorkerBench bench("vireo");
    const auto device = bench.sim.Device("vireo-cable");
    SimMouseState state = device->Mouse()->State();
    state.reportRate = 4;
    state.liftOff = 2;
    device->Mouse()->SetState(state);
    SimFaults faults;
    faults.failingWrites = 1;
    faults.onlyCommand = command::kReadReportRate;
    device->SetFaults(faults);
    const DeviceTaskResult result = bench.worker->RunTask(kRebuild);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("0x12"), std::string::npos) << result.reason;
    EXPECT_EQ(bench.Setting("report_rate"), 1);     // the model file's default, not the mouse's 4
    EXPECT_EQ(bench.Setting("liftoff_height"), 1);  // read after 0x12, yet not stored either
    // The next read tries again and takes everything.
    EXPECT_TRUE(bench.worker->RunTask(DeviceTask::ReadWithRefresh).ok);
    EXPECT_EQ(bench.Setting("report_rate"), 4);
    EXPECT_EQ(bench.Setting("liftoff_height"), 2);
}

TEST(SettingsProtocol, WritesCarryTheStoredValues) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    TraceRecorder trace;

    bench.SetSetting("report_rate", 1);
    bench.worker->RunTask(DeviceTask::WriteReportRate);
    std::vector<uint8_t> reportRate(65, 0);
    reportRate[1] = 0x02;
    reportRate[3] = 0x01;
    reportRate[4] = 0x01;
    reportRate[5] = 0x01;
    reportRate[32] = 0x01;
    ASSERT_EQ(WritesOf(trace, 0x02).size(), 1u);
    EXPECT_EQ(WritesOf(trace, 0x02)[0], Hex(reportRate));

    // Sensor 53 keeps 100..16000: too small and too large stages are clamped.
    bench.SetSetting("dpi_index", 2);
    bench.SetSetting("dpi_count", 4);
    const int stages[6] = {400, 800, 1600, 20, 99999, 6400};
    for (int k = 0; k < 6; ++k) bench.SetSetting(Format("dpi_group%d_value", k).c_str(), stages[k]);
    bench.worker->RunTask(DeviceTask::WriteDpiStages);
    EXPECT_EQ(WritesOf(trace, 0x03).back(),
              ShortWrite(0x03, 0x25, {0x24, 4, 0, 4, 0,   8, 0,   8, 0,  16, 0,  16, 0,
                                      1,    0, 1, 0, 160, 0, 160, 0, 64, 0,  64, 0}));
    EXPECT_EQ(bench.sim.Device("vireo-cable")->Mouse()->StageDpi(3), 100);
    EXPECT_EQ(bench.sim.Device("vireo-cable")->Mouse()->StageDpi(4), 16000);

    const std::pair<int, std::vector<uint8_t>> sensorFlags[] = {
        {12, {3, 1, 1, 0, 0}}, {16, {3, 0, 0, 0, 0}}, {8, {3, 1, 0, 0, 0}}, {4, {3, 0, 1, 0, 0}}};
    bench.SetSetting("liftoff_height", 3);
    for (const auto& [flag, data] : sensorFlags) {
        bench.SetSetting("sensor_flag", flag);
        bench.worker->RunTask(DeviceTask::WriteLiftOffAndSensor);
        const std::string write = WritesOf(trace, 0x06).back();
        EXPECT_EQ(write.substr(0, 3 * 10 - 1),
                  Hex({0x00, 0x06, 0x00, 0x01, 0x05, data[0], data[1], data[2], data[3], data[4]}))
            << "flag " << flag;
        EXPECT_EQ(write.size(), 65u * 3 - 1);
    }

    bench.SetSetting("dpi_group0_rgb", 0x332211);
    bench.worker->RunTask(DeviceTask::WriteDpiColours);
    EXPECT_EQ(bench.sim.Device("vireo-cable")->Mouse()->State().dpiColours[0], 0x332211u);

    bench.SetSetting("sleep_light", 10);
    bench.SetSetting("move_wakeup", 0);
    bench.SetSetting("move_closelight", 1);
    bench.SetSetting("button_respondtime", 4);
    bench.worker->RunTask(DeviceTask::WriteSleepOptions);
    const SimMouseState mouse = bench.sim.Device("vireo-cable")->Mouse()->State();
    EXPECT_EQ(mouse.sleepLight, 10);
    EXPECT_EQ(mouse.moveWakeup, 0);
    EXPECT_EQ(mouse.moveCloseLight, 1);
    EXPECT_EQ(mouse.buttonResponseTime, 4);
}

TEST(SettingsProtocol, ButtonTableFromTheStoredAssignments) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    TraceRecorder trace;
    const DeviceTask task = DeviceTask::WriteButtons;

    bench.worker->RunTask(task);
    EXPECT_EQ(WritesOf(trace, 0x09).back(),
              ShortWrite(0x09, 0x0F, {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00,
                                      0x10, 0x08, 0x00, 0x10, 0x10, 0x00, 0x40, 0x01, 0x00,
                                      0,    0,    0,    0,    0,    0,    0,    0,    0}));

    const ProfileId profile = bench.store.CurrentProfile();
    KeyAssignmentRow shift;
    shift.profile = profile;
    shift.keyCode = 1;
    shift.macroType = 2;
    shift.macroValue = 225;
    ASSERT_GT(bench.store.ReplaceKeyAssignment(shift), 0);
    KeyAssignmentRow copy = shift;
    copy.keyCode = 2;
    copy.macroValue = 6;
    copy.macroValue2 = 1;
    ASSERT_GT(bench.store.ReplaceKeyAssignment(copy), 0);
    bench.worker->RunTask(task);
    const SimMouseState mouse = bench.sim.Device("vireo-cable")->Mouse()->State();
    EXPECT_EQ(Hex({mouse.buttonTable.begin() + 3, mouse.buttonTable.begin() + 9}),
              "70 02 00 70 01 06");
}

TEST(SettingsProtocol, PendingMacroIsUploadedBeforeTheTable) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    MacroRow macro;
    macro.name = "copy";
    macro.playType = 2;
    const int macroId = bench.store.InsertMacro(macro);
    ASSERT_GT(macroId, 0);
    const std::vector<std::pair<int, int>> records = {{2, 162}, {1, 20},  {2, 67},
                                                      {3, 67},  {3, 162}, {1, 0}};
    for (size_t i = 0; i < records.size(); ++i) {
        MacroRecordRow record;
        record.macroId = macroId;
        record.type = records[i].first;
        record.value = records[i].second;
        record.recordIndex = static_cast<int>(i);
        bench.store.InsertMacroRecord(record);
    }
    KeyAssignmentRow button;
    button.profile = bench.store.CurrentProfile();
    button.keyCode = 3;
    button.macroType = 4;
    button.macroValue = macroId;
    ASSERT_GT(bench.store.ReplaceKeyAssignment(button), 0);
    bench.worker->UpdateState([](DeviceState& s) { s.pendingMacroKey = 3; });

    TraceRecorder trace;
    bench.worker->RunTask(DeviceTask::WriteButtons);

    const SimMouseState mouse = bench.sim.Device("vireo-cable")->Mouse()->State();
    ASSERT_EQ(mouse.macros.count(3), 1u);
    EXPECT_EQ(Hex(mouse.macros.at(3).eventBytes),
              "20 14 00 01 30 01 00 06 B0 01 00 06 A0 01 00 01");
    EXPECT_EQ(Hex({mouse.buttonTable.begin() + 9, mouse.buttonTable.begin() + 12}), "90 43 00");
    const std::vector<std::string> macroWrites = WritesOf(trace, 0x08);
    ASSERT_EQ(macroWrites.size(), 1u);
    EXPECT_EQ(macroWrites[0].substr(0, 14), "00 08 00 01 11");
    EXPECT_EQ(bench.worker->State().pendingMacroKey, -1);
    // Without a pending request the table alone is sent.
    bench.worker->RunTask(DeviceTask::WriteButtons);
    EXPECT_EQ(WritesOf(trace, 0x08).size(), 1u);
}

TEST(SettingsProtocol, LightingIsSentOnlyWithItsRow) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    const auto mouse = bench.sim.Device("vireo-cable")->Mouse();
    const int before = mouse->CommandCount(command::kLighting);
    bench.worker->UpdateState([](DeviceState& s) { s.currentLightingEffect = 3; });
    bench.events.Clear();
    // Nothing to send is no failure: the mouse refused nothing.
    const DeviceTaskResult nothingSent = bench.worker->RunTask(DeviceTask::WriteLighting);
    EXPECT_TRUE(nothingSent.ok) << nothingSent.reason;
    EXPECT_EQ(nothingSent.reason, "");
    EXPECT_EQ(mouse->CommandCount(command::kLighting), before);
    EXPECT_TRUE(bench.events.Calls().empty());

    const ProfileId profile = bench.store.CurrentProfile();
    InsertDefaultLightRows(bench.store, profile, {true, true, true, false, false, true});
    LightRow row;
    ASSERT_TRUE(bench.store.GetLightRow(profile, 3, row));
    row.brightness = 9;
    row.speed = 1;
    row.colorValues[0] = 0x112233;
    bench.store.UpdateLightRow(3, row);
    bench.worker->RunTask(DeviceTask::WriteLighting);
    const SimMouseState state = mouse->State();
    EXPECT_EQ(state.lightingEffect, 3);
    EXPECT_EQ(state.lighting.at(3).brightness, 9);
    EXPECT_EQ(state.lighting.at(3).speed, 1);
    EXPECT_EQ(state.lighting.at(3).colours, std::vector<uint32_t>{0x112233});
    EXPECT_EQ(bench.store.GetActiveLightMode(profile), 3);
}

TEST(SettingsProtocol, RoundTripsOfTheShiftingSensors) {
    struct Case {
        const char* scenario;
        int written2;  // stage 2
        int readBack2;
        int written3;  // stage 3
        int readBack3;
    };
    // One mouse per sensor: each first read of the Falco waits out its unanswered lighting read.
    for (const Case c :
         {Case{"falco", 5000, 5500, 4900, 4900}, Case{"harrier_pro", 26000, 25950, 4900, 4850}}) {
        WorkerBench bench(c.scenario);
        bench.worker->RunTask(kRebuild);
        bench.SetSetting("dpi_group2_value", c.written2);
        bench.SetSetting("dpi_group3_value", c.written3);
        bench.worker->RunTask(DeviceTask::WriteDpiStages);
        bench.Restart();  // a new run reads the model again
        bench.worker->RunTask(kRebuild);
        EXPECT_EQ(bench.Setting("dpi_group2_value"), c.readBack2)
            << c.scenario << " " << c.written2;
        EXPECT_EQ(bench.Setting("dpi_group3_value"), c.readBack3)
            << c.scenario << " " << c.written3;
    }
}

TEST(SettingsProtocol, ResetsAndRestores) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    const auto mouse = bench.sim.Device("vireo-cable")->Mouse();

    bench.SetSetting("dpi_group0_value", 5000);
    bench.SetSetting("report_rate", 8);
    bench.worker->RunTask(DeviceTask::ResetDpi);
    EXPECT_EQ(bench.Setting("dpi_group0_value"), 400);  // model file default
    EXPECT_EQ(bench.Setting("report_rate"), 8);         // not a DPI key
    EXPECT_EQ(mouse->StageDpi(0), 400);

    KeyAssignmentRow row;
    row.profile = 2;
    row.keyCode = 1;
    row.macroType = 1;
    row.macroValue = 7;
    bench.store.ReplaceKeyAssignment(row);
    bench.events.Clear();
    bench.worker->RunTask(DeviceTask::RestoreFactory);
    EXPECT_EQ(mouse->FactoryResets(), 1);
    std::vector<KeyAssignmentRow> rows;
    EXPECT_EQ(bench.store.ListKeyAssignments(2, rows), 0);
    EXPECT_EQ(bench.Setting("report_rate"), 1);  // the model file's polling rate
    EXPECT_EQ(bench.events.Calls(),
              (std::vector<std::string>{"RefreshEditorPages", "RefreshLightingPage"}));

    InsertDefaultLightRows(bench.store, bench.store.CurrentProfile(),
                           {true, true, true, false, false, true});
    SimMouseState state = mouse->State();
    state.lightingEffect = 1;
    state.lighting[1] = {7, 3, {}};
    mouse->SetState(state);
    bench.worker->RunTask(DeviceTask::RestoreLighting);
    EXPECT_EQ(mouse->LightingRestores(), 1);
    LightRow light;
    ASSERT_TRUE(bench.store.GetLightRow(bench.store.CurrentProfile(),
                                        bench.worker->State().currentLightingEffect, light));
    EXPECT_EQ(bench.store.GetActiveLightMode(bench.store.CurrentProfile()), light.mode);
    EXPECT_EQ(bench.events.Calls().back(), "RefreshLightingPage");
}

TEST(SettingsProtocol, SelectedButtonReport) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    bench.worker->UpdateState([](DeviceState& s) { s.selectedKey = 4; });
    bench.worker->RunTask(DeviceTask::SelectedButtonReport);
    EXPECT_EQ(bench.sim.Device("vireo-cable")->Mouse()->State().selectedButton, 4);
}

TEST(SettingsProtocol, FailedWritesRunTheFailureHandlerBehindAReceiverOnly) {
    for (const char* scenario : {"vireo", "harrier_pro-receiver"}) {
        WorkerBench bench(scenario);
        bench.worker->RunTask(kRebuild);
        const auto device = bench.sim.backend->Devices().front();
        SimFaults faults;
        faults.failingWrites = 1;
        device->SetFaults(faults);
        LogRecorder log;
        bench.events.Clear();
        bench.worker->RunTask(DeviceTask::WriteReportRate);
        EXPECT_TRUE(log.Contains("write command 0x02 failed")) << scenario;
        const bool receiver = std::string(scenario) == "harrier_pro-receiver";
        EXPECT_EQ(bench.events.Count("SetDeviceState(201,1,1)"), receiver ? 1u : 0u) << scenario;
        EXPECT_EQ(bench.events.Count("CloseTransientWindows"), receiver ? 1u : 0u) << scenario;
    }
}

TEST(SettingsProtocol, EachWriteTaskSaysWhetherTheMouseTookIt) {
    struct Case {
        DeviceTask task;
        uint8_t code;
        std::string reason;
    };
    const Case cases[] = {
        {DeviceTask::WriteReportRate, command::kReportRate, "write command 0x02 failed"},
        {DeviceTask::WriteDpiStages, command::kDpiStages, "write command 0x03 failed"},
        {DeviceTask::WriteDpiColours, command::kDpiColours, "write command 0x04 failed"},
        {DeviceTask::WriteLighting, command::kLighting, "write command 0x05 failed"},
        {DeviceTask::WriteLiftOffAndSensor, command::kLiftOff, "write command 0x06 failed"},
        {DeviceTask::WriteSleepOptions, command::kSleep, "write command 0x07 failed"},
        {DeviceTask::WriteButtons, command::kButtons, "write command 0x09 failed"},
        {DeviceTask::RestoreLighting, command::kRestoreLighting, "write command 0x0E failed"},
        {DeviceTask::RestoreFactory, command::kRestoreFactory, "write command 0x0F failed"},
        {DeviceTask::SelectedButtonReport, command::kSelectedButton,
         "selected-button report 0x52 failed"},
        {DeviceTask::ResetDpi, command::kDpiColours, "write command 0x04 failed"},
        {DeviceTask::WriteAll, command::kLiftOff, "write command 0x06 failed"},
    };
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    InsertDefaultLightRows(bench.store, bench.store.CurrentProfile(),
                           {true, true, true, false, false, true});
    bench.worker->UpdateState([](DeviceState& s) { s.currentLightingEffect = 2; });
    const auto device = bench.sim.Device("vireo-cable");
    for (const Case& c : cases) {
        const DeviceTask task = c.task;
        SimFaults faults;
        faults.failingWrites = 1;
        faults.onlyCommand = c.code;
        device->SetFaults(faults);
        const DeviceTaskResult failed = bench.worker->RunTask(task);
        EXPECT_FALSE(failed.ok) << "task " << TaskNumber(task);
        EXPECT_EQ(failed.reason, c.reason) << "task " << TaskNumber(task);

        device->SetFaults({});
        const DeviceTaskResult done = bench.worker->RunTask(task);
        EXPECT_TRUE(done.ok) << "task " << TaskNumber(task) << ": " << done.reason;
        EXPECT_EQ(done.reason, "") << "task " << TaskNumber(task);
    }
}

TEST(SettingsProtocol, WriteAllTriesEveryWriteAndNamesTheFirstFailure) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    const auto device = bench.sim.Device("vireo-cable");
    const DeviceTask writeAll = DeviceTask::WriteAll;

    // A refused colour write does not keep the later writes from the mouse.
    bench.SetSetting("sleep_light", 42);
    SimFaults colours;
    colours.failingWrites = 1;
    colours.onlyCommand = command::kDpiColours;
    device->SetFaults(colours);
    const DeviceTaskResult oneRefused = bench.worker->RunTask(writeAll);
    EXPECT_FALSE(oneRefused.ok);
    EXPECT_EQ(oneRefused.reason, "write command 0x04 failed");
    EXPECT_EQ(device->Mouse()->State().sleepLight, 42);

    // With every write refused the reason is the first one tried (the button table), not the last.
    SimFaults all;
    all.failingWrites = 100;
    device->SetFaults(all);
    LogRecorder log;
    const DeviceTaskResult allRefused = bench.worker->RunTask(writeAll);
    EXPECT_EQ(allRefused.reason, "write command 0x09 failed");
    for (const char* line :
         {"write command 0x09 failed", "write command 0x03 failed", "write command 0x07 failed"}) {
        EXPECT_TRUE(log.Contains(line)) << line;
    }
}

TEST(SettingsProtocol, ARefusedMacroUploadFailsTheButtonTaskAfterTheTableIsSent) {
    WorkerBench bench("vireo");
    bench.worker->RunTask(kRebuild);
    MacroRow macro;
    macro.name = "burst";
    const int macroId = bench.store.InsertMacro(macro);
    ASSERT_GT(macroId, 0);
    KeyAssignmentRow button;
    button.profile = bench.store.CurrentProfile();
    button.keyCode = 3;
    button.macroType = 4;
    button.macroValue = macroId;
    ASSERT_GT(bench.store.ReplaceKeyAssignment(button), 0);
    bench.worker->UpdateState([](DeviceState& s) { s.pendingMacroKey = 3; });
    SimFaults faults;
    faults.failingWrites = 1;
    faults.onlyCommand = command::kMacro;
    bench.sim.Device("vireo-cable")->SetFaults(faults);

    TraceRecorder trace;
    const DeviceTaskResult result = bench.worker->RunTask(DeviceTask::WriteButtons);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason,
              Format("upload of macro %d to button 3 (command 0x08) failed", macroId));
    EXPECT_EQ(WritesOf(trace, command::kButtons).size(), 1u);
}

TEST(SettingsProtocol, ResetDpiWithoutTheModelsDefaultsIsAFailure) {
    WorkerBench bench("vireo");
    DeviceWorkerConfig config = testing::WorkerConfig(bench.folder.Path());
    config.programFolder.clear();  // no model file to take the defaults from
    DeviceWorker worker(*bench.sim.manager, bench.store, bench.events, config);
    ASSERT_TRUE(worker.RunTask(kRebuild).ok);
    bench.SetSetting("dpi_group0_value", 5000);
    TraceRecorder trace;
    const DeviceTaskResult result = worker.RunTask(DeviceTask::ResetDpi);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "no model file for model 101; defaults not loaded");
    EXPECT_EQ(bench.Setting("dpi_group0_value"), 5000);
    EXPECT_EQ(WritesOf(trace, command::kDpiStages).size(), 1u);  // the stored stages still go out
}

}  // namespace
}  // namespace kestrix
