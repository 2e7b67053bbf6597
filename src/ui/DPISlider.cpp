// SPDX-License-Identifier: MIT
#include "ui/DPISlider.h"

#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

DPISlider::DPISlider() { SetRange(m_lowest, m_steps); }

void DPISlider::SetDPIDesc(const std::string& low, const std::string& high) {
    m_low = low;
    m_high = high;
    Invalidate();
}

void DPISlider::SetSteps(int steps) {
    m_steps = std::max(1, steps);
    SetRange(std::min(m_lowest, m_steps), m_steps);
}

void DPISlider::SetLowest(int lowest) {
    m_lowest = std::max(0, lowest);
    SetRange(std::min(m_lowest, m_steps), m_steps);
}

void DPISlider::SetProgress(int value) { SetValue(value); }

int DPISlider::GetProgress() const { return GetValue(); }

QRectF DPISlider::TrackRect() const {
    const QRectF area = Widget()->rect();
    const bool labels = !m_low.empty() || !m_high.empty();
    const qreal y = labels ? area.height() * 0.38 : area.center().y();
    return QRectF(area.left() + 14, y - 10, area.width() - 28, 20);
}

void DPISlider::Paint(QPainter& painter) {
    const QRectF track = TrackRect();
    PaintTrack(painter, track, false);
    if (m_low.empty() && m_high.empty()) {
        return;
    }
    painter.setFont(Theme::MakeFont(12));
    painter.setPen(State().disabled ? Theme::WithAlpha(Theme::kSecondary, 0.4) : Theme::kSecondary);
    const QRectF labels(track.left() - 10, track.bottom() + 6, track.width() + 20, 18);
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(m_low));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(m_high));
}

}  // namespace DUI
