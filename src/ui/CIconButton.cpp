// SPDX-License-Identifier: MIT
#include "ui/CIconButton.h"

#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

CIconButton::CIconButton() { SetAlignment(kAlignCenter); }

void CIconButton::SetIcon(const std::string& iconName) {
    m_icon = iconName;
    Invalidate();
}

const std::string& CIconButton::GetIcon() const { return m_icon; }

void CIconButton::SetActive(bool active) {
    m_active = active;
    Invalidate();
}

void CIconButton::Paint(QPainter& painter) {
    const QRectF area = QRectF(Widget()->rect()).adjusted(1, 1, -1, -1);
    const VisualState state = State();
    const bool tall = area.height() > area.width() * 0.75;
    const qreal radius = tall ? 14 : std::min<qreal>(area.height() / 2, 10);
    const bool stopping = QString::fromStdString(m_icon).contains("stop");
    const QColor accent = (m_active || stopping) ? Theme::kDanger : Theme::Accent();
    QColor fill = (m_active || stopping) ? Theme::WithAlpha(Theme::kDanger, 0.16) : Theme::kInput;
    QColor border = (m_active || stopping) ? Theme::kDanger : Theme::kPanelBorder;
    Theme::DrawPanel(painter, area, Theme::ForState(fill, state), Theme::ForState(border, state),
                     radius);
    if (state.focused) {
        Theme::DrawFocusRing(painter, QRectF(Widget()->rect()), radius + 1);
    }
    const QString title = QString::fromStdString(GetTitle());
    painter.setFont(Font());
    const qreal textHeight = title.isEmpty() ? 0 : painter.fontMetrics().height();
    QRectF iconRect;
    QRectF textRect;
    if (tall) {
        const qreal side = std::min(area.width() * 0.45, area.height() - textHeight - 24);
        const qreal top = area.center().y() - (side + textHeight + 8) / 2;
        iconRect = QRectF(area.center().x() - side / 2, top, side, side);
        textRect = QRectF(area.left() + 6, iconRect.bottom() + 8, area.width() - 12, textHeight);
    } else {
        const qreal side = std::min<qreal>(area.height() * 0.6, 24);
        const qreal textWidth = painter.fontMetrics().horizontalAdvance(title);
        const qreal total = side + (title.isEmpty() ? 0 : 8 + textWidth);
        const qreal left = std::max(area.left() + 8, area.center().x() - total / 2);
        iconRect = QRectF(left, area.center().y() - side / 2, side, side);
        textRect = QRectF(iconRect.right() + 8, area.top(), area.right() - iconRect.right() - 12,
                          area.height());
    }
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    const QPixmap icon = Theme::SkinImage(m_icon, painter.device()->devicePixelRatioF());
    if (!icon.isNull()) {
        Theme::DrawFitted(painter, iconRect, icon);
    } else {
        const QString glyph = Theme::GlyphForImage(m_icon);
        Theme::DrawGlyph(painter, iconRect, glyph.isEmpty() ? QStringLiteral("rec") : glyph, accent,
                         1.6);
    }
    painter.restore();
    QColor textColour = TextColour(Theme::kText);
    if (state.disabled) {
        textColour.setAlphaF(0.4);
    }
    painter.setPen(textColour);
    Theme::DrawControlText(
        painter, textRect,
        tall ? Qt::AlignHCenter | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter, title);
}

void CIconButton::Clicked() { Notify(kNotifyClick); }

bool CIconButton::AcceptsFocus() const { return true; }

}  // namespace DUI
