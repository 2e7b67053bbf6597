// SPDX-License-Identifier: MIT
#include "ui/BatteryCtrl.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

void BatteryCtrl::SetBatteryInfo(int level, int chargeState) {
    m_level = std::clamp(level, 0, 100);
    m_charging = chargeState == 1;
    Invalidate();
}

int BatteryCtrl::GetLevel() const { return m_level; }

bool BatteryCtrl::IsCharging() const { return m_charging; }

void BatteryCtrl::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    const qreal height = std::min<qreal>(area.height() - 2, 16);
    const QRectF icon(1, area.center().y() - height / 2, height * 1.9, height);
    painter.save();
    if (State().disabled) {
        painter.setOpacity(0.4);
    }
    Theme::DrawBattery(painter, icon, m_level, m_charging);
    painter.setFont(Theme::MakeFont(13));
    painter.setPen(Theme::kText);
    painter.drawText(QRectF(icon.right() + 8, 0, area.width() - icon.right() - 8, area.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1%").arg(m_level));
    painter.restore();
}

void BatteryCtrl::MousePress(QMouseEvent& event) { event.ignore(); }

}  // namespace DUI
