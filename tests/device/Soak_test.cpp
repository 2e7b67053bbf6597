// SPDX-License-Identifier: MIT
// A long random run of the worker: editors changing the store and queuing tasks, the mouse
// sending reports, faults on the wire and unplugging; afterwards one clean WriteAll must leave
// the simulated mouse exactly as the store says.

#include <gtest/gtest.h>

#include <random>

#include "device/ButtonTable.h"
#include "device/DeviceTask.h"
#include "device/DpiCodec.h"
#include "device/WorkerTestBench.h"
#include "store/DefaultLightRows.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;
using testing::WaitFor;
using testing::WorkerBench;

constexpr int kIterations = 2000;
// Faults that make an exchange wait for its full 1.5 s timeout are kept rare.
constexpr int kSlowFaultBudget = 4;

void ExpectMouseMatchesStore(WorkerBench& bench, const SimMouseState& mouse) {
    const DeviceState device = bench.worker->State();
    auto setting = [&](const std::string& key) { return bench.Setting(key.c_str()); };
    EXPECT_EQ(mouse.reportRate, setting("report_rate") & 0xFF);
    EXPECT_EQ(mouse.dpiIndex, setting("dpi_index"));
    EXPECT_EQ(mouse.dpiCount, setting("dpi_count"));
    for (int k = 0; k < 6; ++k) {
        const int dpi = std::clamp(setting(Format("dpi_group%d_value", k)), device.minimumDpi,
                                   device.maximumDpi);
        EXPECT_EQ(mouse.dpiRaw[k], EncodeDpi(device.sensorCode, dpi)) << "stage " << k;
        EXPECT_EQ(mouse.dpiColours[k],
                  static_cast<uint32_t>(setting(Format("dpi_group%d_rgb", k)) & 0xFFFFFF))
            << "stage " << k;
    }
    EXPECT_EQ(mouse.liftOff, setting("liftoff_height"));
    EXPECT_EQ(mouse.sensorOptionA, (setting("sensor_flag") & 8) != 0 ? 1 : 0);
    EXPECT_EQ(mouse.sensorOptionB, (setting("sensor_flag") & 4) != 0 ? 1 : 0);
    EXPECT_EQ(mouse.sleepLight, setting("sleep_light"));
    EXPECT_EQ(mouse.moveWakeup, setting("move_wakeup"));
    EXPECT_EQ(mouse.moveCloseLight, setting("move_closelight"));
    EXPECT_EQ(mouse.buttonResponseTime, setting("button_respondtime"));

    std::vector<KeyAssignmentRow> rows;
    bench.store.ListKeyAssignments(bench.store.CurrentProfile(), rows);
    std::vector<ButtonAssignment> assignments;
    for (const KeyAssignmentRow& row : rows) {
        assignments.push_back({row.keyCode, row.macroType, row.macroValue, row.macroValue2});
    }
    const ButtonTableBytes table =
        BuildButtonTable(assignments, [&](int id) -> std::optional<MacroPlayback> {
            MacroRow macro;
            if (!bench.store.GetMacro(id, macro)) return std::nullopt;
            return MacroPlayback{macro.playType, macro.playTimes};
        });
    EXPECT_TRUE(std::equal(mouse.buttonTable.begin(), mouse.buttonTable.end(), table.begin()));

    LightRow light;
    ASSERT_TRUE(
        bench.store.GetLightRow(bench.store.CurrentProfile(), device.currentLightingEffect, light));
    EXPECT_EQ(mouse.lightingEffect, device.currentLightingEffect);
    const SimLightingEffect& effect = mouse.lighting.at(device.currentLightingEffect);
    EXPECT_EQ(effect.brightness, light.brightness & 0x0F);
    EXPECT_EQ(effect.speed, light.speed & 0x0F);
}

TEST(Soak, RandomTasksReportsAndFaultsThenOneWriteAllMatchesTheStore) {
    WorkerBench bench("harrier_pro-receiver");
    bench.worker->RunTask(DeviceTask::RebuildAndRead);
    const auto device = bench.sim.Device("harrier_pro-receiver");
    const ProfileId profile = bench.store.CurrentProfile();
    InsertDefaultLightRows(bench.store, profile, {true, true, true, true, true, true});
    std::vector<int> macroIds;
    for (int playType : {1, 2, 0}) {
        MacroRow macro;
        macro.name = "m";
        macro.playType = playType;
        macro.playTimes = 3;
        const int id = bench.store.InsertMacro(macro);
        for (int i = 0; i < 9; ++i) {
            MacroRecordRow record;
            record.macroId = id;
            record.recordIndex = i;
            record.type = i % 3 == 2 ? 1 : 2 + i % 3;
            record.value = i % 3 == 2 ? 15 * i : 65 + i;
            bench.store.InsertMacroRecord(record);
        }
        macroIds.push_back(id);
    }

    testing::LogRecorder log;  // keeps the many expected failure lines out of the output
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    int slowFaults = 0;
    ASSERT_TRUE(bench.worker->Start());
    for (int i = 0; i < kIterations; ++i) {
        if (!device->IsPlugged()) {
            device->Plug();
            bench.worker->QueueTask(DeviceTask::ArrivalRebuildAndRead);
        }
        const int roll = pick(100);
        if (roll < 12) {
            bench.SetSetting(Format("dpi_group%d_value", pick(6)).c_str(), pick(40000));
            bench.SetSetting("dpi_index", pick(6));
            bench.SetSetting("dpi_count", 1 + pick(6));
            bench.worker->QueueTask(DeviceTask::WriteDpiStages);
        } else if (roll < 20) {
            bench.SetSetting(Format("dpi_group%d_rgb", pick(6)).c_str(), pick(0x1000000));
            bench.worker->QueueTask(DeviceTask::WriteDpiColours);
        } else if (roll < 26) {
            bench.SetSetting("report_rate", 1 << pick(7));
            bench.worker->QueueTask(DeviceTask::WriteReportRate);
        } else if (roll < 32) {
            bench.SetSetting("liftoff_height", 1 + pick(3));
            bench.SetSetting("sensor_flag", pick(17));
            bench.worker->QueueTask(DeviceTask::WriteLiftOffAndSensor);
        } else if (roll < 38) {
            bench.SetSetting("sleep_light", pick(256));
            bench.SetSetting("move_wakeup", pick(2));
            bench.SetSetting("move_closelight", pick(2));
            bench.SetSetting("button_respondtime", pick(33));
            bench.worker->QueueTask(DeviceTask::WriteSleepOptions);
        } else if (roll < 48) {
            KeyAssignmentRow row;
            row.profile = profile;
            row.keyCode = pick(9);
            row.macroType = 1 + pick(9);
            row.macroValue = row.macroType == 4 ? macroIds[static_cast<size_t>(pick(3))] : pick(12);
            row.macroValue2 = row.macroType == 2 || row.macroType == 7 ? pick(256) : 0;
            bench.store.ReplaceKeyAssignment(row);
            if (row.macroType == 4) {
                bench.worker->UpdateState([&](DeviceState& s) { s.pendingMacroKey = row.keyCode; });
            }
            bench.worker->QueueTask(DeviceTask::WriteButtons);
        } else if (roll < 54) {
            const int effect = pick(6);
            LightRow row;
            if (bench.store.GetLightRow(profile, effect, row)) {
                row.brightness = pick(16);
                row.speed = pick(16);
                bench.store.UpdateLightRow(effect, row);
            }
            bench.worker->UpdateState([&](DeviceState& s) { s.currentLightingEffect = effect; });
            bench.worker->QueueTask(DeviceTask::WriteLighting);
        } else if (roll < 66) {
            switch (pick(8)) {
                case 0:
                    // The mouse drops out and comes back. A link-down report that meets an exchange
                    // (an identity query of a rescan included) is dropped like any other report.
                    device->InjectReport({0xC0, 0x00, 0x00, 0x00});
                    device->InjectReport({0xC0, 0x01, 0x00, 0x00});
                    break;
                case 1:
                case 2:
                    device->InjectReport({0xC0, 0x01, static_cast<uint8_t>(pick(101)),
                                          static_cast<uint8_t>(pick(2))});
                    break;
                default:
                    device->InjectReport({0xC2, static_cast<uint8_t>(pick(256))});
                    break;
            }
        } else if (roll < 74) {
            SimFaults faults;
            switch (pick(4)) {
                case 0:
                    faults.failingWrites = 1 + pick(2);
                    break;
                case 1:
                    faults.notificationsBeforeAnswer = 1 + pick(3);
                    break;
                case 2:
                    if (slowFaults++ < kSlowFaultBudget) faults.silentRequests = 1;
                    break;
                default:
                    if (slowFaults++ < kSlowFaultBudget) faults.removeOnNextRequest = true;
                    break;
            }
            device->SetFaults(faults);
        } else {
            // 21 and 99 are no task: the worker must refuse them and go on.
            const int tasks[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 17, 18, 19, 20, 21, 99};
            bench.worker->QueueTask(
                static_cast<DeviceTask>(tasks[pick(static_cast<int>(std::size(tasks)))]));
        }
        if (i % 100 == 99) {
            // Let the worker catch up now and then, as a user pauses.
            ASSERT_TRUE(WaitFor([&] { return bench.worker->QueuedTasks() == 0; }, 60s))
                << "iteration " << i;
        }
    }
    ASSERT_TRUE(WaitFor([&] { return bench.worker->QueuedTasks() == 0; }, 60s));
    std::this_thread::sleep_for(200ms);
    bench.worker->Stop();
    ASSERT_TRUE(WaitFor([&] { return !bench.worker->IsRunning(); }, 5s));

    // The run really reached the mouse: many setting writes arrived.
    const auto mouse = device->Mouse();
    EXPECT_GT(mouse->CommandCount(command::kDpiStages) + mouse->CommandCount(command::kButtons),
              kIterations / 10);

    device->SetFaults({});
    if (!device->IsPlugged()) device->Plug();
    bench.worker->RunTask(DeviceTask::ArrivalRebuildAndRead);
    bench.worker->RunTask(DeviceTask::WriteAll);
    ExpectMouseMatchesStore(bench, device->Mouse()->State());
}

}  // namespace
}  // namespace kestrix
