// SPDX-License-Identifier: MIT
#include "ui/MText.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

MText::MText() { SetFont(13); }

void MText::Paint(QPainter& painter) {
    const QRect area = Widget()->rect();
    painter.setFont(Font());
    QColor colour = TextColour(Theme::kText);
    if (State().disabled) {
        colour.setAlphaF(0.4);
    }
    painter.setPen(colour);
    const QString text = QString::fromStdString(GetTitle());
    const int flags = QtAlignment();
    Theme::DrawControlText(painter, area, flags, text);
}

void MText::MousePress(QMouseEvent& event) { event.ignore(); }

bool MText::TransparentForMouse() const { return true; }

}  // namespace DUI
