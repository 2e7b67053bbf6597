// SPDX-License-Identifier: MIT
#include "ui/MButton.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/Theme.h"

namespace DUI {

MButton::MButton() { SetAlignment(kAlignCenter); }

void MButton::SetPrimary(bool primary) {
    m_primary = primary;
    Invalidate();
}

bool MButton::IsPrimary() const { return m_primary; }

void MButton::Paint(QPainter& painter) {
    const QRectF area = QRectF(Widget()->rect()).adjusted(1, 1, -1, -1);
    const VisualState state = State();
    const qreal radius = std::min<qreal>(area.height() / 2, 10);
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    QColor textColour = TextColour(Theme::kText);
    if (!m_primary && !image.isNull()) {
        painter.save();
        if (state.disabled) {
            painter.setOpacity(0.4);
        }
        Theme::DrawNineSlice(painter, area, image, static_cast<int>(area.height() / 2));
        if (state.hover || state.pressed) {
            QPainterPath shape;
            shape.addRoundedRect(area, radius, radius);
            painter.fillPath(shape,
                             state.pressed ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 22));
        }
        painter.restore();
        if (state.checked) {
            Theme::DrawPanel(painter, area, Qt::transparent, Theme::Accent(), radius);
            textColour = Theme::Accent();
        }
    } else {
        QColor fill = m_primary ? Theme::Accent() : Theme::kInput;
        QColor border = m_primary ? Theme::Accent() : Theme::kPanelBorder;
        if (state.checked && !m_primary) {
            fill = Theme::WithAlpha(Theme::Accent(), 0.16);
            border = Theme::Accent();
            textColour = Theme::kHeading;
        }
        if (m_primary) {
            textColour = Theme::ContrastText(fill);
        }
        VisualState look = state;
        Theme::DrawPanel(painter, area, Theme::ForState(fill, look), Theme::ForState(border, look),
                         radius);
    }
    if (state.focused && !state.pressed) {
        Theme::DrawFocusRing(painter, QRectF(Widget()->rect()), radius + 1);
    }
    painter.setFont(Font());
    if (state.disabled) {
        textColour.setAlphaF(0.4);
    } else if (state.hover && !m_primary) {
        textColour = textColour.lighter(112);
    }
    painter.setPen(textColour);
    const QString text = QString::fromStdString(GetTitle());
    Theme::DrawControlText(painter, area.adjusted(8, 0, -8, 0), QtAlignment(), text);
}

void MButton::Clicked() { Notify(kNotifyClick); }

bool MButton::AcceptsFocus() const { return true; }

}  // namespace DUI
