// SPDX-License-Identifier: MIT
#include "ui/MPalette.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "ui/Theme.h"

namespace DUI {

namespace {
constexpr qreal kStripHeight = 14;
constexpr qreal kGap = 10;
}  // namespace

MPalette::MPalette() : m_field(std::make_unique<QImage>()) {}

MPalette::~MPalette() = default;

void MPalette::SetSelectColor(int colour) {
    const QColor c = Theme::FromColourInt(colour);
    float h = 0;
    float s = 0;
    float v = 0;
    c.getHsvF(&h, &s, &v);
    // Greys and black carry no hue (and black no saturation): keep what was there.
    if (h >= 0 && s > 0) {
        m_hue = h;
    }
    if (v > 0) {
        m_saturation = s;
    }
    m_value = v;
    Invalidate();
}

int MPalette::GetSelectColor() const {
    return Theme::ToColourInt(QColor::fromHsvF(static_cast<float>(std::clamp(m_hue, 0.0, 0.9999)),
                                               static_cast<float>(m_saturation),
                                               static_cast<float>(m_value)));
}

QRectF MPalette::FieldRect() const {
    const QRectF area = Widget()->rect();
    return QRectF(area.left() + 1, area.top() + 1, area.width() - 2,
                  area.height() - kStripHeight - kGap - 2);
}

QRectF MPalette::ValueRect() const {
    const QRectF area = Widget()->rect();
    return QRectF(area.left() + 1, area.bottom() - kStripHeight - 1, area.width() - 2,
                  kStripHeight);
}

void MPalette::Resized() { *m_field = QImage(); }

void MPalette::Paint(QPainter& painter) {
    const QRectF field = FieldRect();
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QSize pixels(std::max(1, static_cast<int>(field.width() * ratio)),
                       std::max(1, static_cast<int>(field.height() * ratio)));
    QImage& image = *m_field;
    if (image.size() != pixels) {
        image = QImage(pixels, QImage::Format_RGB32);
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            const float saturation =
                1.0f - static_cast<float>(y) / std::max(1, pixels.height() - 1);
            for (int x = 0; x < pixels.width(); ++x) {
                const float hue =
                    std::min(0.9999f, static_cast<float>(x) / std::max(1, pixels.width() - 1));
                line[x] = QColor::fromHsvF(hue, saturation, 1.0f).rgb();
            }
        }
        image.setDevicePixelRatio(ratio);
    }
    painter.save();
    if (State().disabled) {
        painter.setOpacity(0.4);
    }
    QPainterPath fieldShape;
    fieldShape.addRoundedRect(field, 8, 8);
    painter.setClipPath(fieldShape);
    painter.drawImage(field, image);
    // The value darkens the whole field, as it darkens the chosen colour.
    painter.fillRect(field, QColor(0, 0, 0, static_cast<int>((1.0 - m_value) * 255)));
    painter.setClipping(false);
    Theme::DrawPanel(painter, field, Qt::transparent, QColor(255, 255, 255, 40), 8);

    const QRectF strip = ValueRect();
    QLinearGradient valueGradient(strip.topLeft(), strip.topRight());
    valueGradient.setColorAt(0, Qt::black);
    valueGradient.setColorAt(1, QColor::fromHsvF(static_cast<float>(std::min(m_hue, 0.9999)),
                                                 static_cast<float>(m_saturation), 1.0f));
    QPainterPath stripShape;
    stripShape.addRoundedRect(strip, strip.height() / 2, strip.height() / 2);
    painter.fillPath(stripShape, valueGradient);
    Theme::DrawPanel(painter, strip, Qt::transparent, QColor(255, 255, 255, 40),
                     strip.height() / 2);

    const QColor chosen = Theme::FromColourInt(GetSelectColor());
    const QPointF marker(field.left() + m_hue * field.width(),
                         field.top() + (1.0 - m_saturation) * field.height());
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(chosen);
    painter.drawEllipse(marker, 7, 7);
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(marker, 8.5, 8.5);
    const QPointF knob(
        strip.left() + strip.height() / 2 + m_value * (strip.width() - strip.height()),
        strip.center().y());
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(chosen);
    painter.drawEllipse(knob, strip.height() / 2 + 1, strip.height() / 2 + 1);
    painter.restore();
    if (State().focused) Theme::DrawFocusRing(painter, QRectF(Widget()->rect()), 9);
}

void MPalette::PickAt(const QPointF& point) {
    if (m_drag == Drag::Field) {
        const QRectF field = FieldRect();
        m_hue =
            std::clamp((point.x() - field.left()) / std::max<qreal>(1, field.width()), 0.0, 1.0);
        m_saturation =
            1.0 -
            std::clamp((point.y() - field.top()) / std::max<qreal>(1, field.height()), 0.0, 1.0);
        if (m_value <= 0.0) {
            // Picking a hue on a black field would stay black; bring the brightness back.
            m_value = 1.0;
        }
    } else if (m_drag == Drag::Value) {
        const QRectF strip = ValueRect();
        m_value = std::clamp((point.x() - strip.left() - strip.height() / 2) /
                                 std::max<qreal>(1, strip.width() - strip.height()),
                             0.0, 1.0);
    }
    Invalidate();
    Notify(kNotifySelChanging, GetSelectColor());
}

void MPalette::MousePress(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        return;
    }
    const QPointF point = event.position();
    if (ValueRect().adjusted(0, -kGap / 2, 0, 2).contains(point)) {
        m_drag = Drag::Value;
    } else {
        m_drag = Drag::Field;
    }
    PickAt(point);
}

void MPalette::MouseMove(QMouseEvent& event) {
    if (m_drag != Drag::None && (event.buttons() & Qt::LeftButton)) {
        PickAt(event.position());
    }
}

bool MPalette::KeyPress(QKeyEvent& event) {
    // One key moves a twentieth of the range; the hue wraps around the colour circle.
    constexpr double kStep = 0.05;
    switch (event.key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            m_hue += event.key() == Qt::Key_Right ? kStep : -kStep;
            m_hue -= std::floor(m_hue);
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            m_saturation =
                std::clamp(m_saturation + (event.key() == Qt::Key_Up ? kStep : -kStep), 0.0, 1.0);
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            m_value =
                std::clamp(m_value + (event.key() == Qt::Key_PageUp ? kStep : -kStep), 0.0, 1.0);
            break;
        default:
            return false;
    }
    if (m_value <= 0.0 && event.key() != Qt::Key_PageDown) m_value = 1.0;
    Invalidate();
    Notify(kNotifySelChanging, GetSelectColor());
    Notify(kNotifyClick, GetSelectColor());
    return true;
}

bool MPalette::AcceptsFocus() const { return true; }

void MPalette::MouseRelease(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || m_drag == Drag::None) {
        return;
    }
    m_drag = Drag::None;
    Notify(kNotifyClick, GetSelectColor());
}

}  // namespace DUI
