// SPDX-License-Identifier: MIT
#include "ui/ReporteCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

namespace {
constexpr double kGap = 8;
}

int ReporteCtrl::AddItem(const std::string& text, int data, int colour) {
    m_items.push_back({text, data, colour & 0xFFFFFF});
    Invalidate();
    return static_cast<int>(m_items.size()) - 1;
}

void ReporteCtrl::DeleteAllItems() {
    m_items.clear();
    m_current = -1;
    m_hot = -1;
    Invalidate();
}

int ReporteCtrl::GetCount() const { return static_cast<int>(m_items.size()); }

bool ReporteCtrl::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    Invalidate();
    return true;
}

int ReporteCtrl::GetCurSel() const { return m_current; }

bool ReporteCtrl::SelectData(int value) {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[i].data == value) {
            return SetCurSel(i);
        }
    }
    SetCurSel(-1);
    return false;
}

int ReporteCtrl::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].data : 0;
}

std::string ReporteCtrl::GetItemText(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].text : std::string();
}

void ReporteCtrl::ClickItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

int ReporteCtrl::ItemAt(double x, double y) const {
    if (m_items.empty() || y < 0 || y >= Widget()->height()) {
        return -1;
    }
    const double width = (Widget()->width() - kGap * (GetCount() - 1)) / GetCount();
    const int index = static_cast<int>(x / (width + kGap));
    if (index < 0 || index >= GetCount() || x - index * (width + kGap) > width) {
        return -1;
    }
    return index;
}

void ReporteCtrl::Paint(QPainter& painter) {
    const VisualState state = State();
    if (m_items.empty()) {
        return;
    }
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    const double height = Widget()->height();
    const double width = (Widget()->width() - kGap * (GetCount() - 1)) / GetCount();
    painter.setFont(Theme::MakeFont(14));
    for (int i = 0; i < GetCount(); ++i) {
        const QRectF pill(i * (width + kGap) + 0.5, 0.5, width - 1, height - 1);
        const bool selected = i == m_current;
        const bool hot = i == m_hot;
        QColor fill = selected ? Theme::WithAlpha(Theme::Accent(), 0.16)
                               : (hot ? Theme::kInputHover : Theme::kInput);
        Theme::DrawPanel(painter, pill, fill, selected ? Theme::Accent() : Theme::kPanelBorder,
                         std::min(height / 2, 12.0));
        const QString text = QString::fromStdString(m_items[i].text);
        const double textWidth = painter.fontMetrics().horizontalAdvance(text);
        const double dot = 8;
        const double left = pill.center().x() - (dot + 8 + textWidth) / 2;
        painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
        painter.setBrush(Theme::FromColourInt(m_items[i].colour));
        painter.drawEllipse(QRectF(left, pill.center().y() - dot / 2, dot, dot));
        painter.setPen(selected ? Theme::kHeading
                                : (hot ? Theme::kText : Theme::kSecondary.lighter(120)));
        painter.drawText(QRectF(left + dot + 8, pill.top(), textWidth + 2, pill.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.restore();
    if (state.focused && m_current >= 0) {
        Theme::DrawFocusRing(painter,
                             QRectF(m_current * (width + kGap) - 2, -1, width + 4, height + 2), 13);
    }
}

void ReporteCtrl::MouseMove(QMouseEvent& event) {
    const int hot = ItemAt(event.position().x(), event.position().y());
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate();
    }
}

void ReporteCtrl::MouseRelease(QMouseEvent& event) {
    MControl::MouseRelease(event);
    if (event.button() == Qt::LeftButton) {
        ClickItem(ItemAt(event.position().x(), event.position().y()));
    }
}

void ReporteCtrl::HoverChanged(bool hovered) {
    if (!hovered) {
        m_hot = -1;
    }
}

bool ReporteCtrl::KeyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_Left && m_current > 0) {
        ClickItem(m_current - 1);
        return true;
    }
    if (event.key() == Qt::Key_Right && m_current + 1 < GetCount()) {
        ClickItem(m_current + 1);
        return true;
    }
    return event.key() == Qt::Key_Left || event.key() == Qt::Key_Right;
}

bool ReporteCtrl::AcceptsFocus() const { return true; }

}  // namespace DUI
