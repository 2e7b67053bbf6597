// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the widget every control paints into and takes input from.

#include <QWidget>

namespace DUI {

class MControl;

class ControlHost : public QWidget {
  public:
    ControlHost(MControl* control, QWidget* parent);
    ~ControlHost() override;
    // Cleared when the control object goes first.
    MControl* m_control;
    // Whether the focus ring shows (the keyboard is in use).
    static bool FocusRingShown();
    // Shows the focus ring from now until the next mouse press (Tab moved the focus).
    static void ShowFocusRing();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
};

}  // namespace DUI
