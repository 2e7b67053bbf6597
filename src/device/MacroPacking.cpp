// SPDX-License-Identifier: MIT
#include "device/MacroPacking.h"

#include <algorithm>

#include "rules/KeyUsageTable.h"

namespace kestrix {

namespace {

constexpr uint8_t kButtonDown = 0x10;
constexpr uint8_t kModifierDown = 0x20;
constexpr uint8_t kKeyDown = 0x30;
constexpr uint8_t kButtonUp = 0x90;
constexpr uint8_t kModifierUp = 0xA0;
constexpr uint8_t kKeyUp = 0xB0;

constexpr size_t kEventSize = 4;

bool IsShiftCtrlAlt(int vk) { return vk >= 160 && vk <= 167; }
// The Windows and Menu keys travel with the modifier code on press and release alike.
bool IsWinOrMenu(int vk) { return vk == 91 || vk == 93; }

void WriteDelay(std::vector<uint8_t>& data, size_t eventOffset, long long delay) {
    const long long ms = std::clamp<long long>(delay, 1, 0xFFFF);
    data[eventOffset + 1] = static_cast<uint8_t>(ms & 0xFF);
    data[eventOffset + 2] = static_cast<uint8_t>((ms >> 8) & 0xFF);
}

}  // namespace

std::vector<uint8_t> PackMacro(int buttonIndex, const std::vector<MacroEvent>& events,
                               bool* truncated) {
    std::vector<uint8_t> data;
    data.reserve(1 + kEventSize * std::min(events.size(), kMaxMacroEvents));
    data.push_back(static_cast<uint8_t>(buttonIndex & 0xFF));
    bool dropped = false;

    size_t eventCount = 0;
    long long runningDelay = 0;
    bool havePrevious = false;
    size_t previousOffset = 0;

    for (const MacroEvent& e : events) {
        uint8_t code = 0;
        uint8_t key = 0;
        switch (static_cast<MacroEventType>(e.type)) {
            case MacroEventType::Delay:
                runningDelay += e.value;
                continue;
            case MacroEventType::KeyDown:
                if (IsShiftCtrlAlt(e.value) || IsWinOrMenu(e.value)) {
                    code = kModifierDown;
                    key = static_cast<uint8_t>(ModifierBit(e.value));
                } else {
                    code = kKeyDown;
                    key = static_cast<uint8_t>(VkToHidUsage(e.value));
                }
                break;
            case MacroEventType::KeyUp:
                if (IsShiftCtrlAlt(e.value)) {
                    code = kModifierUp;
                    key = static_cast<uint8_t>(ModifierBit(e.value));
                } else if (IsWinOrMenu(e.value)) {
                    code = kModifierDown;
                    key = static_cast<uint8_t>(ModifierBit(e.value));
                } else {
                    code = kKeyUp;
                    key = static_cast<uint8_t>(VkToHidUsage(e.value));
                }
                break;
            case MacroEventType::ButtonDown:
                code = kButtonDown;
                key = static_cast<uint8_t>(e.value & 0xFF);
                break;
            case MacroEventType::ButtonUp:
                code = kButtonUp;
                key = static_cast<uint8_t>(e.value & 0xFF);
                break;
            default:
                continue;
        }
        if (havePrevious) WriteDelay(data, previousOffset, runningDelay);
        if (eventCount == kMaxMacroEvents) {
            dropped = true;
            break;
        }
        runningDelay = 0;
        previousOffset = data.size();
        data.insert(data.end(), {code, 0x01, 0x00, key});
        havePrevious = true;
        ++eventCount;
    }
    // A delay that ends the macro belongs to its last event.
    if (havePrevious && !dropped && !events.empty() &&
        events.back().type == static_cast<int>(MacroEventType::Delay)) {
        WriteDelay(data, previousOffset, runningDelay);
    }
    if (truncated) *truncated = dropped;
    return data;
}

}  // namespace kestrix
