// SPDX-License-Identifier: MIT
#include "ui/MouseKeyCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/Theme.h"

namespace DUI {

int MouseKeyCtrl::AddItem(const std::string& name, const std::string& keyDesc, int keyValue) {
    m_items.push_back({name, keyDesc, keyValue});
    Invalidate();
    return static_cast<int>(m_items.size()) - 1;
}

void MouseKeyCtrl::DeleteAllItems() {
    m_items.clear();
    m_current = -1;
    m_hot = -1;
    m_scroll = 0;
    Invalidate();
}

int MouseKeyCtrl::GetCount() const { return static_cast<int>(m_items.size()); }

bool MouseKeyCtrl::SetItemKeyDesc(int keyValue, const std::string& keyDesc) {
    const int index = FindKey(keyValue);
    if (index < 0) {
        return false;
    }
    m_items[index].desc = keyDesc;
    Invalidate();
    return true;
}

std::string MouseKeyCtrl::GetItemKeyDesc(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].desc : std::string();
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].keyValue : -1;
}

std::string MouseKeyCtrl::GetItemName(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].name : std::string();
}

int MouseKeyCtrl::FindKey(int keyValue) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[i].keyValue == keyValue) {
            return i;
        }
    }
    return -1;
}

bool MouseKeyCtrl::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    EnsureVisible(index);
    Invalidate();
    return true;
}

int MouseKeyCtrl::GetCurSel() const { return m_current; }

void MouseKeyCtrl::ClickItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

void MouseKeyCtrl::SetItemHeight(int height) {
    m_rowHeight = std::max(20, height);
    Invalidate();
}

int MouseKeyCtrl::RowAt(int y) const {
    const int row = y / m_rowHeight + m_scroll;
    return (y < 0 || row >= GetCount()) ? -1 : row;
}

void MouseKeyCtrl::EnsureVisible(int index) {
    if (!Widget() || index < 0) {
        return;
    }
    const int visibleRows = std::max(1, Widget()->height() / m_rowHeight);
    if (index < m_scroll) {
        m_scroll = index;
    } else if (index >= m_scroll + visibleRows) {
        m_scroll = index - visibleRows + 1;
    }
}

void MouseKeyCtrl::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    const QFont nameFont = Theme::MakeFont(14);
    const QFont descFont = Theme::MakeFont(13, QFont::Normal);
    const int visibleRows = static_cast<int>(area.height()) / m_rowHeight + 1;
    for (int i = 0; i < visibleRows && i + m_scroll < GetCount(); ++i) {
        const int row = i + m_scroll;
        const Item& item = m_items[row];
        const QRectF rowRect(0, i * m_rowHeight, area.width(), m_rowHeight);
        const bool selected = row == m_current;
        const bool hot = row == m_hot;
        if (selected || hot) {
            Theme::DrawPanel(
                painter, rowRect.adjusted(1, 2, -1, -2),
                selected ? Theme::WithAlpha(Theme::Accent(), 0.14) : QColor(255, 255, 255, 12),
                Qt::transparent, 8);
        }
        if (selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Theme::Accent());
            painter.drawRoundedRect(
                QRectF(rowRect.left() + 1, rowRect.top() + 10, 3, rowRect.height() - 20), 1.5, 1.5);
        } else if (i + m_scroll + 1 < GetCount() && !hot && row + 1 != m_current &&
                   row + 1 != m_hot) {
            painter.setPen(QPen(QColor(255, 255, 255, 14), 1));
            painter.drawLine(QPointF(14, rowRect.bottom() - 0.5),
                             QPointF(rowRect.right() - 14, rowRect.bottom() - 0.5));
        }
        const QRectF nameRect(16, rowRect.top(), rowRect.width() * 0.45 - 16, rowRect.height());
        painter.setFont(nameFont);
        painter.setPen(selected ? Theme::kHeading : Theme::kText);
        Theme::DrawControlText(painter, nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                               QString::fromStdString(item.name));
        const QRectF descRect(rowRect.width() * 0.45, rowRect.top(), rowRect.width() * 0.55 - 16,
                              rowRect.height());
        painter.setFont(descFont);
        painter.setPen(selected ? Theme::Accent() : Theme::kSecondary);
        Theme::DrawControlText(painter, descRect, Qt::AlignRight | Qt::AlignVCenter,
                               QString::fromStdString(item.desc));
    }
    if (State().disabled) {
        painter.fillRect(area, QColor(26, 26, 26, 140));
    }
    if (State().focused) Theme::DrawFocusRing(painter, area, 6);
}

void MouseKeyCtrl::MousePress(QMouseEvent& event) {
    MControl::MousePress(event);
    if (event.button() == Qt::LeftButton) {
        ClickItem(RowAt(static_cast<int>(event.position().y())));
    }
}

void MouseKeyCtrl::MouseMove(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (row != m_hot) {
        m_hot = row;
        Invalidate();
    }
}

void MouseKeyCtrl::HoverChanged(bool hovered) {
    if (!hovered) {
        m_hot = -1;
    }
}

void MouseKeyCtrl::Wheel(QWheelEvent& event) {
    const int visibleRows = std::max(1, Widget()->height() / m_rowHeight);
    m_scroll = std::clamp(m_scroll - event.angleDelta().y() / 120, 0,
                          std::max(0, GetCount() - visibleRows));
    Invalidate();
}

bool MouseKeyCtrl::KeyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_Down && m_current + 1 < GetCount()) {
        ClickItem(m_current + 1);
        return true;
    }
    if (event.key() == Qt::Key_Up && m_current > 0) {
        ClickItem(m_current - 1);
        return true;
    }
    return event.key() == Qt::Key_Up || event.key() == Qt::Key_Down;
}

bool MouseKeyCtrl::AcceptsFocus() const { return true; }

}  // namespace DUI
