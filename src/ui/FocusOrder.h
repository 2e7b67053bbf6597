// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the order Tab and Shift+Tab walk a window's controls in.

#include <vector>

class QWidget;

namespace DUI {

// Whether widget, or a widget it lies in, is wholly under a shown sibling stacked above it (a
// panel slid over a group of controls): it cannot be clicked, and Tab skips it.
bool IsCovered(const QWidget* widget);

// Moves the focus inside window to the next (or, backwards, the previous) tab stop, wrapping
// at the ends. Tab stops are the shown, enabled, uncovered widgets taking focus by Tab, in
// reading order: top to bottom, and left to right within a row. Two widgets are in one row
// when the lower one starts above the bottom of the topmost widget of the row; widgets
// without tab stops (labels, backgrounds) are not counted. A widget that holds tab stops
// without being one (a panel, an edit's frame) is ordered as a whole at its own place and its
// tab stops follow each other there, so a column of controls is read to its end before the
// column beside it. From a widget that is not a tab stop itself (an edit inside a list, a
// control being hidden) it goes to the tab stop that follows or precedes its place. False
// when the window has no tab stop.
bool FocusNextInReadingOrder(QWidget* window, bool forward);

}  // namespace DUI
