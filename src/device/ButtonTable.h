// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kestrix {

// The mouse's button table: three bytes per button at offset 3 x key code (key codes 0..20).
using ButtonTableBytes = std::array<uint8_t, 64>;

// How many table bytes command 0x09 carries (buttons 0 to 8).
inline constexpr size_t kButtonTableSentBytes = 27;
// Highest key code that has a slot in the table.
inline constexpr int kHighestButtonKeyCode = 20;

// One stored button assignment of layer 0, as the table encoder needs it.
struct ButtonAssignment {
    int keyCode = 0;
    int macroType = 0;
    int macroValue = 0;
    int macroValue2 = 0;
};

// Playback options of a macro, looked up by macro id for type-4 assignments.
struct MacroPlayback {
    int playType = 0;
    int playTimes = 0;
};

// Finds a macro's playback options; nullopt when no macro has that id.
using MacroLookup = std::function<std::optional<MacroPlayback>(int macroId)>;

// The built-in table: left, right, middle, back, forward on key codes 0..4, DPI cycle on 5.
ButtonTableBytes DefaultButtonTable();

// Writes the three bytes of one assignment into out. False when the assignment leaves the
// button's bytes as they were (unknown type or value, or a macro id without a macro).
bool EncodeButtonAssignment(const ButtonAssignment& assignment, const MacroLookup& findMacro,
                            std::array<uint8_t, 3>& out);

// Default table overwritten by every assignment in order; assignments whose key code has no
// slot in the table are skipped.
ButtonTableBytes BuildButtonTable(const std::vector<ButtonAssignment>& assignments,
                                  const MacroLookup& findMacro);

}  // namespace kestrix
