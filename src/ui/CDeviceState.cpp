// SPDX-License-Identifier: MIT
#include "ui/CDeviceState.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

void CDeviceState::SetState(int mode, int state) {
    m_mode = mode;
    m_state = state;
    Invalidate();
}

int CDeviceState::GetMode() const { return m_mode; }

int CDeviceState::GetState() const { return m_state; }

void CDeviceState::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    const qreal side = std::min<qreal>(area.height(), 22);
    const QRectF icon(0, area.center().y() - side / 2, side, side);
    Theme::DrawGlyph(painter, icon, m_mode == 1 ? "receiver" : "cable", Theme::kText, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_state == 1 ? Theme::kGood : QColor(110, 110, 116));
    painter.drawEllipse(QPointF(icon.right() + 8, area.center().y()), 4, 4);
    painter.setFont(Font());
    painter.setPen(TextColour(m_state == 1 ? Theme::kText : Theme::kSecondary));
    const QRectF text(icon.right() + 18, 0, area.width() - icon.right() - 18, area.height());
    Theme::DrawControlText(painter, text, Qt::AlignLeft | Qt::AlignVCenter,
                           QString::fromStdString(GetTitle()));
}

void CDeviceState::MousePress(QMouseEvent& event) { event.ignore(); }

}  // namespace DUI
