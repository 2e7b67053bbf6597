// SPDX-License-Identifier: MIT
#include "device/ButtonTable.h"

#include "rules/KeyUsageTable.h"

namespace kestrix {

namespace {

using Triple = std::array<uint8_t, 3>;

constexpr uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

// Button-table entry families as the firmware reads them.
constexpr uint8_t kMouseFamily = 0x10;
constexpr uint8_t kWheelFamily = 0x20;
constexpr uint8_t kRepeatFamily = 0x30;
constexpr uint8_t kDpiFamily = 0x40;
constexpr uint8_t kDeviceFamily = 0x60;
constexpr uint8_t kKeyboardFamily = 0x70;
constexpr uint8_t kConsumerFamily = 0x80;
constexpr uint8_t kMacroFamily = 0x90;

std::optional<Triple> MouseFunction(int v) {
    switch (v) {
        case 1:
            return Triple{kMouseFamily, 0x01, 0x00};
        case 2:
            return Triple{kMouseFamily, 0x04, 0x00};
        case 3:
            return Triple{kMouseFamily, 0x02, 0x00};
        case 4:
            return Triple{kRepeatFamily, 0x32, 0x03};
        case 5:
            return Triple{kMouseFamily, 0x10, 0x00};
        case 6:
            return Triple{kMouseFamily, 0x08, 0x00};
        case 7:
            return Triple{kWheelFamily, 0x01, 0x00};
        case 8:
            return Triple{kWheelFamily, 0xFF, 0x00};
        case 9:
            return Triple{kMouseFamily, 0x00, 0xF5};
        case 10:
            return Triple{kMouseFamily, 0x00, 0xF6};
        default:
            return Triple{kMouseFamily, 0x00, 0x00};
    }
}

Triple KeyboardKey(int usage, int modifiers) {
    if (modifiers == 0 && usage >= 224 && usage <= 231) {
        // A modifier key alone travels as its modifier bit.
        return Triple{kKeyboardFamily, Byte(ModifierBit(usage)), 0x00};
    }
    return Triple{kKeyboardFamily, Byte(modifiers), Byte(ModifierBit(usage))};
}

Triple ConsumerUsage(int usage) { return Triple{kConsumerFamily, Byte(usage), Byte(usage >> 8)}; }

Triple Multimedia(int v) {
    switch (v) {
        case 1:
            return ConsumerUsage(0x0183);
        case 2:
            return ConsumerUsage(0x00CD);
        case 3:
            return ConsumerUsage(0x00B7);
        case 4:
            return ConsumerUsage(0x00B6);
        case 5:
            return ConsumerUsage(0x00B5);
        case 6:
            return ConsumerUsage(0x00E9);
        case 7:
            return ConsumerUsage(0x00EA);
        case 8:
            return ConsumerUsage(0x00E2);
        default:
            return ConsumerUsage(0);
    }
}

std::optional<Triple> Macro(int keyCode, int macroId, const MacroLookup& findMacro) {
    const std::optional<MacroPlayback> macro = findMacro ? findMacro(macroId) : std::nullopt;
    if (!macro) return std::nullopt;
    uint8_t mode = 0;
    uint8_t times = 0;
    if (macro->playType == 1 || macro->playType == 3) {
        mode = 0x10;
    } else if (macro->playType == 2) {
        mode = 0x40;
    } else if (macro->playTimes > 0) {
        mode = 0x20;
        times = Byte(macro->playTimes);
    }
    return Triple{kMacroFamily, static_cast<uint8_t>(Byte(keyCode) | mode), times};
}

Triple DpiFunction(int v) {
    uint8_t code = 0;
    if (v == 1)
        code = 0x02;
    else if (v == 2)
        code = 0x03;
    else if (v == 3)
        code = 0x01;
    return Triple{kDpiFamily, code, 0x00};
}

Triple DeviceFunction(int v) {
    uint8_t code = 0;
    if (v == 1)
        code = 0x04;
    else if (v == 2)
        code = 0x01;
    return Triple{kDeviceFamily, code, 0x00};
}

std::optional<Triple> SystemShortcut(int v) {
    switch (v) {
        case 1:
            return ConsumerUsage(0x006F);
        case 2:
            return ConsumerUsage(0x0070);
        case 3:
            return ConsumerUsage(0x0192);
        case 4:
            return ConsumerUsage(0x0194);
        case 5:
            return ConsumerUsage(0x0223);
        case 6:
            return ConsumerUsage(0x018A);
        case 7:
            return Triple{kKeyboardFamily, 0x08, 0x07};  // Win+D
        case 8:
            return Triple{kKeyboardFamily, 0x08, 0x2B};  // Win+Tab
        case 9:
            return Triple{kKeyboardFamily, 0x01, 0x06};  // Ctrl+C
        case 10:
            return Triple{kKeyboardFamily, 0x01, 0x19};  // Ctrl+V
        case 11:
            return Triple{kKeyboardFamily, 0x01, 0x1B};  // Ctrl+X
        default:
            return std::nullopt;
    }
}

}  // namespace

ButtonTableBytes DefaultButtonTable() {
    ButtonTableBytes table{};
    const Triple defaults[] = {
        {kMouseFamily, 0x01, 0x00}, {kMouseFamily, 0x02, 0x00}, {kMouseFamily, 0x04, 0x00},
        {kMouseFamily, 0x08, 0x00}, {kMouseFamily, 0x10, 0x00}, {kDpiFamily, 0x01, 0x00},
    };
    size_t offset = 0;
    for (const Triple& t : defaults) {
        for (uint8_t b : t) table[offset++] = b;
    }
    return table;
}

bool EncodeButtonAssignment(const ButtonAssignment& assignment, const MacroLookup& findMacro,
                            std::array<uint8_t, 3>& out) {
    const int v = assignment.macroValue;
    std::optional<Triple> bytes;
    switch (assignment.macroType) {
        case 1:
            bytes = MouseFunction(v);
            break;
        case 2:
            bytes = KeyboardKey(v, assignment.macroValue2);
            break;
        case 3:
            bytes = Multimedia(v);
            break;
        case 4:
            bytes = Macro(assignment.keyCode, v, findMacro);
            break;
        case 5:
            bytes = DpiFunction(v);
            break;
        case 6:
            bytes = DeviceFunction(v);
            break;
        case 7:
            bytes = Triple{kRepeatFamily, Byte(v), Byte(assignment.macroValue2)};
            break;
        case 8:
            bytes = SystemShortcut(v);
            break;
        case 9:
            bytes = Triple{kDeviceFamily, 0x00, 0x00};
            break;
        default:
            break;
    }
    if (!bytes) return false;
    out = *bytes;
    return true;
}

ButtonTableBytes BuildButtonTable(const std::vector<ButtonAssignment>& assignments,
                                  const MacroLookup& findMacro) {
    ButtonTableBytes table = DefaultButtonTable();
    for (const ButtonAssignment& a : assignments) {
        if (a.keyCode < 0 || a.keyCode > kHighestButtonKeyCode) continue;
        Triple bytes{};
        if (!EncodeButtonAssignment(a, findMacro, bytes)) continue;
        const size_t offset = static_cast<size_t>(a.keyCode) * 3;
        table[offset] = bytes[0];
        table[offset + 1] = bytes[1];
        table[offset + 2] = bytes[2];
    }
    return table;
}

}  // namespace kestrix
