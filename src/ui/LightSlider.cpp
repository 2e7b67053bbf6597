// SPDX-License-Identifier: MIT
#include "ui/LightSlider.h"

#include <QPainter>
#include <QWidget>

namespace DUI {

LightSlider::LightSlider() { SetRange(0, 4); }

void LightSlider::SetSteps(int steps) { SetRange(0, std::max(1, steps)); }

void LightSlider::SetPos(int value) { SetValue(value); }

int LightSlider::GetPos() const { return GetValue(); }

QRectF LightSlider::TrackRect() const {
    const QRectF area = Widget()->rect();
    return QRectF(area.left() + 14, area.center().y() - 10, area.width() - 28, 20);
}

void LightSlider::Paint(QPainter& painter) { PaintTrack(painter, TrackRect(), true); }

}  // namespace DUI
