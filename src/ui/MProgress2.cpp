// SPDX-License-Identifier: MIT
#include "ui/MProgress2.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "ui/Theme.h"

namespace DUI {

MProgress2::MProgress2() = default;

MProgress2::~MProgress2() = default;

void MProgress2::OnCreated() {
    // The sweep repaints at about 60 Hz, and only between Start and Stop.
    m_timer = new QTimer(Widget());
    m_timer->setInterval(16);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] {
        m_phase += 0.012;
        if (m_phase >= 1.0) {
            m_phase -= 1.0;
        }
        Invalidate();
    });
}

void MProgress2::Start(bool endless) {
    m_running = true;
    m_endless = endless;
    m_phase = 0.0;
    if (m_timer) {
        m_timer->start();
    }
    Invalidate();
}

void MProgress2::Stop() {
    m_running = false;
    if (m_timer) {
        m_timer->stop();
    }
    Invalidate();
}

bool MProgress2::IsRunning() const { return m_running; }

void MProgress2::Paint(QPainter& painter) {
    if (!m_running || !m_endless) {
        MProgress::Paint(painter);
        if (!m_running) {
            return;
        }
    }
    if (m_endless) {
        // A segment of a third of the width sweeping from left to right.
        const double head = m_phase * 1.33;
        PaintBar(painter, head - 0.33, head);
        return;
    }
    // Sheen over the filled part.
    const QRectF area = Widget()->rect();
    const double fraction = static_cast<double>(GetPos()) / GetRange();
    const qreal x = area.left() + area.width() * fraction * m_phase;
    QLinearGradient sheen(x - 30, 0, x + 30, 0);
    sheen.setColorAt(0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    const qreal height = std::min<qreal>(area.height(), 6);
    painter.fillRect(
        QRectF(area.left(), area.center().y() - height / 2, area.width() * fraction, height),
        sheen);
}

}  // namespace DUI
