// SPDX-License-Identifier: MIT
#include "editors/KeyNames.h"

#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"

namespace kestrix {

namespace {

using T = KeyFunctionType;

// Values only stored rows carry (imports, older versions); never offered in a box.
struct StoredOnly {
    KeyFunctionType type;
    int value;
    int textId;
};
constexpr StoredOnly kStoredOnly[] = {
    {T::Mouse, 9, text::kScrollLeft},
    {T::Mouse, 10, text::kScrollRight},
    {T::Device, 3, text::kPollingRateSwitch},
    {T::Device, 4, text::kSniper},
    {T::Device, 5, text::kLightingEffectSwitch},
    {T::Device, 6, text::kBatteryCheck},
};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

const std::vector<KeyFunctionBox>& KeyFunctionBoxes() {
    static const std::vector<KeyFunctionBox> boxes = {
        {73,
         T::Mouse,
         {{1, text::kLeftButton},
          {3, text::kRightButton},
          {2, text::kMiddleButton},
          {5, text::kForward},
          {6, text::kBack},
          {4, text::kFireKey},
          {7, text::kScrollUp},
          {8, text::kScrollDown}},
         0},
        {75,
         T::Multimedia,
         {{6, text::kVolumeUp},
          {7, text::kVolumeDown},
          {8, text::kMute},
          {1, text::kMediaPlayer},
          {2, text::kPlayPause},
          {4, text::kPreviousTrack},
          {5, text::kNextTrack},
          {3, text::kStopPlayback}},
         3},
        {77, T::Macro, {}, 0},
        {79,
         T::Shortcut,
         {{1, text::kBrightnessUp},
          {2, text::kBrightnessDown},
          {3, text::kCalculator},
          {4, text::kMyComputer},
          {5, text::kBrowserHome},
          {6, text::kEmail},
          {7, text::kShowDesktop},
          {8, text::kTaskView},
          {9, text::kCopy},
          {11, text::kCut},
          {10, text::kPaste}},
         2},
        {81, T::Dpi, {{3, text::kDpiCycle}, {1, 0, "DPI +"}, {2, 0, "DPI -"}}, 0},
        {83, T::Device, {{1, text::kProfileSwitch}, {2, text::kLightingOnOff}}, 0},
    };
    return boxes;
}

const KeyFunctionBox* KeyFunctionBoxOf(int controlId) {
    for (const KeyFunctionBox& box : KeyFunctionBoxes()) {
        if (box.controlId == controlId) return &box;
    }
    return nullptr;
}

std::string KeyFunctionItemText(const KeyFunctionItem& item) {
    return item.textId != 0 ? GetLanText(item.textId) : std::string(item.literal);
}

int KeyFunctionTextId(KeyFunctionType type, int value) {
    for (const KeyFunctionBox& box : KeyFunctionBoxes()) {
        if (box.type != type) continue;
        for (const KeyFunctionItem& item : box.offered) {
            if (item.value == value) return item.textId;
        }
    }
    for (const StoredOnly& entry : kStoredOnly) {
        if (entry.type == type && entry.value == value) return entry.textId;
    }
    return 0;
}

std::string ShownMacroName(std::string_view stored) {
    for (std::string_view prefix : {std::string_view("Custom"), std::string_view("自定义")}) {
        if (StartsWith(stored, prefix)) {
            return GetLanText(text::kCustom) + std::string(stored.substr(prefix.size()));
        }
    }
    for (std::string_view suffix : {std::string_view("Copy"), std::string_view("复制")}) {
        if (EndsWith(stored, suffix)) {
            std::string_view base = stored.substr(0, stored.size() - suffix.size());
            // Copies are stored as "<name> Copy"; the shown form brings its own blank, so the
            // stored one goes, or the shown name would carry two.
            if (!base.empty() && base.back() == ' ') base.remove_suffix(1);
            return std::string(base) + " " + GetLanText(text::kCopy);
        }
    }
    return std::string(stored);
}

std::string AssignmentDisplayText(const KeyAssignmentRow& row) {
    const auto type = static_cast<KeyFunctionType>(row.macroType);
    int textId = 0;
    switch (type) {
        case T::Mouse:
        case T::Multimedia:
        case T::Shortcut:
            textId = KeyFunctionTextId(type, row.macroValue);
            break;
        case T::Device:
            // Device function 2 has no fixed text of its own here: its stored text is shown.
            textId = row.macroValue == 2 ? 0 : KeyFunctionTextId(type, row.macroValue);
            break;
        case T::Macro:
            return ShownMacroName(row.macroDesc);
        case T::Repeat:
            textId = text::kRapidFire;
            break;
        case T::FixedFunction:
            textId = text::kDisableButton;
            break;
        default:
            break;
    }
    return textId != 0 ? GetLanText(textId) : row.macroDesc;
}

}  // namespace kestrix
