// SPDX-License-Identifier: MIT
#include "sim/SimulateOption.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/Log.h"
#include "device/HidDeviceManager.h"
#include "sim/SimBackend.h"
#include "sim/SimScenario.h"

namespace kestrix {
namespace {

constexpr std::string_view kOption = "--simulate";
constexpr const char* kEnvironment = "KESTRIX_SIMULATE";
constexpr const char* kDefaultScenario = "default";

std::string ScenarioOrDefault(std::string_view name) {
    return name.empty() || name == "1" ? std::string(kDefaultScenario) : std::string(name);
}

}  // namespace

SimulateChoice ParseSimulateOption(int argc, const char* const* argv, const char* envValue) {
    SimulateChoice choice;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == kOption) {
            choice.simulate = true;
            choice.scenario = kDefaultScenario;
            return choice;
        }
        if (argument.size() > kOption.size() && argument.substr(0, kOption.size()) == kOption &&
            argument[kOption.size()] == '=') {
            choice.simulate = true;
            choice.scenario = ScenarioOrDefault(argument.substr(kOption.size() + 1));
            return choice;
        }
    }
    if (envValue != nullptr && *envValue != 0 && std::string_view(envValue) != "0") {
        choice.simulate = true;
        choice.scenario = ScenarioOrDefault(envValue);
    }
    return choice;
}

BackendSelection SelectProcessBackend(int argc, const char* const* argv) {
    BackendSelection selection;
    const SimulateChoice choice = ParseSimulateOption(argc, argv, std::getenv(kEnvironment));
    if (!choice.simulate) {
        return selection;
    }
    auto backend = std::make_shared<SimBackend>();
    if (!LoadSimScenario(*backend, choice.scenario)) {
        std::string known;
        for (const std::string& name : SimScenarioNames()) {
            known += known.empty() ? name : ", " + name;
        }
        std::fprintf(stderr, "kestrix: unknown simulation scenario \"%s\" (known: %s)\n",
                     choice.scenario.c_str(), known.c_str());
        selection.ok = false;
        return selection;
    }
    if (!HidDeviceManager::SetProcessBackend(backend)) {
        LogLine("simulation requested after the device manager started; real devices stay in use");
        selection.ok = false;
        return selection;
    }
    LogLine("simulated mice attached: scenario %s", choice.scenario.c_str());
    selection.simulated = std::move(backend);
    return selection;
}

}  // namespace kestrix
