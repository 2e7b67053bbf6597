// SPDX-License-Identifier: MIT
#pragma once

namespace DUI {

// True from a key press until the next mouse press, in every window: the focus ring shows.
// Lets a page tell a control worked from the keyboard from one that was clicked. UI thread.
bool KeyboardInUse();

}  // namespace DUI
