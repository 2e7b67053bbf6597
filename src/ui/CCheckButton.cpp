// SPDX-License-Identifier: MIT
#include "ui/CCheckButton.h"

#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

void CCheckButton::SetCheck(int check) {
    m_check = check ? 1 : 0;
    Invalidate();
}

int CCheckButton::GetCheck() const { return m_check; }

void CCheckButton::Paint(QPainter& painter) {
    const VisualState state = State();
    const QRectF area = Widget()->rect();
    const qreal box = std::min<qreal>(18, area.height() - 2);
    const QRectF boxRect(1, area.center().y() - box / 2, box, box);
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    if (m_check) {
        Theme::DrawPanel(painter, boxRect, Theme::ForState(Theme::Accent(), state), Theme::Accent(),
                         4);
        Theme::DrawGlyph(painter, boxRect.adjusted(1, 1, -1, -1), "check",
                         Theme::ContrastText(Theme::Accent()), 2.0);
    } else {
        const QColor border = state.hover ? Theme::Accent() : QColor(92, 92, 100);
        Theme::DrawPanel(painter, boxRect, Theme::ForState(Theme::kInput, state), border, 4);
    }
    if (state.focused) {
        Theme::DrawFocusRing(painter, boxRect.adjusted(-2, -2, 2, 2), 5);
    }
    painter.setFont(Font());
    painter.setPen(TextColour(state.hover ? Theme::kHeading : Theme::kText));
    const QRectF textRect(boxRect.right() + 10, 0, area.width() - boxRect.right() - 10,
                          area.height());
    Theme::DrawControlText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter,
                           QString::fromStdString(GetTitle()));
    painter.restore();
}

void CCheckButton::Clicked() {
    SetCheck(m_check ? 0 : 1);
    Notify(kNotifyClick);
}

bool CCheckButton::AcceptsFocus() const { return true; }

bool CCheckButton::IsCheckedForPaint() const { return m_check != 0; }

}  // namespace DUI
