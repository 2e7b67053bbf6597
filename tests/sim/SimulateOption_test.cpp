// SPDX-License-Identifier: MIT
#include "sim/SimulateOption.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "device/CommandFrame.h"
#include "sim/SimBackend.h"
#include "sim/SimFaultSpec.h"
#include "sim/SimScenario.h"
#include "sim/SimSensorTable.h"
#include "sim/SimulateOption.h"

namespace kestrix {
namespace {

TEST(SimulateOption, ArgumentsAndEnvironment) {
    const struct {
        std::vector<const char*> argv;
        const char* env;
        bool simulate;
        const char* scenario;
    } cases[] = {
        {{"kestrix"}, nullptr, false, ""},
        {{"kestrix", "--simulate"}, nullptr, true, "default"},
        {{"kestrix", "--simulate=falco"}, nullptr, true, "falco"},
        {{"kestrix", "--simulate="}, nullptr, true, "default"},
        {{"kestrix", "--simulated"}, nullptr, false, ""},
        {{"kestrix"}, "1", true, "default"},
        {{"kestrix"}, "0", false, ""},
        {{"kestrix"}, "", false, ""},
        {{"kestrix"}, "receiver-off", true, "receiver-off"},
        {{"kestrix", "--simulate=none"}, "vireo", true, "none"},
    };
    for (const auto& c : cases) {
        const SimulateChoice choice =
            ParseSimulateOption(static_cast<int>(c.argv.size()), c.argv.data(), c.env);
        EXPECT_EQ(choice.simulate, c.simulate) << c.argv.back() << " " << (c.env ? c.env : "-");
        EXPECT_EQ(choice.scenario, c.scenario) << c.argv.back() << " " << (c.env ? c.env : "-");
    }
}

TEST(SimulateOption, EveryScenarioLoads) {
    SimBackend backend;
    const struct {
        const char* name;
        size_t devices;
    } expected[] = {
        {"default", 2}, {"receiver-off", 1},   {"none", 0},        {"vireo", 1},
        {"falco", 1},   {"falco-receiver", 1}, {"harrier_pro", 1}, {"harrier_pro-receiver", 1}};
    EXPECT_EQ(SimScenarioNames().size(), std::size(expected));
    for (const auto& e : expected) {
        ASSERT_TRUE(LoadSimScenario(backend, e.name)) << e.name;
        EXPECT_EQ(backend.Devices().size(), e.devices) << e.name;
        EXPECT_EQ(backend.Enumerate().size(), 4 * e.devices) << e.name;
    }
    EXPECT_FALSE(LoadSimScenario(backend, "no-such-mouse"));
    EXPECT_EQ(backend.Devices().size(), 1u);  // untouched
    ASSERT_TRUE(LoadSimScenario(backend, "receiver-off"));
    EXPECT_FALSE(backend.Find("harrier_pro-receiver")->Receiver()->IsMouseOn());
}

TEST(SimulateOption, FaultSettingsAfterTheScenarioName) {
    const struct {
        const char* text;
        bool ok;
        const char* scenario;
        int writes, ms, silent, errors, notifications, delay, random;
        bool factory;
    } cases[] = {
        {"vireo", true, "vireo", 0, 0, 0, 0, 0, 0, 0, false},
        {"vireo:", true, "vireo", 0, 0, 0, 0, 0, 0, 0, false},
        {":silent=2", true, "", 0, 0, 2, 0, 0, 0, 0, false},
        {"falco:unplug-after-writes=3,unplug-after-ms=250,errors=1,notifications=4,delay-ms=5,"
         "random-input-ms=100,factory",
         true, "falco", 3, 250, 0, 1, 4, 5, 100, true},
        {"vireo:silent", false, "", 0, 0, 0, 0, 0, 0, 0, false},
        {"vireo:silent=-1", false, "", 0, 0, 0, 0, 0, 0, 0, false},
        {"vireo:silent=2x", false, "", 0, 0, 0, 0, 0, 0, 0, false},
        {"vireo:delay-ms=1000001", false, "", 0, 0, 0, 0, 0, 0, 0, false},
        {"vireo:unplug=1", false, "", 0, 0, 0, 0, 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        SimSpec spec;
        std::string error;
        ASSERT_EQ(ParseSimSpec(c.text, spec, error), c.ok) << c.text;
        EXPECT_EQ(error.empty(), c.ok) << c.text;
        if (!c.ok) continue;
        const SimFaultSpec& f = spec.faults;
        EXPECT_EQ(spec.scenario, c.scenario) << c.text;
        EXPECT_EQ(f.unplugAfterWrites, c.writes) << c.text;
        EXPECT_EQ(f.unplugAfterMs, c.ms) << c.text;
        EXPECT_EQ(f.silentRequests, c.silent) << c.text;
        EXPECT_EQ(f.errorRequests, c.errors) << c.text;
        EXPECT_EQ(f.notificationsBeforeAnswer, c.notifications) << c.text;
        EXPECT_EQ(f.reportDelayMs, c.delay) << c.text;
        EXPECT_EQ(f.randomInputMs, c.random) << c.text;
        EXPECT_EQ(f.factory, c.factory) << c.text;
    }
}

// The firmware's own DPI table against the sensor rules' worked examples.
TEST(SimulateOption, FirmwareDpiTableFollowsTheSensorRules) {
    const struct {
        uint8_t sensor;
        int dpi;
        uint16_t raw;
        int dpiRead;  // what the firmware runs the stored raw value at
    } cases[] = {
        {5, 6400, 128, 6400},    {5, 6500, 129, 6500},
        {25, 17000, 161, 17000}, {149, 26000, 519, 26000},
        {53, 12000, 120, 12000}, {17, 10000, 200, 10000},
        {38, 5000, 50, 5500},    {150, 400, 7, 350},
        {37, 5500, 51, 5500},    {4, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SimFactoryRaw(c.sensor, c.dpi), c.raw) << int(c.sensor) << " " << c.dpi;
        EXPECT_EQ(SimStageDpi(c.sensor, c.raw), c.dpiRead) << int(c.sensor) << " " << c.raw;
    }
}

// A folder for XDG_RUNTIME_DIR while alive.
struct RuntimeFolder {
    RuntimeFolder() {
        path = (std::filesystem::temp_directory_path() / "kestrix-sim-XXXXXX").string();
        if (mkdtemp(path.data()) == nullptr) path.clear();
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old != nullptr) previous = old;
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
    ~RuntimeFolder() {
        if (previous.empty()) {
            unsetenv("XDG_RUNTIME_DIR");
        } else {
            setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
        }
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
    std::string previous;
};

// Writes one report-rate request to the configuration collection of the only device.
void WriteReportRate(SimBackend& backend, uint8_t code) {
    auto device = backend.Devices().at(0);
    auto handle = device->Open(device->PathOf(kSimConfigurationInterface));
    ASSERT_TRUE(handle);
    const uint8_t data[] = {code};
    const ReportBuffer request = BuildWriteRequest(command::kReportRate, 0x01, data);
    handle->Write(request.data(), kShortWrite);
}

TEST(SimulateOption, AttachedMiceKeepTheirStateAndTakeTheFaults) {
    RuntimeFolder runtime;
    SimBackend first;
    std::string error;
    ASSERT_TRUE(AttachSimulation(first, "vireo:unplug-after-writes=2", error)) << error;
    auto device = first.Devices().at(0);
    SimMouseState state = device->Mouse()->State();
    state.liftOff = 2;
    device->Mouse()->SetState(state);
    WriteReportRate(first, 4);  // taken: the state (with liftOff 2) is saved
    EXPECT_TRUE(device->IsPlugged());
    WriteReportRate(first, 4);  // the second write unplugs
    EXPECT_FALSE(device->IsPlugged());

    // Another run of the same scenario starts where the first left off ...
    SimBackend second;
    ASSERT_TRUE(AttachSimulation(second, "vireo", error)) << error;
    EXPECT_EQ(second.Devices().at(0)->Mouse()->State().liftOff, 2);
    // ... unless it asks for factory state.
    SimBackend third;
    ASSERT_TRUE(AttachSimulation(third, "vireo:factory", error)) << error;
    EXPECT_EQ(third.Devices().at(0)->Mouse()->State().liftOff, 1);
    SimBackend fourth;
    ASSERT_TRUE(AttachSimulation(fourth, "vireo", error)) << error;
    EXPECT_EQ(fourth.Devices().at(0)->Mouse()->State().liftOff, 1);

    EXPECT_FALSE(AttachSimulation(fourth, "vireo:bogus=1", error));
    EXPECT_NE(error.find("bogus"), std::string::npos);
    EXPECT_FALSE(AttachSimulation(fourth, "nonsense", error));
    EXPECT_EQ(fourth.Devices().size(), 1u);  // untouched
}

}  // namespace
}  // namespace kestrix
