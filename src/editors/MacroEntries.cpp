// SPDX-License-Identifier: MIT
#include "editors/MacroEntries.h"

#include <algorithm>

#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"

namespace kestrix {

namespace {

constexpr std::string_view kDownArrow = "\xE2\x86\x93  ";  // "↓  "
constexpr std::string_view kUpArrow = "\xE2\x86\x91  ";    // "↑  "

// name: how a stored event names the button (kept in the store and in exported files);
// textId: the button's name in the window's language, as the event list shows it.
struct MouseButton {
    int itemData;
    int bits;
    const char* name;
    int textId;
};
constexpr MouseButton kMouseButtons[] = {
    {1, kButtonLeft, "LB", text::kLeftButton},     {3, kButtonRight, "RB", text::kRightButton},
    {2, kButtonMiddle, "MB", text::kMiddleButton}, {5, kButtonForward, "Forward", text::kForward},
    {6, kButtonBack, "Backward", text::kBack},
};

bool IsButtonEntry(int type) { return type == kEntryButtonDown || type == kEntryButtonUp; }

}  // namespace

int ClampToRange(int value, int lowest, int highest) { return std::clamp(value, lowest, highest); }

int MaxPlayTimes(int model) { return model < kFirstModelWithByteRepeats ? 999 : 255; }

std::string DelayText(int milliseconds) { return std::to_string(milliseconds) + " ms"; }

std::string DelayLabel(int milliseconds) {
    return std::to_string(milliseconds) + " " + GetLanText(text::kUnitMs);
}

std::string PressText(bool down, std::string_view name) {
    return std::string(down ? kDownArrow : kUpArrow) + std::string(name);
}

std::string NameOfPressText(std::string_view text) {
    for (std::string_view arrow : {kDownArrow, kUpArrow}) {
        if (text.substr(0, arrow.size()) == arrow) return std::string(text.substr(arrow.size()));
    }
    return std::string(text);
}

std::string MouseButtonName(int bits) {
    for (const MouseButton& button : kMouseButtons) {
        if (button.bits == bits) return button.name;
    }
    return {};
}

std::string MouseButtonLabel(int bits) {
    for (const MouseButton& button : kMouseButtons) {
        if (button.bits == bits) return GetLanText(button.textId);
    }
    return {};
}

std::string ShownText(const DUI::RecordEntry& entry) {
    if (entry.type == kEntryDelay) return DelayLabel(entry.value);
    if (IsButtonEntry(entry.type))
        return PressText(entry.type == kEntryButtonDown, MouseButtonLabel(entry.value));
    return entry.text;
}

std::string StoredText(const DUI::RecordEntry& entry) {
    if (entry.type == kEntryDelay) return DelayText(entry.value);
    if (IsButtonEntry(entry.type))
        return PressText(entry.type == kEntryButtonDown, MouseButtonName(entry.value));
    return entry.text;
}

int MouseButtonBitsOfItem(int itemData) {
    for (const MouseButton& button : kMouseButtons) {
        if (button.itemData == itemData) return button.bits;
    }
    return 0;
}

int MouseButtonItemOfBits(int bits) {
    for (const MouseButton& button : kMouseButtons) {
        if (button.bits == bits) return button.itemData;
    }
    return 0;
}

DUI::RecordEntry DelayEntry(int milliseconds, unsigned stamp) {
    return {DelayLabel(milliseconds), kEntryDelay, milliseconds, stamp};
}

DUI::RecordEntry KeyEntry(bool down, int vk, std::string_view name, unsigned stamp) {
    return {PressText(down, name), down ? kEntryKeyDown : kEntryKeyUp, vk, stamp};
}

DUI::RecordEntry ButtonEntry(bool down, int bits, unsigned stamp) {
    return {PressText(down, MouseButtonLabel(bits)), down ? kEntryButtonDown : kEntryButtonUp, bits,
            stamp};
}

std::vector<DUI::RecordEntry> InsertedClick(int bits, unsigned tick) {
    return {ButtonEntry(true, bits, tick), DelayEntry(kInsertedDelay, tick + 1),
            ButtonEntry(false, bits, tick), DelayEntry(kInsertedDelay, tick + 2)};
}

std::vector<DUI::RecordEntry> InsertedKeyPress(int vk, std::string_view name, unsigned tick) {
    return {KeyEntry(true, vk, name, tick), DelayEntry(kInsertedDelay, tick + 1),
            KeyEntry(false, vk, name, tick), DelayEntry(kInsertedDelay, tick + 2)};
}

}  // namespace kestrix
