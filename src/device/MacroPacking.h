// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrix {

// Kinds of stored macro events (the `type` column of a macro record).
enum class MacroEventType : int { Delay = 1, KeyDown = 2, KeyUp = 3, ButtonDown = 4, ButtonUp = 5 };

// One stored macro event, in record_index order: its type and value (virtual key, mouse
// button value or delay in milliseconds).
struct MacroEvent {
    int type = 0;
    int value = 0;
};

// Most events one macro upload can carry: 15 packets of 27 bytes hold 1 + 4 x 101 bytes.
inline constexpr size_t kMaxMacroEvents = 101;

// Data of command 0x08 for one button: [button index] then 4 bytes per event (code, delay low,
// delay high, key). Delays attach to the event before them, at least 1 ms, capped at 65535;
// events beyond kMaxMacroEvents are dropped (truncated is set). Unknown record types are
// skipped. The count byte of a single packet is the returned size.
std::vector<uint8_t> PackMacro(int buttonIndex, const std::vector<MacroEvent>& events,
                               bool* truncated = nullptr);

}  // namespace kestrix
