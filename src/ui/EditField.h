// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the line edit inside MEdit and DPIControl.

#include <QLineEdit>

#include <functional>

namespace DUI {

class EditField : public QLineEdit {
  public:
    explicit EditField(QWidget* parent);
    // Called on focus gained (true) and lost (false).
    std::function<void(bool)> onFocus;
    // Called on Escape; true when handled.
    std::function<bool()> onEscape;
    // Sees every key first; true when handled.
    std::function<bool(QKeyEvent*)> onKey;

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace DUI
