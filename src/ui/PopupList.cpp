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
    m_rows.Reset();
    m_rows.SetHot(current);
    if (Widget() && current >= 0) {
        const int visibleRows = std::max(1, (Widget()->height() - 8) / kRowHeight);
        m_rows.SetFirst(std::max(0, current - visibleRows + 1));
    }
    Invalidate();
}

void PopupList::SetHotRow(int row) {
    if (m_texts.empty()) {
        return;
    }
    m_rows.SetHot(std::clamp(row, 0, static_cast<int>(m_texts.size()) - 1));
    m_rows.EnsureVisible(m_rows.Hot(), std::max(1, (Widget()->height() - 8) / kRowHeight));
    Invalidate();
}

int PopupList::RowAt(int y) const {
    return m_rows.RowAt(y - 4, kRowHeight, static_cast<int>(m_texts.size()));
}

void PopupList::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    painter.setFont(Theme::MakeFont(14));
    const int visibleRows = std::max(1, static_cast<int>(area.height() - 8) / kRowHeight);
    for (int i = 0; i < visibleRows && i + m_rows.First() < static_cast<int>(m_texts.size()); ++i) {
        const int row = i + m_rows.First();
        const QRectF rowRect(4, 4 + i * kRowHeight, area.width() - 8, kRowHeight);
        if (row == m_rows.Hot()) {
            Theme::DrawPanel(painter, rowRect, Theme::WithAlpha(Theme::Accent(), 0.18),
                             Qt::transparent, 6);
        }
        const bool current = row == m_current;
        painter.setPen(current ? Theme::Accent()
                               : (row == m_rows.Hot() ? Theme::kHeading : Theme::kText));
        const QRectF textRect = rowRect.adjusted(12, 0, current ? -30 : -12, 0);
        Theme::DrawControlText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter,
                               QString::fromStdString(m_texts[row]));
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
        const qreal top = m_rows.ThumbTop(6, trackHeight, thumb, total, visibleRows);
        Theme::DrawPanel(painter, QRectF(area.width() - 5, top, 3, thumb),
                         QColor(255, 255, 255, 60), Qt::transparent, 1.5);
    }
}

void PopupList::MouseMove(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (m_rows.SetHot(row)) Invalidate();
}

void PopupList::MouseRelease(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (event.button() == Qt::LeftButton && row >= 0 && onChoose) {
        onChoose(row);
    }
}

void PopupList::HoverChanged(bool hovered) {
    if (!hovered) {
        m_rows.SetHot(-1);
        Invalidate();
    }
}

void PopupList::Wheel(QWheelEvent& event) {
    m_rows.ScrollBy(RowScroller::WheelRows(event.angleDelta().y()),
                    static_cast<int>(m_texts.size()),
                    std::max(1, (Widget()->height() - 8) / kRowHeight));
    Invalidate();
}

bool PopupList::KeyPress(QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Down:
            SetHotRow(m_rows.Hot() + 1);
            return true;
        case Qt::Key_Up:
            SetHotRow(m_rows.Hot() - 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (m_rows.Hot() >= 0 && onChoose) {
                onChoose(m_rows.Hot());
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
