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

// Attaches the simulated mice of a simulate option value "NAME[:FAULT,...]" (SimFaultSpec) to
// backend: the scenario's devices, their state kept from earlier runs under
// $XDG_RUNTIME_DIR/kestrix-sim/NAME/ (forgotten with the "factory" setting; nothing is kept
// without XDG_RUNTIME_DIR), and the faults. False with error for an unknown scenario or a bad
// fault setting (backend then untouched).
bool AttachSimulation(SimBackend& backend, const std::string& value, std::string& error);

// The back end a program chose at start.
struct BackendSelection {
    bool ok = true;                         // false: an unknown scenario name (message on stderr)
    std::shared_ptr<SimBackend> simulated;  // the simulated bus, or null for real hardware
};

// Chooses the process-wide HID back end from argv and KESTRIX_SIMULATE before the device
// manager is first used: simulated mice of the named scenario, or hidapi.
BackendSelection SelectProcessBackend(int argc, const char* const* argv);

}  // namespace kestrix
