// SPDX-License-Identifier: MIT
#include "ui/CHelpButton.h"

#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

void CHelpButton::Paint(QPainter& painter) {
    const VisualState state = State();
    const QRectF area = Widget()->rect();
    const qreal side = std::min(area.width(), area.height());
    const QRectF square(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    if (state.focused) Theme::DrawFocusRing(painter, square, side / 2);
    if (!image.isNull()) {
        Theme::DrawFitted(painter, square, image);
        return;
    }
    QColor colour = state.hover ? Theme::Accent() : Theme::kSecondary;
    if (state.disabled) {
        colour.setAlphaF(0.4);
    }
    Theme::DrawGlyph(painter, square, "help", colour, 1.5);
}

void CHelpButton::Clicked() { Notify(kNotifyClick); }

bool CHelpButton::AcceptsFocus() const { return true; }

}  // namespace DUI
