// SPDX-License-Identifier: MIT
#include "ui/MProgress.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/Theme.h"

namespace DUI {

void MProgress::SetRange(int maximum) {
    m_range = std::max(1, maximum);
    m_pos = std::clamp(m_pos, 0, m_range);
    Invalidate();
}

int MProgress::GetRange() const { return m_range; }

void MProgress::SetPos(int position) {
    m_pos = std::clamp(position, 0, m_range);
    Invalidate();
}

int MProgress::GetPos() const { return m_pos; }

void MProgress::PaintBar(QPainter& painter, double start, double end) {
    const QRectF area = Widget()->rect();
    const qreal height = std::min<qreal>(area.height(), 6);
    const QRectF track(area.left(), area.center().y() - height / 2, area.width(), height);
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    QPainterPath trackPath;
    trackPath.addRoundedRect(track, height / 2, height / 2);
    if (!image.isNull()) {
        Theme::DrawNineSlice(painter, track, image, static_cast<int>(height / 2));
    } else {
        painter.fillPath(trackPath, Theme::kTrack);
    }
    start = std::clamp(start, 0.0, 1.0);
    end = std::clamp(end, 0.0, 1.0);
    if (end <= start) {
        return;
    }
    const QRectF fill(track.left() + track.width() * start, track.top(),
                      track.width() * (end - start), height);
    QLinearGradient gradient(fill.topLeft(), fill.topRight());
    gradient.setColorAt(0, Theme::Accent().darker(125));
    gradient.setColorAt(1, Theme::Accent());
    QPainterPath fillPath;
    fillPath.addRoundedRect(fill, height / 2, height / 2);
    painter.save();
    painter.setClipPath(trackPath);
    painter.fillPath(fillPath, gradient);
    painter.restore();
}

void MProgress::Paint(QPainter& painter) {
    PaintBar(painter, 0.0, static_cast<double>(m_pos) / m_range);
}

}  // namespace DUI
