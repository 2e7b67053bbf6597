// SPDX-License-Identifier: MIT
#include "ui/NumberEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "ui/EditField.h"
#include "ui/Theme.h"

namespace DUI {

namespace {
constexpr int kButtonWidth = 22;
}

NumberEdit::NumberEdit() { SetNumber(true); }

void NumberEdit::OnCreated() {
    MEdit::OnCreated();
    static_cast<EditField*>(Field())->onKey = [this](QKeyEvent* event) {
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
            StepBy(event->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        return false;
    };
}

void NumberEdit::SetRange(int minimum, int maximum) {
    m_min = std::min(minimum, maximum);
    m_max = std::max(minimum, maximum);
}

void NumberEdit::SetStep(int step) { m_step = std::max(1, step); }

void NumberEdit::StepBy(int steps) {
    const long long next =
        static_cast<long long>(GetInt()) + static_cast<long long>(steps) * m_step;
    SetInt(static_cast<int>(std::clamp<long long>(next, m_min, m_max)));
    Notify(kNotifyClick);
}

int NumberEdit::RightInset() const { return kButtonWidth; }

void NumberEdit::Paint(QPainter& painter) {
    MEdit::Paint(painter);
    const QRectF area = QRectF(Widget()->rect()).adjusted(1, 1, -1, -1);
    const QRectF buttons(area.right() - kButtonWidth - 2, area.top() + 3, kButtonWidth,
                         area.height() - 6);
    const QRectF up(buttons.left(), buttons.top(), buttons.width(), buttons.height() / 2);
    const QRectF down(buttons.left(), buttons.center().y(), buttons.width(), buttons.height() / 2);
    painter.setPen(QPen(Theme::kPanelBorder, 1));
    painter.drawLine(QPointF(buttons.left() - 1, buttons.top() + 2),
                     QPointF(buttons.left() - 1, buttons.bottom() - 2));
    if (m_hoverButton != 0) {
        Theme::DrawPanel(painter, m_hoverButton > 0 ? up : down, QColor(255, 255, 255, 22),
                         Qt::transparent, 3);
    }
    const QColor colour =
        State().disabled ? Theme::WithAlpha(Theme::kSecondary, 0.4) : Theme::kSecondary;
    painter.save();
    painter.translate(up.center());
    painter.rotate(180);
    Theme::DrawGlyph(painter, QRectF(-7, -7, 14, 14), "chevron-down",
                     m_hoverButton > 0 ? Theme::kHeading : colour, 1.5);
    painter.restore();
    Theme::DrawGlyph(painter, QRectF(down.center().x() - 7, down.center().y() - 7, 14, 14),
                     "chevron-down", m_hoverButton < 0 ? Theme::kHeading : colour, 1.5);
}

void NumberEdit::MousePress(QMouseEvent& event) {
    const QRectF area = QRectF(Widget()->rect());
    if (event.button() == Qt::LeftButton &&
        event.position().x() >= area.right() - kButtonWidth - 3) {
        StepBy(event.position().y() < area.center().y() ? 1 : -1);
        return;
    }
    MEdit::MousePress(event);
}

void NumberEdit::MouseMove(QMouseEvent& event) {
    const QRectF area = QRectF(Widget()->rect());
    int hover = 0;
    if (event.position().x() >= area.right() - kButtonWidth - 3) {
        hover = event.position().y() < area.center().y() ? 1 : -1;
    }
    if (hover != m_hoverButton) {
        m_hoverButton = hover;
        Invalidate();
    }
}

void NumberEdit::HoverChanged(bool hovered) {
    if (!hovered && m_hoverButton != 0) {
        m_hoverButton = 0;
        Invalidate();
    }
}

bool NumberEdit::KeyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_Up || event.key() == Qt::Key_Down) {
        StepBy(event.key() == Qt::Key_Up ? 1 : -1);
        return true;
    }
    return MEdit::KeyPress(event);
}

}  // namespace DUI
