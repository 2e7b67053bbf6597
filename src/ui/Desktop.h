// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/DuiTypes.h"

namespace DUI {

class MWindow;

// Opens a URL with the desktop's handler (xdg-open through Qt); false (logged) on failure.
bool OpenUrl(const std::string& url);
// Opens a local file or folder with the desktop's default program; false (logged) on failure.
bool OpenFile(const std::string& path);
// The open dialog, drawn in the window's dark colours and opened in the folder of the last
// chosen file (at first the user's home). filter is "Name (*.ext)" ("Profile (*.xml)"); the
// chosen path (UTF-8) goes to path. False when the user cancelled.
bool ShowOpenFileDialog(MWindow* owner, const std::string& filter, std::string& path);
// The save dialog, drawn and placed as the open dialog, with the same filter form and a suggested
// file name; the extension of the filter's first pattern is added when the typed name has none, and
// an existing file is only replaced after the user confirms. False when cancelled.
bool ShowSaveFileDialog(MWindow* owner, const std::string& filter, const std::string& suggestedName,
                        std::string& path);
// True when the windows are Wayland surfaces: the compositor places top-level windows and
// gives the focus, so windows that must sit at a place are pop-ups of their owner.
bool IsWaylandSession();
// The pointer position in screen coordinates.
Point GetCursorPos();
// Available area (without panels) of the screen holding the point, in screen coordinates.
Rect GetWorkArea(const Point& onScreen);
// Available area of the primary screen.
Rect GetWorkArea();

}  // namespace DUI
