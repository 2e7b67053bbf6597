// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the Qt side of MWindow.

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ui/DuiTypes.h"
#include "ui/MWindow.h"

class QEventLoop;
class QTimer;

namespace DUI {

class MWindow;
struct WindowImpl;

// The native top-level widget of one MWindow.
class NativeWindow : public QWidget {
  public:
    NativeWindow(WindowImpl* impl, QWidget* parent, Qt::WindowFlags flags);
    // Cleared when the MWindow lets go of the widget; events are then ignored.
    WindowImpl* m_impl;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    // Tab and Shift+Tab walk the window's controls in reading order.
    bool focusNextPrevChild(bool next) override;
    // Escape no control used goes to the dialog's OnEscape.
    void keyPressEvent(QKeyEvent* event) override;
};

// Shared between the nested loop of ShowModal and the window, so the loop can end cleanly
// even when the window object goes away while it runs.
struct ModalState {
    QEventLoop* loop = nullptr;
    int result = kIdCancel;
    bool done = false;
};

struct WindowImpl {
    explicit WindowImpl(MWindow* owner) : m_owner(owner) {}

    MWindow* m_owner;
    QPointer<NativeWindow> m_widget;
    WindowHandle m_handle = 0;
    std::string m_title;
    MWindow* m_parent = nullptr;
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
    int m_result = kIdCancel;
    std::map<int, QTimer*> m_timers;
    std::shared_ptr<ModalState> m_modal;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_pendingShow = false;
    bool m_destroying = false;
    // Minimised by the program on Wayland and not activated since. The compositor never
    // reports the minimised state, and Qt forgets it with the next configure.
    bool m_waylandMinimized = false;
    int m_captionHeight = 0;
    int m_resizeBorder = 0;
    QSize m_lastSize;

    // Background: image (nine-slice with the back-mode margin) or colours.
    std::string m_bkImage;
    int m_backMode = 0;
    int m_backValue = 0;
    bool m_layered = false;
    bool m_rounded = false;
    QColor m_bkColour{26, 26, 26};
    QColor m_borderColour;

    // PreTranslateMessage, then OnWindowMessage.
    std::intptr_t Deliver(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    // Tears the native side down (DestroyWindow and the destructor).
    void Teardown(bool callHandlers);
    // Paints the background of the client area.
    void PaintBackground(QPainter& painter, const QRect& rect);
    // Sends a key event to the dialog; true when it was consumed.
    bool DispatchKey(const KeyEvent& key);
    // The native widget of a window (nullptr when it has none).
    static QWidget* WidgetOf(const MWindow* window) {
        return window ? window->m_impl->m_widget.data() : nullptr;
    }
};

// Registers a live window and returns its new handle.
WindowHandle RegisterWindow(MWindow* window);
// Forgets a handle.
void UnregisterWindow(WindowHandle handle);
// Installs the application-wide key filter once.
void EnsureKeyFilter();

}  // namespace DUI
