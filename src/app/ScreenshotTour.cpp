#include "app/ScreenshotTour.h"

#include "app/DeviceMainDlg.h"

namespace kestrix {

void StartScreenshotTour(DeviceMainDlg& /*window*/, const std::string& /*folder*/) {}

}  // namespace kestrix
