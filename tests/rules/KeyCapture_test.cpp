// SPDX-License-Identifier: MIT
#include "rules/KeyCapture.h"

#include <gtest/gtest.h>

#include <set>

#include "rules/KeyUsageTable.h"

namespace kestrix {
namespace {

// Evdev codes used below (linux/input-event-codes.h).
constexpr int kKeyA = 30;
constexpr int kKeyLeftShift = 42;
constexpr int kKeyKp7 = 71;
constexpr int kKeyKpEnter = 96;
constexpr int kKeyRightCtrl = 97;
constexpr int kKeyHome = 102;
constexpr int kKeyLeftMeta = 125;
constexpr int kKeyRightMeta = 126;

TEST(KeyCapture, DecodesScanCodesToVirtualKeysAndNames) {
    struct Case {
        int scanCode;
        int vk;
        const char* name;
    };
    const Case cases[] = {
        {kKeyA, 65, "A"},
        {44, 90, "Z"},
        {11, 48, "0"},
        {2, 49, "1"},
        {59, 112, "F1"},
        {88, 123, "F12"},
        {183, 124, "F13"},
        {194, 135, "F24"},
        {1, 27, "Esc"},
        {14, 8, "Backspace"},
        {28, 13, "Enter"},
        {57, 32, "Space"},
        {39, 186, ";"},
        {40, 222, "'"},
        {41, 192, "`"},
        {43, 220, "\\"},
        {53, 191, "/"},
        {12, 189, "-"},
        {99, 44, "Print Screen"},
        {119, 19, "Pause"},
        {69, 144, "Num Lock"},
        {70, 145, "Scroll Lock"},
        {127, 93, "Application"},
        {kKeyLeftMeta, 91, "Windows"},
        {kKeyRightMeta, 92, "RWindows"},
        {kKeyLeftShift, 160, "Shift"},
        {54, 161, "RShift"},
        {29, 162, "Ctrl"},
        {kKeyRightCtrl, 163, "RCtrl"},
        {56, 164, "Alt"},
        {100, 165, "RAlt"},
        // Keypad and navigation keys are told apart by their own scan codes; the keypad
        // gives its numpad code whether Num Lock is on or off.
        {kKeyKp7, 103, "Num 7"},
        {kKeyHome, 36, "Home"},
        {82, 96, "Num 0"},
        {83, 110, "Num ."},
        {111, 46, "Delete"},
        {104, 33, "Page Up"},
        {98, 111, "Num /"},
        {55, 106, "Num *"},
        {kKeyKpEnter, 108, "Num Enter"},
        {124, 137, "\xEF\xBF\xA5"},  // Yen
        {86, 226, "OEM 102"},
        {115, 175, "Volume Up"},
        {164, 179, "Play/Pause"},
        // Unknown codes give no key and no name, so captures ignore them.
        {0, 0, ""},
        {84, 0, ""},
        {700, 0, ""},
    };
    for (const Case& c : cases) {
        std::uint8_t held = 0;
        const KeyEvent event = DecodeKey(c.scanCode, true, held);
        EXPECT_EQ(event.kind, KeyEvent::kKeyboard);
        EXPECT_EQ(event.up, 0);
        EXPECT_EQ(event.vk, c.vk) << "scan code " << c.scanCode;
        EXPECT_EQ(event.name, c.name) << "scan code " << c.scanCode;
    }
}

TEST(KeyCapture, EveryKeyOfAFullSizeKeyboardIsKnownAndNamed) {
    // The 105 keys of an ISO keyboard: the main block, function row, navigation and keypad.
    std::set<int> keys;
    for (int code = 1; code <= 83; ++code) keys.insert(code);
    for (int code : {86,  87,  88,  96,  97,  98,  99,  100, 102, 103, 104,
                     105, 106, 107, 108, 109, 110, 111, 119, 125, 126, 127}) {
        keys.insert(code);
    }
    ASSERT_EQ(keys.size(), 105u);
    std::set<int> vks;
    for (int code : keys) {
        const int vk = VirtualKeyOfScanCode(code);
        EXPECT_NE(vk, 0) << "scan code " << code;
        EXPECT_FALSE(KeyName(vk).empty()) << "scan code " << code;
        vks.insert(vk);
    }
    EXPECT_EQ(vks.size(), keys.size()) << "two keys share a virtual key";
    // The corrected codes reach the mouse as their own keyboard usages.
    EXPECT_EQ(VkToHidUsage(VirtualKeyOfScanCode(kKeyKpEnter)), 88);
    EXPECT_EQ(VkToHidUsage(VirtualKeyOfScanCode(kKeyKp7)), 95);
    EXPECT_EQ(VkToHidUsage(VirtualKeyOfScanCode(kKeyHome)), 74);
}

TEST(KeyCapture, ModifierByteFollowsPressesAndReleasesBySide) {
    std::uint8_t held = 0;
    DecodeKey(kKeyRightCtrl, true, held);
    EXPECT_EQ(held, kHeldRightCtrl);
    DecodeKey(29, true, held);  // left Ctrl as well
    EXPECT_EQ(held, kHeldRightCtrl | kHeldLeftCtrl);
    const KeyEvent up = DecodeKey(kKeyRightCtrl, false, held);
    EXPECT_EQ(up.up, 1);
    EXPECT_EQ(up.vk, 163);
    EXPECT_EQ(up.name, "RCtrl");
    EXPECT_EQ(held, kHeldLeftCtrl) << "the right release clears only bit 16";
    // Both Win keys share bit 8; other keys leave the byte alone.
    DecodeKey(kKeyRightMeta, true, held);
    EXPECT_EQ(held, kHeldLeftCtrl | kHeldWin);
    DecodeKey(kKeyA, true, held);
    DecodeKey(kKeyA, false, held);
    EXPECT_EQ(held, kHeldLeftCtrl | kHeldWin);
    DecodeKey(kKeyLeftMeta, false, held);
    DecodeKey(29, false, held);
    EXPECT_EQ(held, 0);
}

TEST(KeyCapture, ProcessWideByteKeepsBitsAcrossCalls) {
    const std::uint8_t before = HeldModifiers();
    const KeyEvent down = DecodeKeyEvent(kKeyRightCtrl, true);
    EXPECT_EQ(down.vk, 163);
    EXPECT_EQ(down.name, "RCtrl");
    EXPECT_EQ(HeldModifiers() & kHeldRightCtrl, kHeldRightCtrl);
    DecodeKeyEvent(kKeyRightCtrl, false);
    EXPECT_EQ(HeldModifiers() & kHeldRightCtrl, 0);
    EXPECT_EQ(HeldModifiers(), before & ~kHeldRightCtrl);
}

TEST(KeyCapture, SidedModifiersAreTheSixShiftCtrlAltKeys) {
    for (int vk = 150; vk <= 170; ++vk) {
        EXPECT_EQ(IsSidedModifierKey(vk), vk >= 160 && vk <= 165) << vk;
    }
    EXPECT_FALSE(IsSidedModifierKey(91));
    EXPECT_FALSE(IsSidedModifierKey(92));
}

TEST(KeyCapture, CombinationTextJoinsModifiersInFixedOrder) {
    struct Case {
        int bits;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {kComboShift | kComboCtrl | kComboAlt, "A", "Shift+ Ctrl+ Alt + A"},
        {kComboCtrl, "", "Ctrl"},
        {0, "F5", "F5"},
        {0, "", ""},
        {kComboAlt | kComboWin, "Tab", "Win+ Alt + Tab"},
        {kComboCtrl | kComboShift | kComboAlt | kComboWin, "", "Shift+ Ctrl+ Win+ Alt"},
        {kComboCtrl | kComboAlt, "Delete", "Ctrl+ Alt + Delete"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CombinationText(c.bits, c.key), c.text) << c.bits << " " << c.key;
    }
}

}  // namespace
}  // namespace kestrix
