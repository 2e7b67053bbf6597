// SPDX-License-Identifier: MIT
#include "cli/AssignmentRules.h"

#include <array>
#include <utility>

#include "base/Text.h"
#include "cli/SettingRules.h"
#include "rules/KeyCapture.h"
#include "rules/KeyUsageTable.h"

namespace kestrix {
namespace {

enum Type : int {
    kMouse = 1,
    kKeyboard = 2,
    kMultimedia = 3,
    kMacro = 4,
    kDpi = 5,
    kDevice = 6,
    kRepeat = 7,
    kShortcut = 8,
    kFixed = 9,
};

// Text ids of the values of each list-box type, indexed by value - 1 (0 = no text of its own).
constexpr std::array<int, 10> kMouseTexts{106, 108, 107, 180, 109, 110, 112, 113, 114, 115};
constexpr std::array<int, 8> kMultimediaTexts{120, 121, 124, 122, 123, 117, 118, 119};
constexpr std::array<int, 6> kDeviceTexts{151, 181, 152, 153, 154, 155};
constexpr std::array<int, 11> kShortcutTexts{127, 128, 129, 130, 131, 132, 133, 134, 31, 32, 36};
constexpr int kDpiCycleText = 142;
constexpr int kRepeatText = 161;
constexpr int kFixedText = 139;
// Offered values (stored rows may carry more: mouse 9 and 10, device 3..6).
constexpr int kOfferedMouse = 8;
constexpr int kOfferedDevice = 2;
constexpr int kMaxUsage = 255;
constexpr int kMaxModifiers = 15;
constexpr int kMinRepeat = 5;
constexpr int kMaxRepeat = 255;

AssignmentCheck Bad(std::string message) {
    return {CommandStatus::BadValue(std::move(message)), {}};
}

bool ReadInRange(std::string_view text, int low, int high, int& value) {
    return ParseInteger(text, value) && value >= low && value <= high;
}

// The virtual key a key capture stores for a HID usage, by the one usage table of the
// button page; 0 when no key gives that usage.
int VirtualKeyOfUsage(int usage) {
    static const std::array<int, 256> kVkOfUsage = [] {
        std::array<int, 256> table{};
        for (int vk = 1024; vk > 0; --vk) {  // downwards, so the lowest key wins a shared usage
            const int found = VkToHidUsage(vk);
            if (found > 0 && found < static_cast<int>(table.size())) table[found] = vk;
        }
        return table;
    }();
    return usage > 0 && usage < static_cast<int>(kVkOfUsage.size()) ? kVkOfUsage[usage] : 0;
}

// The key's name as the button page shows it; a usage no key of the table gives is named
// by its number so the text never comes out empty.
std::string UsageName(int usage) {
    if (usage == 0) return {};
    const std::string name = KeyName(VirtualKeyOfUsage(usage));
    return name.empty() ? Format("Key 0x%02X", usage) : name;
}

}  // namespace

std::string KeyCombinationText(int usage, int modifierBits) {
    return CombinationText(modifierBits, UsageName(usage));
}

AssignmentCheck CheckAssignment(int type, std::string_view valueText,
                                std::optional<std::string_view> value2Text, const TextLookup& text,
                                const MacroNameLookup& macroName) {
    if (value2Text && type != kKeyboard && type != kRepeat) {
        return Bad(Format(
            "type %d takes one value; VALUE2 is only for types 2 (modifier bits) and 7 (repeat)",
            type));
    }
    AssignmentCheck check;
    KeyAssignmentRow& row = check.row;
    row.macroType = type;
    int value = 0;
    switch (type) {
        case kMouse:
            if (!ReadInRange(valueText, 1, kOfferedMouse, value))
                return Bad("type 1 (mouse function) takes a value within 1..8");
            row.macroDesc = text(kMouseTexts[value - 1]);
            break;
        case kKeyboard: {
            int modifiers = 0;
            if (!ReadInRange(valueText, 0, kMaxUsage, value)) {
                return Bad("type 2 (keyboard key) takes a HID keyboard usage within 0..255");
            }
            if (value2Text && !ReadInRange(*value2Text, 0, kMaxModifiers, modifiers)) {
                return Bad(
                    "type 2 takes modifier bits within 0..15 (Ctrl 1, Shift 2, Alt 4, Win 8) as "
                    "VALUE2");
            }
            if (value == 0 && modifiers == 0)
                return Bad("type 2 needs a key usage or modifier bits (both are 0)");
            row.macroValue2 = modifiers;
            row.macroDesc = KeyCombinationText(value, modifiers);
            break;
        }
        case kMultimedia:
            if (!ReadInRange(valueText, 1, 8, value))
                return Bad("type 3 (multimedia) takes a value within 1..8");
            row.macroDesc = text(kMultimediaTexts[value - 1]);
            break;
        case kMacro: {
            std::optional<std::string> name;
            if (ParseInteger(valueText, value) && value > 0) name = macroName(value);
            if (!name)
                return Bad("type 4 (macro) takes the id of an existing macro (see \"macro list\")");
            row.macroDesc = *name;
            break;
        }
        case kDpi:
            if (!ReadInRange(valueText, 1, 3, value))
                return Bad("type 5 (DPI) takes 1 (DPI +), 2 (DPI -) or 3 (DPI cycle)");
            row.macroDesc = value == 3 ? text(kDpiCycleText) : (value == 1 ? "DPI +" : "DPI -");
            break;
        case kDevice:
            if (!ReadInRange(valueText, 1, kOfferedDevice, value))
                return Bad("type 6 (device function) takes 1 or 2");
            row.macroDesc = text(kDeviceTexts[value - 1]);
            break;
        case kRepeat:
            if (!ReadInRange(valueText, kMinRepeat, kMaxRepeat, value)) {
                return Bad("type 7 (repeat) takes a first parameter within 5..255");
            }
            if (!value2Text || !ReadInRange(*value2Text, 0, kMaxRepeat, row.macroValue2)) {
                return Bad("type 7 (repeat) takes a second parameter VALUE2 within 0..255");
            }
            row.macroDesc = text(kRepeatText);
            break;
        case kShortcut:
            if (!ReadInRange(valueText, 1, static_cast<int>(kShortcutTexts.size()), value)) {
                return Bad("type 8 (system shortcut) takes a value within 1..11");
            }
            row.macroDesc = text(kShortcutTexts[value - 1]);
            break;
        case kFixed:
            if (!ReadInRange(valueText, 1, 1, value))
                return Bad("type 9 (fixed function) takes the value 1");
            row.macroDesc = text(kFixedText);
            break;
        default:
            return Bad(
                "TYPE must be within 1..9 (1 mouse, 2 key, 3 multimedia, 4 macro, 5 DPI, 6 device, "
                "7 repeat, "
                "8 shortcut, 9 fixed)");
    }
    row.macroValue = value;
    return check;
}

std::string AssignmentDisplayText(const KeyAssignmentRow& row, const TextLookup& text) {
    const int v = row.macroValue;
    switch (row.macroType) {
        case kMouse:
            if (v >= 1 && v <= static_cast<int>(kMouseTexts.size()))
                return text(kMouseTexts[v - 1]);
            break;
        case kMultimedia:
            if (v >= 1 && v <= static_cast<int>(kMultimediaTexts.size()))
                return text(kMultimediaTexts[v - 1]);
            break;
        case kDevice:
            // Value 2 shows its stored text; 1 and 3..6 have texts of their own.
            if (v == 1) return text(kDeviceTexts[0]);
            if (v >= 3 && v <= 6) return text(kDeviceTexts[v - 1]);
            break;
        case kRepeat:
            return text(kRepeatText);
        case kShortcut:
            if (v >= 1 && v <= static_cast<int>(kShortcutTexts.size()))
                return text(kShortcutTexts[v - 1]);
            break;
        case kFixed:
            return text(kFixedText);
        default:
            break;
    }
    return row.macroDesc;
}

}  // namespace kestrix
