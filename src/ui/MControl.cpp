// SPDX-License-Identifier: MIT
#include "ui/MControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/ControlHost.h"
#include "ui/MDialog.h"
#include "ui/Theme.h"

namespace DUI {

MControl::MControl() = default;

MControl::~MControl() {
    if (m_host) {
        m_host->m_control = nullptr;
        m_host->deleteLater();
    }
}

void MControl::Attach(MDialog* owner, QWidget* parentWidget, int id, const std::string& className,
                      const Rect& rect) {
    m_owner = owner;
    m_id = id;
    m_className = className;
    m_host = new ControlHost(this, parentWidget);
    m_host->setFocusPolicy(AcceptsFocus() ? Qt::StrongFocus : Qt::NoFocus);
    m_host->setAttribute(Qt::WA_TransparentForMouseEvents, TransparentForMouse());
    m_host->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    OnCreated();
    m_host->show();
}

void MControl::Detach() { m_owner = nullptr; }

void MControl::SetVisible(bool visible) {
    m_visible = visible;
    if (m_host) {
        m_host->setVisible(visible);
    }
}

bool MControl::IsVisible() const { return m_visible; }

void MControl::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (m_host) {
        m_host->setEnabled(enabled);
        m_host->update();
    }
}

bool MControl::IsEnabled() const { return m_enabled; }

void MControl::SetRect(const Rect& rect) {
    if (m_host) {
        m_host->setGeometry(rect.left, rect.top, std::max(0, rect.Width()),
                            std::max(0, rect.Height()));
    }
}

Rect MControl::GetRect() const {
    if (!m_host) {
        return {};
    }
    const QRect g = m_host->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void MControl::OnFocus() {
    if (m_host) {
        m_host->setFocus(Qt::OtherFocusReason);
    }
}

void MControl::KillFocus() {
    if (!m_host) {
        return;
    }
    QWidget* focused = m_host->focusWidget();
    if (m_host->hasFocus() || (focused && m_host->isAncestorOf(focused))) {
        QWidget* focus = QApplication::focusWidget();
        if (focus) {
            focus->clearFocus();
        }
    }
}

bool MControl::s_focusVisible = false;

bool MControl::HasFocus() const {
    if (!m_host) {
        return false;
    }
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == m_host || m_host->isAncestorOf(focus));
}

int MControl::GetID() const { return m_id; }

const std::string& MControl::GetClassName() const { return m_className; }

MDialog* MControl::GetOwner() const { return m_owner; }

const std::string& MControl::GetToolTip() const { return m_toolTip; }

void MControl::SetAccessibleName(const std::string& name) { m_accessibleName = name; }

std::string MControl::AccessibleName() const {
    return m_accessibleName.empty() ? m_toolTip : m_accessibleName;
}

void MControl::SetToolTip(const std::string& text) {
    m_toolTip = text;
    if (m_host) {
        m_host->setToolTip(QString::fromStdString(text));
        if (!text.empty()) {
            m_host->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        }
    }
}

void MControl::SetImage(const std::string& imageName) {
    m_image = imageName;
    Invalidate();
}

const std::string& MControl::GetImage() const { return m_image; }

void MControl::Invalidate() {
    if (m_host) {
        m_host->update();
    }
}

void MControl::SetPreviewState(bool hover, bool pressed) {
    m_previewHover = hover;
    m_previewPressed = pressed;
    Invalidate();
}

void MControl::Notify(int code, std::intptr_t param) {
    if (m_owner) {
        m_owner->OnMessage(m_id, code, param);
    }
}

QWidget* MControl::Widget() const { return m_host; }

VisualState MControl::State() const {
    VisualState state;
    state.hover = IsHovered();
    state.pressed = IsPressed();
    state.checked = IsCheckedForPaint();
    state.disabled = !m_enabled || (m_host && !m_host->isEnabled());
    state.focused = s_focusVisible && HasFocus();
    return state;
}

bool MControl::IsHovered() const { return m_hovered || m_previewHover; }

bool MControl::IsPressed() const { return m_pressed || m_previewPressed; }

bool MControl::IsCheckedForPaint() const { return false; }

void MControl::OnCreated() {}

void MControl::Paint(QPainter&) {}

void MControl::MousePress(QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) {
        m_pressed = true;
        if (AcceptsFocus() && m_host) {
            m_host->setFocus(Qt::MouseFocusReason);
        }
        Invalidate();
    }
}

void MControl::MouseMove(QMouseEvent&) {}

void MControl::MouseRelease(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !m_pressed) {
        return;
    }
    m_pressed = false;
    Invalidate();
    if (m_host && m_host->rect().contains(event.position().toPoint())) {
        Clicked();
    }
}

void MControl::MouseDoubleClick(QMouseEvent& event) {
    // A double click counts as a second press, as a click on a plain button would.
    MousePress(event);
}

void MControl::Wheel(QWheelEvent& event) { event.ignore(); }

bool MControl::KeyPress(QKeyEvent& event) {
    if (AcceptsFocus() && (event.key() == Qt::Key_Space || event.key() == Qt::Key_Return ||
                           event.key() == Qt::Key_Enter)) {
        Clicked();
        return true;
    }
    return false;
}

void MControl::FocusChanged(bool) {}

void MControl::HoverChanged(bool) {}

void MControl::Resized() {}

void MControl::Clicked() {}

bool MControl::AcceptsFocus() const { return false; }

bool MControl::TransparentForMouse() const { return false; }

void MControl::Tick() {}

void MControl::SetAnimating(bool animating) {
    if (m_animating == animating) return;
    m_animating = animating;
    if (m_owner != nullptr) m_owner->UpdateControlTimer();
}

void MControl::ChildAdded(MControl*) {}

}  // namespace DUI
