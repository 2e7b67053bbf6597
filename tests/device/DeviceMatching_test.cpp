// SPDX-License-Identifier: MIT
#include "device/DeviceMatching.h"

#include <gtest/gtest.h>

#include "device/SimTestBench.h"

namespace kestrix {
namespace {

using testing::Line;
using testing::ShippedLines;
using testing::SimBench;

TEST(DeviceMatching, FilterListFollowsTheCatalogue) {
    const auto filter = BuildFilterList(ShippedLines());
    ASSERT_EQ(filter.size(), 5u);
    EXPECT_EQ(filter[0].productId, 0x5A01);
    EXPECT_EQ(filter[0].identityCode, "");
    EXPECT_EQ(filter[0].modelNumber, 101);
    EXPECT_EQ(filter[2].productId, 0x5A03);
    EXPECT_EQ(filter[2].mode, 1);
    EXPECT_EQ(filter[2].identityCode, "FL2R");
    EXPECT_EQ(filter[4].modelNumber, 201);
    EXPECT_TRUE(filter[4].text.empty());
}

TEST(DeviceMatching, HotPlugDecisions) {
    auto lines = ShippedLines();
    lines.push_back(Line(301, "small", 0, 0x0ABC, "SM01"));
    lines.push_back(
        Line(302, "twin", 0, 0x0ABC, "TW01"));  // same IDs: only the first line is looked at
    const auto configOnly = [](const std::string& path) {
        return path.find("if2") != std::string::npos;
    };
    const struct {
        const char* name;
        DeviceEventType event;
        uint16_t pid;
        int interfaceNumber;
        const char* path;
        bool present;
        int task;
    } cases[] = {
        {"keyboard collection arrives", DeviceEventType::Arrival, 0x5A01, 0, "sim/x/if0", false, 0},
        {"configuration arrives", DeviceEventType::Arrival, 0x5A01, 2, "sim/x/if2", false, 2},
        {"small pid arrives", DeviceEventType::Arrival, 0x0ABC, 2, "sim/x/if2", false, 2},
        {"unsupported arrives", DeviceEventType::Arrival, 0x1234, 2, "sim/x/if2", true, 0},
        {"configuration removed", DeviceEventType::RemoveComplete, 0x5A05, 2, "sim/x/if2", true, 3},
        {"removed while nothing present", DeviceEventType::RemoveComplete, 0x5A05, 2, "sim/x/if2",
         false, 0},
        {"other interface removed", DeviceEventType::RemoveComplete, 0x5A05, 0, "sim/x/if0", true,
         0},
        {"unsupported removed", DeviceEventType::RemoveComplete, 0x1234, 2, "sim/x/if2", true, 0},
        {"other event", DeviceEventType::Other, 0x5A01, 2, "sim/x/if2", true, 0},
    };
    for (const auto& c : cases) {
        const std::optional<DeviceTask> task = UpdateUSBDevice(
            c.event, 0x1209, c.pid, c.interfaceNumber, c.path, lines, c.present, configOnly);
        EXPECT_EQ(task ? TaskNumber(*task) : 0, c.task) << c.name;
    }
}

TEST(DeviceMatching, ArrivalLogsTheUpperCasePath) {
    testing::LogRecorder log;
    UpdateUSBDevice(DeviceEventType::Arrival, 0x1209, 0x5A01, 2, "/dev/hidraw3", ShippedLines(),
                    false, nullptr);
    EXPECT_TRUE(log.Contains("UpdateUSBDevice path: /DEV/HIDRAW3"));
}

TEST(DeviceMatching, ConfigurationInterfaceIsReadFromTheDevice) {
    SimBench bench("vireo");
    EXPECT_TRUE(IsConfigurationInterface(*bench.backend, "sim/vireo-cable/if2"));
    EXPECT_FALSE(IsConfigurationInterface(*bench.backend, "sim/vireo-cable/if0"));
    EXPECT_FALSE(IsConfigurationInterface(*bench.backend, "sim/vireo-cable/if3"));
    EXPECT_FALSE(IsConfigurationInterface(*bench.backend, "sim/nothing/if2"));
}

TEST(DeviceMatching, RebuildAndRescanWithTheDefaultScenario) {
    SimBench bench("default");
    bench.manager->SetFilter({});
    EXPECT_EQ(RebuildWithCatalogue(*bench.manager, ShippedLines()), 2);
    EXPECT_TRUE(bench.manager->IsOpened());

    const RescanResult rescan = RescanDevices(*bench.manager, 201);
    ASSERT_EQ(rescan.entries.size(), 2u);  // listed with the selection at 0: every entry
    EXPECT_TRUE(rescan.anyIdentified);
    EXPECT_EQ(rescan.entries[0].modelNumber, 101);
    EXPECT_EQ(rescan.entries[1].modelNumber, 201);
    EXPECT_EQ(bench.manager->SelectedModel(), 201);
    EXPECT_EQ(bench.manager->GetConnectionKind(), ConnectionKind::Receiver);

    LoadSimScenario(*bench.backend, "none");
    const RescanResult empty = RescanDevices(*bench.manager, 201);
    EXPECT_TRUE(empty.entries.empty());
    EXPECT_FALSE(empty.anyIdentified);
    EXPECT_EQ(bench.manager->GetConnectionKind(), ConnectionKind::None);
}

}  // namespace
}  // namespace kestrix
