// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandStatus.h"
#include "store/StoreRows.h"

namespace kestrix {

// Language text lookup (text id to the current language's text).
using TextLookup = std::function<std::string(int textId)>;
// Name of a macro of the library; nullopt when there is no macro with that id.
using MacroNameLookup = std::function<std::optional<std::string>(int macroId)>;

// The outcome of checking "button set KEYCODE TYPE VALUE [VALUE2]": a bad-value status
// naming what the type accepts, or the row to store (profile and key code left to the caller).
struct AssignmentCheck {
    CommandStatus status;
    KeyAssignmentRow row;
};

// Checks a (type, value, value2) assignment against what the button page offers: type 1 mouse
// functions 1..8, 2 keyboard usage 0..255 with modifier bits 0..15 (not both 0), 3 multimedia
// 1..8, 4 an existing macro id, 5 DPI 1..3, 6 device functions 1..2, 7 repeat 5..255 with
// 0..255, 8 shortcuts 1..11, 9 value 1. VALUE2 only for types 2 and 7. The row's text is the
// one the page stores for the choice. Pure apart from the two lookups.
AssignmentCheck CheckAssignment(int type, std::string_view valueText,
                                std::optional<std::string_view> value2Text, const TextLookup& text,
                                const MacroNameLookup& macroName);

// The text the button list shows for a stored row (type 4 shows the macro name as stored).
std::string AssignmentDisplayText(const KeyAssignmentRow& row, const TextLookup& text);

// "Shift+ Ctrl + A": the page's combination text of modifier bits and a HID keyboard usage.
std::string KeyCombinationText(int usage, int modifierBits);

}  // namespace kestrix
