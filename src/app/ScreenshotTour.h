#pragma once

#include <string>

namespace kestrix {

class DeviceMainDlg;

// Walks the main window through its views once the first device read is done (home, each
// device page, settings), saves a PNG picture of each into folder and ends the loop.
void StartScreenshotTour(DeviceMainDlg& window, const std::string& folder);

}  // namespace kestrix
