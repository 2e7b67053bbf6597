// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/DuiTypes.h"

namespace DUI {

class MWindow;

// Runs fn on the UI thread after everything posted before it. PostToUiThread and
// MWindow::PostMessage share one first-in first-out queue, so calls made by one thread
// arrive in the order they were made. Thread-safe. Without a toolkit application the call
// is dropped with a log line.
void PostToUiThread(std::function<void()> fn);
// True on the thread that runs the toolkit's windows.
bool IsUiThread();
// Posts msg to the window behind handle through the same queue; false (and nothing
// delivered) when the handle names no live window at post time. A window destroyed before
// delivery drops the message. Thread-safe.
bool PostWindowMessage(WindowHandle handle, unsigned msg, std::uintptr_t wParam,
                       std::intptr_t lParam);
// The live window behind handle, or nullptr. UI thread only.
MWindow* FromHandle(WindowHandle handle);
// Every live window of class "MWindow" whose title equals title, oldest first. UI thread only.
std::vector<MWindow*> FindWindows(const std::string& title);
// Every live window of the given class and title, oldest first. UI thread only.
std::vector<MWindow*> FindWindows(const std::string& className, const std::string& title);
// Runs the toolkit's pending events once (tests and start-up); does not block.
void ProcessPendingEvents();

}  // namespace DUI
