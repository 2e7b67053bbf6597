// SPDX-License-Identifier: MIT
#include "ui/CTextButton.h"

#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

CTextButton::CTextButton() = default;

void CTextButton::Paint(QPainter& painter) {
    const VisualState state = State();
    QFont font = Font();
    font.setUnderline(state.hover || state.focused);
    painter.setFont(font);
    QColor colour = TextColour(Theme::Accent());
    if (state.pressed) {
        colour = colour.darker(115);
    } else if (state.hover) {
        colour = colour.lighter(115);
    }
    if (state.disabled) {
        colour.setAlphaF(0.4);
    }
    painter.setPen(colour);
    const QRect area = Widget()->rect();
    Theme::DrawControlText(painter, area, QtAlignment(), QString::fromStdString(GetTitle()));
    Widget()->setCursor(Qt::PointingHandCursor);
}

void CTextButton::Clicked() { Notify(kNotifyClick); }

bool CTextButton::AcceptsFocus() const { return true; }

}  // namespace DUI
