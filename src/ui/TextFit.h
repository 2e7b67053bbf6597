// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

namespace DUI {

// A text a control had to cut while painting: wider than its rectangle on one line, or
// taller than its rectangle when wrapped.
struct CutText {
    std::string window;     // title of the window the control is in
    int controlId = 0;      // the control's id (0 when drawn outside a control)
    std::string className;  // the control's class name
    std::string text;       // the whole text
    int needed = 0;         // width (or wrapped height) the text needs, in pixels
    int available = 0;      // width (or height) it was given
};

using CutTextObserver = std::function<void(const CutText&)>;

// Installs the observer told of every cut text while it is installed ({} removes it). Texts
// a control elides on purpose (names the user typed, long macro names) are not reported.
// The window's text-fit check in the tests uses this; without an observer nothing is measured
// beyond what eliding needs. UI thread only.
void SetCutTextObserver(CutTextObserver observer);

}  // namespace DUI
