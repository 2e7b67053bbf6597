// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/CRecordList.h"

namespace kestrix {

// Entries of a macro's event list (one stored macro record each): their texts, the entries
// the insert menu adds, and the limits and ranges of the macro page.

// Most entries the insert menu lets a list grow to.
inline constexpr int kMaxMacroEntries = 200;
// Most events (entries other than delays) a recording collects.
inline constexpr int kRecordingEventLimit = 30;
// Longest delay a recording measures between two keys, in ms.
inline constexpr int kMaxRecordedDelay = 31000;
// Range of a typed delay (fixed delay field, delay entries) in ms.
inline constexpr int kMinDelay = 1;
inline constexpr int kMaxDelay = 10000;
// Delay of the entries the insert menu adds, in ms.
inline constexpr int kInsertedDelay = 10;
// Models from this number on take at most 255 repeats, older ones 999.
inline constexpr int kFirstModelWithByteRepeats = 201;

// Entry types (the type column of t_macrorecord).
inline constexpr int kEntryDelay = 1;
inline constexpr int kEntryKeyDown = 2;
inline constexpr int kEntryKeyUp = 3;
inline constexpr int kEntryButtonDown = 4;
inline constexpr int kEntryButtonUp = 5;

// Mouse button bits of button entries.
inline constexpr int kButtonLeft = 1;
inline constexpr int kButtonRight = 2;
inline constexpr int kButtonMiddle = 4;
inline constexpr int kButtonBack = 8;
inline constexpr int kButtonForward = 16;

// value clamped to lowest..highest.
int ClampToRange(int value, int lowest, int highest);
// Largest play count of a model: 999 below model 201, else 255.
int MaxPlayTimes(int model);

// "%d ms": a delay as the store and exported files hold it.
std::string DelayText(int milliseconds);
// A delay as the event list shows it, with the unit of the current language.
std::string DelayLabel(int milliseconds);
// "↓  name" for a press, "↑  name" for a release (an arrow and two blanks).
std::string PressText(bool down, std::string_view name);
// The name in a press text ("↓  A" -> "A"); the text itself when it has no arrow.
std::string NameOfPressText(std::string_view text);
// "LB", "RB", "MB", "Backward" or "Forward" for one button bit, as stored events name the
// button; "" for other values.
std::string MouseButtonName(int bits);
// The button's name in the current language (the button list's names); "" for other values.
std::string MouseButtonLabel(int bits);
// The text the event list shows for entry: delays and mouse buttons in the current language,
// keys as they are.
std::string ShownText(const DUI::RecordEntry& entry);
// The text the store keeps for entry (language-independent for delays and mouse buttons).
std::string StoredText(const DUI::RecordEntry& entry);
// Button bits of an item of the event editor's mouse box (data 1 LB, 3 RB, 2 MB, 5 forward,
// 6 back); 0 for other data.
int MouseButtonBitsOfItem(int itemData);
// The mouse box item data of button bits (inverse of MouseButtonBitsOfItem); 0 when none.
int MouseButtonItemOfBits(int bits);

// A delay entry.
DUI::RecordEntry DelayEntry(int milliseconds, unsigned stamp);
// A key press or release entry.
DUI::RecordEntry KeyEntry(bool down, int vk, std::string_view name, unsigned stamp);
// A mouse button press or release entry.
DUI::RecordEntry ButtonEntry(bool down, int bits, unsigned stamp);

// The four entries of a click or key press inserted by hand at tick t: press (stamp t), a
// 10 ms delay (t + 1), release (t), another 10 ms delay (t + 2).
std::vector<DUI::RecordEntry> InsertedClick(int bits, unsigned tick);
std::vector<DUI::RecordEntry> InsertedKeyPress(int vk, std::string_view name, unsigned tick);

}  // namespace kestrix
