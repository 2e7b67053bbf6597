// SPDX-License-Identifier: MIT
#include "sim/SimScenario.h"

#include "sim/SimBackend.h"
#include "sim/SimMouseModel.h"

namespace kestrix {
namespace {

constexpr const char* kDefaultScenario = "default";
constexpr const char* kReceiverOffScenario = "receiver-off";
constexpr const char* kNoneScenario = "none";
constexpr const char* kReceiverSuffix = "-receiver";

std::shared_ptr<SimDevice> Cable(const std::string& attr) {
    return SimDevice::MakeCableMouse(*FindSimModel(attr), attr + "-cable");
}

std::shared_ptr<SimDevice> Receiver(const std::string& attr, bool mouseOn) {
    return SimDevice::MakeReceiver(*FindSimModel(attr), attr + kReceiverSuffix, mouseOn);
}

}  // namespace

std::vector<std::string> SimScenarioNames() {
    std::vector<std::string> names = {kDefaultScenario, kReceiverOffScenario, kNoneScenario};
    for (const SimMouseModel& model : ShippedSimModels()) {
        names.push_back(model.attr);
        if (model.receiverPid != 0) {
            names.push_back(model.attr + kReceiverSuffix);
        }
    }
    return names;
}

bool LoadSimScenario(SimBackend& backend, const std::string& name) {
    std::vector<std::shared_ptr<SimDevice>> devices;
    if (name == kDefaultScenario) {
        devices = {Cable("vireo"), Receiver("harrier_pro", true)};
    } else if (name == kReceiverOffScenario) {
        devices = {Receiver("harrier_pro", false)};
    } else if (name != kNoneScenario) {
        bool found = false;
        for (const SimMouseModel& model : ShippedSimModels()) {
            if (name == model.attr) {
                devices = {Cable(model.attr)};
                found = true;
            } else if (model.receiverPid != 0 && name == model.attr + kReceiverSuffix) {
                devices = {Receiver(model.attr, true)};
                found = true;
            }
        }
        if (!found) {
            return false;
        }
    }
    backend.DetachAll();
    for (auto& device : devices) {
        backend.Attach(std::move(device));
    }
    return true;
}

}  // namespace kestrix
