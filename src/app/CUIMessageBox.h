// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MDialog.h"

namespace kestrix {

// Message box types: one OK button, or Yes and No.
inline constexpr int kMessageBoxOk = 0;
inline constexpr int kMessageBoxYesNo = 4;
// Title other code finds a message box by (the transient-window sweep closes it with 2).
inline constexpr char kMessageBoxTitle[] = "MessageBox";

// The skinned message box used for every question and notice: an upper (title) text, a
// lower text and the buttons of its type. Modal; created per question.
class CUIMessageBox : public DUI::MDialog {
  public:
    // Control ids of the first (OK / Yes) and second (No) button.
    static constexpr int kFirstButton = 33;
    static constexpr int kSecondButton = 34;

    CUIMessageBox(int type, std::string upperText, std::string lowerText);

    bool OnInitDialog() override;
    void InitUI(const DUI::Rect& rect) override;
    void OnMessage(int id, int code, std::intptr_t param) override;

  private:
    int m_type;
    std::string m_upper;
    std::string m_lower;
};

// Shows a modal message box over parent (may be null) and returns 1 for the first button
// (OK or Yes) and 2 for the second button or when the box was closed from outside.
int ShowMessageBox(int type, const std::string& upperText, const std::string& lowerText,
                   DUI::MWindow* parent);

}  // namespace kestrix
