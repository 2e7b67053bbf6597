// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MDialog.h"

namespace kestrix {

// Title the about window is found by.
inline constexpr char kAboutTitle[] = "About Window";

// The about window: logo, the selected mouse's firmware version and the help line. Modal.
class AboutDlg : public DUI::MDialog {
  public:
    static constexpr int kCloseButton = 30;
    static constexpr int kFirmwareLine = 31;
    static constexpr int kSecondLine = 32;

    // firmwareVersion: the selected device's version number (0 = none attached);
    // appVersion: the program's version text (the second line shows it).
    AboutDlg(unsigned firmwareVersion, std::string appVersion);

    // "%s: v%s.%s" of prefix (text 16), the first and the last two characters of the
    // hexadecimal version ("%x").
    static std::string FirmwareLine(const std::string& prefix, unsigned firmwareVersion);
    // Shows the about window modally over parent.
    static void ShowOver(DUI::MWindow* parent, unsigned firmwareVersion,
                         const std::string& appVersion);

    void InitUI(const DUI::Rect& rect) override;
    void OnMessage(int id, int code, std::intptr_t param) override;

  private:
    unsigned m_firmwareVersion;
    std::string m_appVersion;
};

}  // namespace kestrix
