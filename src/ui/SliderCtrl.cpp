// SPDX-License-Identifier: MIT
#include "ui/SliderCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <cmath>

#include "ui/Theme.h"

namespace DUI {

void SliderCtrl::SetRange(int minimum, int maximum) {
    m_min = std::min(minimum, maximum);
    m_max = std::max(minimum, maximum);
    m_value = std::clamp(m_value, m_min, m_max);
    Invalidate();
}

int SliderCtrl::GetMin() const { return m_min; }

int SliderCtrl::GetMax() const { return m_max; }

void SliderCtrl::SetValue(int value) {
    m_value = std::clamp(value, m_min, m_max);
    Invalidate();
}

int SliderCtrl::GetValue() const { return m_value; }

void SliderCtrl::DragTo(int value) {
    const int clamped = std::clamp(value, m_min, m_max);
    if (clamped != m_value) {
        m_value = clamped;
        Invalidate();
        Notify(kNotifyDragging, m_value);
    }
    Notify(kNotifyClick, m_value);
}

double SliderCtrl::Fraction() const {
    return m_max == m_min ? 0.0 : static_cast<double>(m_value - m_min) / (m_max - m_min);
}

bool SliderCtrl::IsDragging() const { return m_dragging; }

int SliderCtrl::ValueAt(double x) const {
    const QRectF track = TrackRect();
    const double fraction = std::clamp((x - track.left()) / std::max(1.0, track.width()), 0.0, 1.0);
    return m_min + static_cast<int>(std::lround(fraction * (m_max - m_min)));
}

void SliderCtrl::MousePress(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        return;
    }
    Widget()->setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    const int value = ValueAt(event.position().x());
    if (value != m_value) {
        m_value = value;
        Notify(kNotifyDragging, m_value);
    }
    Invalidate();
}

void SliderCtrl::MouseMove(QMouseEvent& event) {
    if (!m_dragging) {
        return;
    }
    const int value = ValueAt(event.position().x());
    if (value != m_value) {
        m_value = value;
        Invalidate();
        Notify(kNotifyDragging, m_value);
    }
}

void SliderCtrl::MouseRelease(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !m_dragging) {
        return;
    }
    m_dragging = false;
    Invalidate();
    Notify(kNotifyClick, m_value);
}

bool SliderCtrl::KeyPress(QKeyEvent& event) {
    const int page = std::max(1, (m_max - m_min) / 10);
    switch (event.key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            DragTo(m_value - 1);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Up:
            DragTo(m_value + 1);
            return true;
        case Qt::Key_PageDown:
            DragTo(m_value - page);
            return true;
        case Qt::Key_PageUp:
            DragTo(m_value + page);
            return true;
        case Qt::Key_Home:
            DragTo(m_min);
            return true;
        case Qt::Key_End:
            DragTo(m_max);
            return true;
        default:
            return false;
    }
}

void SliderCtrl::Wheel(QWheelEvent& event) {
    // The wheel scrolls the page; sliders change only when focused, to avoid accidents.
    if (!Widget()->hasFocus()) {
        event.ignore();
        return;
    }
    DragTo(m_value + (event.angleDelta().y() > 0 ? 1 : -1));
}

bool SliderCtrl::AcceptsFocus() const { return true; }

void SliderCtrl::PaintTrack(QPainter& painter, const QRectF& track, bool withStops) {
    const VisualState state = State();
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    const qreal height = 6;
    const QRectF bar(track.left(), track.center().y() - height / 2, track.width(), height);
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    QPainterPath barPath;
    barPath.addRoundedRect(bar, height / 2, height / 2);
    if (!image.isNull()) {
        Theme::DrawNineSlice(painter, bar, image, static_cast<int>(height / 2));
    } else {
        painter.fillPath(barPath, Theme::kTrack);
    }
    const qreal x = bar.left() + bar.width() * Fraction();
    QLinearGradient fill(bar.topLeft(), QPointF(std::max(x, bar.left() + 1), bar.top()));
    fill.setColorAt(0, Theme::Accent().darker(130));
    fill.setColorAt(1, Theme::Accent());
    painter.save();
    painter.setClipRect(QRectF(bar.left(), bar.top() - 1, x - bar.left(), bar.height() + 2));
    painter.fillPath(barPath, fill);
    painter.restore();
    if (withStops && m_max > m_min && m_max - m_min <= 20) {
        for (int i = 0; i <= m_max - m_min; ++i) {
            const qreal sx = bar.left() + bar.width() * i / (m_max - m_min);
            const bool passed = sx <= x + 0.5;
            painter.setPen(Qt::NoPen);
            painter.setBrush(passed ? Theme::kHeading : QColor(110, 110, 118));
            painter.drawEllipse(QPointF(sx, bar.center().y()), 2.5, 2.5);
        }
    }
    const qreal radius = (state.hover || m_dragging) ? 10 : 9;
    if (state.focused || m_dragging) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::WithAlpha(Theme::Accent(), 0.25));
        painter.drawEllipse(QPointF(x, bar.center().y()), radius + 5, radius + 5);
    }
    painter.setPen(QPen(Theme::Accent(), 3));
    painter.setBrush(QColor(240, 240, 240));
    painter.drawEllipse(QPointF(x, bar.center().y()), radius - 1.5, radius - 1.5);
    painter.restore();
}

}  // namespace DUI
