// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// Fault settings given after the scenario name of the simulate option, so that a shell script
// can drive the programs into every fault: "--simulate=vireo:silent=2,delay-ms=5".
//   unplug-after-writes=N  the N-th configuration write is taken, then the device is unplugged
//   unplug-after-ms=N      the devices are unplugged N ms after start
//   silent=N               the next N requests get no answer
//   errors=N               the next N requests are answered with an error status
//   notifications=K        every answer is preceded by K DPI-change reports
//   delay-ms=N             every report written or read takes N ms more
//   random-input-ms=N      a random input report (DPI change, battery) about every N ms
//   factory                start from factory state (forget the state kept from earlier runs)
struct SimFaultSpec {
    int unplugAfterWrites = 0;  // 0 = never
    int unplugAfterMs = 0;      // 0 = never
    int silentRequests = 0;
    int errorRequests = 0;
    int notificationsBeforeAnswer = 0;
    int reportDelayMs = 0;
    int randomInputMs = 0;  // 0 = none
    bool factory = false;
};

// The scenario name and the fault settings of a simulate option value "NAME[:FAULT,...]".
struct SimSpec {
    std::string scenario;
    SimFaultSpec faults;
};

// Splits and parses text; false with error set (naming the bad setting) when a setting is
// unknown or its number is missing, negative or too large.
bool ParseSimSpec(std::string_view text, SimSpec& spec, std::string& error);

// The lines of --help that describe the fault settings.
const char* SimFaultHelp();

}  // namespace kestrix
