// SPDX-License-Identifier: MIT
#include "sim/SimulateOption.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "base/Log.h"
#include "device/HidDeviceManager.h"
#include "sim/SimBackend.h"
#include "sim/SimFaultSpec.h"
#include "sim/SimScenario.h"
#include "sim/SimStateFile.h"

namespace kestrix {
namespace {

constexpr std::string_view kOption = "--simulate";
constexpr const char* kEnvironment = "KESTRIX_SIMULATE";
constexpr const char* kDefaultScenario = "default";

std::string ScenarioOrDefault(std::string_view name) {
    return name.empty() || name == "1" ? std::string(kDefaultScenario) : std::string(name);
}

}  // namespace

bool AttachSimulation(SimBackend& backend, const std::string& value, std::string& error) {
    SimSpec spec;
    if (!ParseSimSpec(value, spec, error)) return false;
    if (spec.scenario.empty() || spec.scenario == "1") spec.scenario = kDefaultScenario;
    SimBackend loaded;
    if (!LoadSimScenario(loaded, spec.scenario)) {
        std::string known;
        for (const std::string& name : SimScenarioNames()) {
            known += known.empty() ? name : ", " + name;
        }
        error = "unknown simulation scenario \"" + spec.scenario + "\" (known: " + known + ")";
        return false;
    }
    const std::vector<std::shared_ptr<SimDevice>> devices = loaded.Devices();

    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder;
    if (runtime != nullptr && *runtime != 0) {
        folder = std::string(runtime) + "/kestrix-sim/" + spec.scenario + "/";
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    SimFaults faults;
    faults.unplugAfterWrites = spec.faults.unplugAfterWrites;
    faults.silentRequests = spec.faults.silentRequests;
    faults.errorRequests = spec.faults.errorRequests;
    faults.notificationsBeforeAnswer = spec.faults.notificationsBeforeAnswer;
    faults.reportDelay = std::chrono::milliseconds(spec.faults.reportDelayMs);
    backend.DetachAll();
    for (const auto& device : devices) {
        if (!folder.empty()) {
            const std::string path = folder + device->Name() + ".state";
            if (spec.faults.factory) {
                std::remove(path.c_str());
            } else {
                SimMouseState state = device->Mouse()->State();
                if (LoadSimState(path, state)) device->Mouse()->SetState(state);
            }
            device->SetStateSaver([path](const SimMouseState& state) {
                if (!SaveSimState(path, state)) {
                    LogLine("simulated mouse: state file %s could not be written", path.c_str());
                }
            });
        }
        device->SetFaults(faults);
        backend.Attach(device);
    }
    if (spec.faults.unplugAfterMs > 0 || spec.faults.randomInputMs > 0) {
        backend.KeepFaultDriver(std::make_unique<SimFaultDriver>(devices, spec.faults.unplugAfterMs,
                                                                 spec.faults.randomInputMs));
    }
    return true;
}

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
    std::string error;
    if (!AttachSimulation(*backend, choice.scenario, error)) {
        std::fprintf(stderr, "kestrix: %s\n", error.c_str());
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
