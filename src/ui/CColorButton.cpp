// SPDX-License-Identifier: MIT
#include "ui/CColorButton.h"

#include <QPainter>

#include "ui/MDialog.h"
#include "ui/Theme.h"

namespace DUI {

void CColorButton::SetColor(int colour) {
    m_colour = colour & 0xFFFFFF;
    Invalidate();
}

int CColorButton::GetColor() const { return m_colour; }

void CColorButton::SetGroupName(const std::string& group) { m_group = group; }

const std::string& CColorButton::GetGroupName() const { return m_group; }

void CColorButton::SetCheck(int check) {
    m_check = check ? 1 : 0;
    if (m_check && !m_group.empty() && GetOwner()) {
        for (MControl* control : GetOwner()->GetControls()) {
            auto* other = dynamic_cast<CColorButton*>(control);
            if (other && other != this && other->m_group == m_group && other->m_check) {
                other->m_check = 0;
                other->Invalidate();
            }
        }
    }
    Invalidate();
}

int CColorButton::GetCheck() const { return m_check; }

void CColorButton::Paint(QPainter& painter) {
    const VisualState state = State();
    const QRectF area = QRectF(Widget()->rect());
    const qreal radius = std::min<qreal>(6, area.height() / 4);
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    if (m_check) {
        Theme::DrawPanel(painter, area.adjusted(0.5, 0.5, -0.5, -0.5), Qt::transparent,
                         Theme::Accent(), radius + 2);
        painter.setPen(QPen(Theme::Accent(), 2));
    } else if (state.hover) {
        Theme::DrawPanel(painter, area.adjusted(0.5, 0.5, -0.5, -0.5), Qt::transparent,
                         QColor(120, 120, 128), radius + 2);
    }
    const QRectF swatch = area.adjusted(4, 4, -4, -4);
    const QColor fill = Theme::FromColourInt(m_colour);
    Theme::DrawPanel(painter, swatch, state.pressed ? fill.darker(110) : fill,
                     QColor(255, 255, 255, 40), radius);
    if (state.focused && !m_check) {
        Theme::DrawFocusRing(painter, area, radius + 2);
    }
    painter.restore();
}

void CColorButton::Clicked() {
    SetCheck(1);
    Notify(kNotifyClick);
}

bool CColorButton::AcceptsFocus() const { return true; }

bool CColorButton::IsCheckedForPaint() const { return m_check != 0; }

}  // namespace DUI
