// SPDX-License-Identifier: MIT
#include "sim/SimStateFile.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace kestrix {
namespace {

template <typename Container>
void PutAll(std::ostream& out, const char* key, const Container& values) {
    out << key;
    for (auto value : values) out << ' ' << static_cast<long long>(value);
    out << '\n';
}

bool ReadNumbers(std::istringstream& in, std::vector<long long>& numbers) {
    long long value = 0;
    while (in >> value) numbers.push_back(value);
    return in.eof();
}

template <typename T, size_t N>
bool Assign(std::array<T, N>& target, const std::vector<long long>& numbers) {
    if (numbers.size() != N) return false;
    for (size_t i = 0; i < N; ++i) target[i] = static_cast<T>(numbers[i]);
    return true;
}

}  // namespace

bool SaveSimState(const std::string& path, const SimMouseState& s) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        if (!out) return false;
        PutAll(out, "reportRate", std::array<int, 1>{s.reportRate});
        PutAll(out, "dpi", std::array<int, 2>{s.dpiIndex, s.dpiCount});
        PutAll(out, "dpiRaw", s.dpiRaw);
        PutAll(out, "dpiRawCopy", s.dpiRawCopy);
        PutAll(out, "dpiColours", s.dpiColours);
        PutAll(out, "lightingEffect", std::array<int, 1>{s.lightingEffect});
        for (const auto& [number, effect] : s.lighting) {
            std::vector<long long> values = {number, effect.brightness, effect.speed};
            values.insert(values.end(), effect.colours.begin(), effect.colours.end());
            PutAll(out, "lighting", values);
        }
        PutAll(out, "options",
               std::array<int, 7>{s.liftOff, s.sensorOptionA, s.sensorOptionB, s.sleepLight,
                                  s.moveWakeup, s.moveCloseLight, s.buttonResponseTime});
        PutAll(out, "buttons", s.buttonTable);
        for (const auto& [button, macro] : s.macros) {
            std::vector<long long> values = {button, macro.packets};
            values.insert(values.end(), macro.eventBytes.begin(), macro.eventBytes.end());
            PutAll(out, "macro", values);
        }
        PutAll(out, "misc", std::array<int, 3>{s.selectedButton, s.batteryA, s.batteryB});
        if (!out.flush()) return false;
    }
    // Replaced in one step, so a reader in another process never sees half a file.
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool LoadSimState(const std::string& path, SimMouseState& state) {
    std::ifstream in(path);
    if (!in) return false;
    SimMouseState s = state;
    s.lighting.clear();
    s.macros.clear();
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        std::vector<long long> v;
        if (!ReadNumbers(fields, v)) return false;
        bool ok = true;
        if (key == "reportRate" && v.size() == 1) {
            s.reportRate = static_cast<uint8_t>(v[0]);
        } else if (key == "dpi" && v.size() == 2) {
            s.dpiIndex = static_cast<uint8_t>(v[0]);
            s.dpiCount = static_cast<uint8_t>(v[1]);
        } else if (key == "dpiRaw") {
            ok = Assign(s.dpiRaw, v);
        } else if (key == "dpiRawCopy") {
            ok = Assign(s.dpiRawCopy, v);
        } else if (key == "dpiColours") {
            ok = Assign(s.dpiColours, v);
        } else if (key == "lightingEffect" && v.size() == 1) {
            s.lightingEffect = static_cast<uint8_t>(v[0]);
        } else if (key == "lighting" && v.size() >= 3) {
            SimLightingEffect& effect = s.lighting[static_cast<int>(v[0])];
            effect.brightness = static_cast<int>(v[1]);
            effect.speed = static_cast<int>(v[2]);
            effect.colours.assign(v.begin() + 3, v.end());
        } else if (key == "options" && v.size() == 7) {
            s.liftOff = static_cast<uint8_t>(v[0]);
            s.sensorOptionA = static_cast<uint8_t>(v[1]);
            s.sensorOptionB = static_cast<uint8_t>(v[2]);
            s.sleepLight = static_cast<uint8_t>(v[3]);
            s.moveWakeup = static_cast<uint8_t>(v[4]);
            s.moveCloseLight = static_cast<uint8_t>(v[5]);
            s.buttonResponseTime = static_cast<uint8_t>(v[6]);
        } else if (key == "buttons") {
            ok = Assign(s.buttonTable, v);
        } else if (key == "macro" && v.size() >= 2) {
            SimMacro& macro = s.macros[static_cast<int>(v[0])];
            macro.packets = static_cast<int>(v[1]);
            macro.eventBytes.assign(v.begin() + 2, v.end());
            for (size_t i = 0; i + 4 <= macro.eventBytes.size(); i += 4) {
                const uint8_t* e = macro.eventBytes.data() + i;
                macro.events.push_back({e[0], static_cast<uint16_t>(e[1] | e[2] << 8), e[3]});
            }
        } else if (key == "misc" && v.size() == 3) {
            s.selectedButton = static_cast<int>(v[0]);
            s.batteryA = static_cast<uint8_t>(v[1]);
            s.batteryB = static_cast<uint8_t>(v[2]);
        } else {
            ok = false;
        }
        if (!ok) return false;
    }
    state = s;
    return true;
}

}  // namespace kestrix
