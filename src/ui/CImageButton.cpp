// SPDX-License-Identifier: MIT
#include "ui/CImageButton.h"

#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

void CImageButton::Paint(QPainter& painter) {
    const QRectF area = QRectF(Widget()->rect()).adjusted(1, 1, -1, -1);
    const VisualState state = State();
    const QString glyph = Theme::GlyphForImage(GetImage());
    const qreal radius = std::min<qreal>(8, area.height() / 2);
    if (state.hover || state.pressed) {
        // The close button turns red on hover, as window close buttons do.
        const QColor plate = glyph == "close" ? Theme::kDanger : QColor(255, 255, 255, 24);
        Theme::DrawPanel(painter, area, state.pressed ? plate.darker(115) : plate, Qt::transparent,
                         radius);
    }
    if (state.focused) {
        Theme::DrawFocusRing(painter, QRectF(Widget()->rect()), radius + 1);
    }
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    const qreal side = std::min(area.width(), area.height());
    const QRectF iconArea(area.center().x() - side * 0.36, area.center().y() - side * 0.36,
                          side * 0.72, side * 0.72);
    if (!image.isNull()) {
        const QSizeF natural = QSizeF(image.size()) / image.devicePixelRatio();
        // Images made for the button's full size are drawn over it, small icons centred.
        if (natural.width() >= area.width() * 0.9 || natural.height() >= area.height() * 0.9) {
            Theme::DrawFitted(painter, area, image);
        } else {
            Theme::DrawFitted(painter, iconArea, image, false);
        }
    } else {
        const QColor colour = (state.hover && glyph == "close") ? Theme::kHeading
                              : state.hover                     ? Theme::kHeading
                                                                : Theme::kSecondary.lighter(115);
        Theme::DrawGlyph(painter, iconArea, glyph.isEmpty() ? QStringLiteral("dot") : glyph, colour,
                         1.6);
    }
    painter.restore();
}

void CImageButton::Clicked() { Notify(kNotifyClick); }

bool CImageButton::AcceptsFocus() const { return true; }

}  // namespace DUI
