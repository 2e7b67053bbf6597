// SPDX-License-Identifier: MIT
#include "ui/CArea.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

CArea::CArea() = default;

void CArea::SetBkColor(int colour) {
    m_colour = colour < 0 ? -1 : (colour & 0xFFFFFF);
    Invalidate();
}

int CArea::GetBkColor() const { return m_colour; }

void CArea::SetBorderColor(int colour) {
    m_border = colour;
    Invalidate();
}

void CArea::SetRadius(int radius) {
    m_radius = std::max(0, radius);
    Invalidate();
}

void CArea::SetTransparent(bool transparent) {
    m_transparent = transparent;
    Invalidate();
}

int CArea::Radius() const { return m_radius; }

void CArea::Paint(QPainter& painter) {
    if (m_transparent) {
        return;
    }
    const QRectF area = Widget()->rect();
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    if (!image.isNull() && m_colour < 0) {
        Theme::DrawNineSlice(painter, area, image, std::max(m_radius, 8));
        return;
    }
    const qreal radius = std::min<qreal>(Radius(), std::min(area.width(), area.height()) / 2);
    const QColor border = m_border == -2  ? QColor(Qt::transparent)
                          : m_border >= 0 ? Theme::FromColourInt(m_border)
                          : m_colour >= 0 ? QColor(255, 255, 255, 36)
                                          : Theme::kPanelBorder;
    const QColor fill = m_colour >= 0 ? Theme::FromColourInt(m_colour) : Theme::kPanel;
    Theme::DrawPanel(painter, area, fill, border, radius);
}

void CArea::MousePress(QMouseEvent& event) { event.ignore(); }

}  // namespace DUI
