// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/MDialog.h"

namespace kestrix {

// The small window that asks for one key when a key press is inserted into a macro by hand:
// a key field that, while focused, shows the last key pressed (modifiers included), and a
// confirm button. Titled "RecordEditDlg", 360 x 150.
class RecordEditDlg : public DUI::MDialog {
  public:
    // Control ids as the dialog's OnMessage sees them.
    static constexpr int kTitle = 31;
    static constexpr int kCloseButton = 32;
    static constexpr int kLabel = 33;
    static constexpr int kKeyField = 34;
    static constexpr int kConfirmButton = 35;
    // Window title other code finds the dialog by.
    static constexpr const char* kWindowTitle = "RecordEditDlg";
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 150;

    // The key the user chose.
    struct Result {
        int vk = 0;  // 0 when cancelled or no key was pressed
        std::string name;
    };

    // Shows the dialog modally, centred on owner; the chosen key, or vk 0.
    static Result Ask(DUI::MWindow* owner);

    // The captured key (vk 0 while none).
    const Result& Captured() const { return m_captured; }
    // True while the key field has the focus and keys are taken.
    bool IsCapturing() const { return m_capturing; }

    void InitUI(const DUI::Rect& rect) override;
    void OnMessage(int id, int code, std::intptr_t param) override;
    bool OnKeyEvent(const DUI::KeyEvent& key) override;

  private:
    Result m_captured;
    bool m_capturing = false;
};

}  // namespace kestrix
