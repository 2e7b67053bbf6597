// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kestrix {

class SimBackend;

// Scenario names: "default" (a Vireo by cable and a Harrier Pro through its receiver),
// "receiver-off" (a Harrier Pro receiver whose mouse is off), "none" (nothing attached), and
// per shipped model its device_attr ("vireo", "falco", "harrier_pro": that model by cable)
// and, for models with a receiver, "<attr>-receiver".
std::vector<std::string> SimScenarioNames();

// Replaces the devices of backend with the named scenario. Device names: "<attr>-cable",
// "<attr>-receiver". False (backend untouched) for an unknown name.
bool LoadSimScenario(SimBackend& backend, const std::string& name);

}  // namespace kestrix
