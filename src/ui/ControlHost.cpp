// SPDX-License-Identifier: MIT
#include "ui/ControlHost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/KeyboardUse.h"
#include "ui/MControl.h"
#include "ui/Theme.h"

namespace DUI {

ControlHost::ControlHost(MControl* control, QWidget* parent) : QWidget(parent), m_control(control) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

bool ControlHost::FocusRingShown() { return MControl::s_focusVisible; }

void ControlHost::ShowFocusRing() { MControl::s_focusVisible = true; }

bool KeyboardInUse() { return ControlHost::FocusRingShown(); }

ControlHost::~ControlHost() {
    if (m_control) {
        m_control->m_host = nullptr;
    }
}

void ControlHost::paintEvent(QPaintEvent*) {
    if (!m_control) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Theme::SetPaintingControl(m_control);
    m_control->Paint(painter);
    Theme::SetPaintingControl(nullptr);
}

void ControlHost::mousePressEvent(QMouseEvent* event) {
    if (MControl::s_focusVisible) {
        // The ring of the control focused by keyboard goes with the first click.
        MControl::s_focusVisible = false;
        if (QWidget* focus = QApplication::focusWidget()) focus->update();
    }
    if (m_control && isEnabled()) {
        m_control->MousePress(*event);
    }
}

void ControlHost::mouseMoveEvent(QMouseEvent* event) {
    if (m_control && isEnabled()) {
        m_control->MouseMove(*event);
    }
}

void ControlHost::mouseReleaseEvent(QMouseEvent* event) {
    if (m_control && isEnabled()) {
        m_control->MouseRelease(*event);
    }
}

void ControlHost::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_control && isEnabled()) {
        m_control->MouseDoubleClick(*event);
    }
}

void ControlHost::wheelEvent(QWheelEvent* event) {
    if (m_control && isEnabled()) {
        m_control->Wheel(*event);
    } else {
        event->ignore();
    }
}

void ControlHost::keyPressEvent(QKeyEvent* event) {
    if (!MControl::s_focusVisible) {
        MControl::s_focusVisible = true;
        update();
    }
    if (!m_control || !m_control->KeyPress(*event)) {
        QWidget::keyPressEvent(event);
    }
}

void ControlHost::focusInEvent(QFocusEvent*) {
    if (m_control) {
        m_control->FocusChanged(true);
        update();
    }
}

void ControlHost::focusOutEvent(QFocusEvent*) {
    if (m_control) {
        m_control->FocusChanged(false);
        update();
    }
}

void ControlHost::enterEvent(QEnterEvent*) {
    if (m_control) {
        m_control->m_hovered = true;
        m_control->HoverChanged(true);
        update();
    }
}

void ControlHost::leaveEvent(QEvent*) {
    if (m_control) {
        m_control->m_hovered = false;
        m_control->HoverChanged(false);
        update();
    }
}

void ControlHost::resizeEvent(QResizeEvent*) {
    if (m_control) {
        m_control->Resized();
    }
}

void ControlHost::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace DUI
