// SPDX-License-Identifier: MIT
#include "sim/SimulateOption.h"

#include <gtest/gtest.h>

#include "sim/SimBackend.h"
#include "sim/SimScenario.h"

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

}  // namespace
}  // namespace kestrix
