// SPDX-License-Identifier: MIT
#include "ui/PopupList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/Theme.h"

namespace DUI {

void PopupList::SetItems(std::vector<std::string> texts, int current) {
    m_texts = std::move(texts);
    m_current = current;
    m_hot = current;
    m_scroll = 0;
    if (Widget() && current >= 0) {
        const int visibleRows = std::max(1, (Widget()->height() - 8) / kRowHeight);
        m_scroll = std::max(0, current - visibleRows + 1);
    }
    Invalidate();
}

void PopupList::SetHotRow(int row) {
    if (m_texts.empty()) {
        return;
    }
    m_hot = std::clamp(row, 0, static_cast<int>(m_texts.size()) - 1);
    const int visibleRows = std::max(1, (Widget()->height() - 8) / kRowHeight);
    if (m_hot < m_scroll) {
        m_scroll = m_hot;
    } else if (m_hot >= m_scroll + visibleRows) {
        m_scroll = m_hot - visibleRows + 1;
    }
    Invalidate();
}

int PopupList::RowAt(int y) const {
    const int row = (y - 4) / kRowHeight + m_scroll;
    return (y < 4 || row < 0 || row >= static_cast<int>(m_texts.size())) ? -1 : row;
}

void PopupList::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    painter.setFont(Theme::MakeFont(14));
    const int visibleRows = std::max(1, static_cast<int>(area.height() - 8) / kRowHeight);
    for (int i = 0; i < visibleRows && i + m_scroll < static_cast<int>(m_texts.size()); ++i) {
        const int row = i + m_scroll;
        const QRectF rowRect(4, 4 + i * kRowHeight, area.width() - 8, kRowHeight);
        if (row == m_hot) {
            Theme::DrawPanel(painter, rowRect, Theme::WithAlpha(Theme::Accent(), 0.18),
                             Qt::transparent, 6);
        }
        const bool current = row == m_current;
        painter.setPen(current ? Theme::Accent() : (row == m_hot ? Theme::kHeading : Theme::kText));
        const QRectF textRect = rowRect.adjusted(12, 0, current ? -30 : -12, 0);
        painter.drawText(
            textRect, Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(QString::fromStdString(m_texts[row]), Qt::ElideRight,
                                             static_cast<int>(textRect.width())));
        if (current) {
            Theme::DrawGlyph(painter,
                             QRectF(rowRect.right() - 26, rowRect.center().y() - 9, 18, 18),
                             "check", Theme::Accent(), 1.8);
        }
    }
    if (static_cast<int>(m_texts.size()) > visibleRows) {
        // A slim scroll indicator on the right.
        const qreal total = static_cast<qreal>(m_texts.size());
        const qreal trackHeight = area.height() - 12;
        const qreal thumb = std::max<qreal>(20, trackHeight * visibleRows / total);
        const qreal top =
            6 + (trackHeight - thumb) * m_scroll / std::max<qreal>(1, total - visibleRows);
        Theme::DrawPanel(painter, QRectF(area.width() - 5, top, 3, thumb),
                         QColor(255, 255, 255, 60), Qt::transparent, 1.5);
    }
}

void PopupList::MouseMove(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (row != m_hot) {
        m_hot = row;
        Invalidate();
    }
}

void PopupList::MouseRelease(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (event.button() == Qt::LeftButton && row >= 0 && onChoose) {
        onChoose(row);
    }
}

void PopupList::HoverChanged(bool hovered) {
    if (!hovered) {
        m_hot = -1;
        Invalidate();
    }
}

void PopupList::Wheel(QWheelEvent& event) {
    const int visibleRows = std::max(1, (Widget()->height() - 8) / kRowHeight);
    const int maxScroll = std::max(0, static_cast<int>(m_texts.size()) - visibleRows);
    m_scroll = std::clamp(m_scroll - event.angleDelta().y() / 120, 0, maxScroll);
    Invalidate();
}

bool PopupList::KeyPress(QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Down:
            SetHotRow(m_hot + 1);
            return true;
        case Qt::Key_Up:
            SetHotRow(m_hot - 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (m_hot >= 0 && onChoose) {
                onChoose(m_hot);
            }
            return true;
        case Qt::Key_Escape:
            if (onCancel) {
                onCancel();
            }
            return true;
        default:
            return false;
    }
}

bool PopupList::AcceptsFocus() const { return true; }

}  // namespace DUI
