// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

namespace kestrix {

class SimBackend;

// What the command line and the environment ask for.
struct SimulateChoice {
    bool simulate = false;
    std::string scenario;  // a name of SimScenarioNames when simulate is set
};

// Reads "--simulate" / "--simulate=NAME" from the arguments, else KESTRIX_SIMULATE=NAME from
// envValue (null or empty or "0" = off; "1" = the default scenario). The argument wins.
SimulateChoice ParseSimulateOption(int argc, const char* const* argv, const char* envValue);

// The back end a program chose at start.
struct BackendSelection {
    bool ok = true;                         // false: an unknown scenario name (message on stderr)
    std::shared_ptr<SimBackend> simulated;  // the simulated bus, or null for real hardware
};

// Chooses the process-wide HID back end from argv and KESTRIX_SIMULATE before the device
// manager is first used: simulated mice of the named scenario, or hidapi.
BackendSelection SelectProcessBackend(int argc, const char* const* argv);

}  // namespace kestrix
