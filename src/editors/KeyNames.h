// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/StoreRows.h"

namespace kestrix {

// Kinds of button assignment (the macro_type column of t_key_macro_data).
enum class KeyFunctionType : int {
    Mouse = 1,         // mouse button or wheel step
    Keyboard = 2,      // key with modifier bits (key-combination panel)
    Multimedia = 3,    // consumer-page function
    Macro = 4,         // macro of the library, macro_value = macro_id
    Dpi = 5,           // DPI stage function
    Device = 6,        // device function
    Repeat = 7,        // rapid fire with two parameters
    Shortcut = 8,      // system shortcut
    FixedFunction = 9  // the fixed function of button 89
};

// One offered item of a function list box: its value (the item data) and its text, a
// language text id or, for the two DPI steps, a fixed text.
struct KeyFunctionItem {
    int value = 0;
    int textId = 0;            // 0 when literal is used
    const char* literal = "";  // fixed text ("DPI +")
};

// One of the six function list boxes of the button page.
struct KeyFunctionBox {
    int controlId = 0;
    KeyFunctionType type = KeyFunctionType::Mouse;
    std::vector<KeyFunctionItem> offered;  // in the order the box lists them
    int neutralIndex = 0;                  // item selected when the button has no such row
};

// The six list boxes (73 mouse, 75 multimedia, 77 macro, 79 shortcuts, 81 DPI, 83 device);
// the macro box is listed without items (they are the macro library).
const std::vector<KeyFunctionBox>& KeyFunctionBoxes();
// The box with this control id, nullptr when none.
const KeyFunctionBox* KeyFunctionBoxOf(int controlId);

// Text of an item (language text in the current language, or the fixed text).
std::string KeyFunctionItemText(const KeyFunctionItem& item);

// Text id of a stored (type, value) pair: the offered items plus the values only stored
// rows carry (mouse 9 and 10, device 3 to 6); 0 when the pair has no fixed text.
int KeyFunctionTextId(KeyFunctionType type, int value);

// Shown name of a stored macro name: "Custom…"/"自定义…" becomes text 351 and the rest,
// "…Copy"/"…复制" becomes the rest (less one blank before the word), a blank and text 31;
// other names are unchanged.
std::string ShownMacroName(std::string_view stored);

// Text the button list shows for an assignment row: the fixed text of its type and value
// where there is one, the localised macro name for macros, else the stored description.
std::string AssignmentDisplayText(const KeyAssignmentRow& row);

}  // namespace kestrix
