// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the order Tab and Shift+Tab walk a window's controls in.

#include <vector>

class QWidget;

namespace DUI {

// The widgets inside root that Tab reaches now (shown, enabled, taking focus by Tab), in
// reading order: top to bottom, and left to right within a row. Two widgets are in one row
// when the lower one starts above the bottom of the topmost widget of the row. A widget that
// holds tab stops without being one (a panel, an edit's frame) is ordered as a whole at its
// own place and its tab stops follow each other there, so a column of controls is read to its
// end before the column beside it.
std::vector<QWidget*> ReadingOrder(QWidget* root);

// Moves the focus inside window to the next (or, backwards, the previous) tab stop in reading
// order, wrapping at the ends. From a widget that is not a tab stop itself (an edit inside a
// list, a control being hidden) it goes to the tab stop that follows or precedes its place.
// False when the window has no tab stop.
bool FocusNextInReadingOrder(QWidget* window, bool forward);

}  // namespace DUI
