// SPDX-License-Identifier: MIT
#include "sim/SimFaultSpec.h"

#include <charconv>

namespace kestrix {
namespace {

constexpr int kLargestNumber = 1000000;

struct NumberSetting {
    std::string_view name;
    int SimFaultSpec::*field;
};

constexpr NumberSetting kNumbers[] = {
    {"unplug-after-writes", &SimFaultSpec::unplugAfterWrites},
    {"unplug-after-ms", &SimFaultSpec::unplugAfterMs},
    {"silent", &SimFaultSpec::silentRequests},
    {"errors", &SimFaultSpec::errorRequests},
    {"notifications", &SimFaultSpec::notificationsBeforeAnswer},
    {"delay-ms", &SimFaultSpec::reportDelayMs},
    {"random-input-ms", &SimFaultSpec::randomInputMs},
};

bool ParseSetting(std::string_view setting, SimFaultSpec& faults, std::string& error) {
    if (setting == "factory") {
        faults.factory = true;
        return true;
    }
    const size_t equals = setting.find('=');
    const std::string_view name = setting.substr(0, equals);
    for (const NumberSetting& known : kNumbers) {
        if (known.name != name) continue;
        if (equals == std::string_view::npos) {
            error = "fault setting \"" + std::string(setting) + "\" needs =N";
            return false;
        }
        const std::string_view digits = setting.substr(equals + 1);
        int value = -1;
        const auto [end, status] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || status != std::errc() || end != digits.data() + digits.size() ||
            value < 0 || value > kLargestNumber) {
            error = "fault setting \"" + std::string(setting) + "\": N must be 0 to 1000000";
            return false;
        }
        faults.*known.field = value;
        return true;
    }
    error = "unknown fault setting \"" + std::string(setting) + "\"";
    return false;
}

}  // namespace

bool ParseSimSpec(std::string_view text, SimSpec& spec, std::string& error) {
    spec = {};
    const size_t colon = text.find(':');
    spec.scenario = std::string(text.substr(0, colon));
    if (colon == std::string_view::npos) return true;
    std::string_view rest = text.substr(colon + 1);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view setting = rest.substr(0, comma);
        if (!setting.empty() && !ParseSetting(setting, spec.faults, error)) return false;
        if (comma == std::string_view::npos) break;
        rest = rest.substr(comma + 1);
    }
    return true;
}

const char* SimFaultHelp() {
    return "  --simulate=NAME:FAULT,...  faults of the simulated mice, from the shell:\n"
           "      unplug-after-writes=N  unplug after the N-th configuration write\n"
           "      unplug-after-ms=N      unplug N ms after start\n"
           "      silent=N               the next N requests get no answer\n"
           "      errors=N               the next N requests get an error answer\n"
           "      notifications=K        K DPI-change reports before every answer\n"
           "      delay-ms=N             N ms more for every report\n"
           "      random-input-ms=N      a random input report about every N ms\n"
           "      factory                start from factory state (the simulated mice keep\n"
           "                             their settings between runs in\n"
           "                             $XDG_RUNTIME_DIR/kestrix-sim/NAME/)\n";
}

}  // namespace kestrix
