// SPDX-License-Identifier: MIT
#include "ui/MTabCtrl.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/Theme.h"

namespace DUI {

MTabCtrl::MTabCtrl() { SetFont(15); }

int MTabCtrl::AddItem(int id, const std::string& text, const std::string& icon) {
    m_items.push_back({id, text, icon, true});
    Invalidate();
    return static_cast<int>(m_items.size()) - 1;
}

void MTabCtrl::DeleteAllItems() {
    m_items.clear();
    m_current = -1;
    m_hot = -1;
    Invalidate();
}

int MTabCtrl::GetCount() const { return static_cast<int>(m_items.size()); }

bool MTabCtrl::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    Invalidate();
    return true;
}

int MTabCtrl::GetCurSel() const { return m_current; }

int MTabCtrl::GetItemId(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].id : -1;
}

int MTabCtrl::FindItem(int id) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[i].id == id) {
            return i;
        }
    }
    return -1;
}

void MTabCtrl::SetItemText(int index, const std::string& text) {
    if (index >= 0 && index < GetCount()) {
        m_items[index].text = text;
        Invalidate();
    }
}

void MTabCtrl::SetItemVisible(int index, bool visible) {
    if (index >= 0 && index < GetCount()) {
        m_items[index].visible = visible;
        Invalidate();
    }
}

bool MTabCtrl::IsItemVisible(int index) const {
    return index >= 0 && index < GetCount() && m_items[index].visible;
}

void MTabCtrl::ClickItem(int index) {
    if (!IsItemVisible(index)) {
        return;
    }
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

std::vector<QRectF> MTabCtrl::Layout() const {
    std::vector<QRectF> rects;
    if (!Widget()) {
        return rects;
    }
    const QFontMetrics metrics(Font());
    const qreal height = Widget()->height();
    const qreal iconSize = std::min<qreal>(20, height * 0.4);
    qreal x = 0;
    for (const Item& item : m_items) {
        if (!item.visible) {
            rects.emplace_back();
            continue;
        }
        const qreal width =
            32 + iconSize + 10 + metrics.horizontalAdvance(QString::fromStdString(item.text));
        rects.emplace_back(x, 0, width, height);
        x += width + 4;
    }
    return rects;
}

int MTabCtrl::ItemAt(const QPointF& point) const {
    const std::vector<QRectF> rects = Layout();
    for (int i = 0; i < static_cast<int>(rects.size()); ++i) {
        if (m_items[i].visible && rects[i].contains(point)) {
            return i;
        }
    }
    return -1;
}

void MTabCtrl::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    const std::vector<QRectF> rects = Layout();
    const qreal iconSize = std::min<qreal>(20, area.height() * 0.4);
    const QPixmap itemBackground =
        Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    painter.setPen(QPen(Theme::kPanelBorder, 1));
    painter.drawLine(QPointF(0, area.bottom() - 0.5), QPointF(area.right(), area.bottom() - 0.5));
    painter.setFont(Font());
    for (int i = 0; i < GetCount(); ++i) {
        const Item& item = m_items[i];
        if (!item.visible) {
            continue;
        }
        const QRectF rect = rects[i];
        const bool selected = i == m_current;
        const bool hot = i == m_hot;
        if (hot || selected) {
            const QRectF plate = rect.adjusted(2, 8, -2, -8);
            if (!itemBackground.isNull() && hot && !selected) {
                painter.save();
                painter.setOpacity(0.6);
                Theme::DrawNineSlice(painter, plate, itemBackground, 8);
                painter.restore();
            } else if (hot && !selected) {
                Theme::DrawPanel(painter, plate, QColor(255, 255, 255, 14), Qt::transparent, 8);
            }
        }
        const QColor colour = selected ? Theme::kHeading : (hot ? Theme::kText : Theme::kSecondary);
        const QRectF iconRect(rect.left() + 16, rect.center().y() - iconSize / 2, iconSize,
                              iconSize);
        QPixmap icon = Theme::SkinImage(item.icon, painter.device()->devicePixelRatioF());
        if (!icon.isNull()) {
            if (selected) {
                // Monochrome icons are tinted with the accent when their tab is selected.
                QPixmap tinted(icon.size());
                tinted.setDevicePixelRatio(icon.devicePixelRatio());
                tinted.fill(Qt::transparent);
                QPainter tint(&tinted);
                tint.drawPixmap(0, 0, icon);
                tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
                tint.fillRect(tinted.rect(), Theme::Accent());
                tint.end();
                icon = tinted;
            }
            Theme::DrawFitted(painter, iconRect, icon);
        } else if (!item.icon.empty()) {
            Theme::DrawGlyph(painter, iconRect, Theme::GlyphForImage(item.icon),
                             selected ? Theme::Accent() : colour, 1.6);
        }
        painter.setPen(colour);
        Theme::DrawControlText(painter,
                               QRectF(iconRect.right() + 10, rect.top(),
                                      rect.right() - iconRect.right() - 10, rect.height()),
                               Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(item.text));
        if (selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Theme::Accent());
            painter.drawRoundedRect(
                QRectF(rect.left() + 12, area.bottom() - 3, rect.width() - 24, 3), 1.5, 1.5);
        }
    }
    if (State().focused && m_current >= 0 && m_current < static_cast<int>(rects.size())) {
        Theme::DrawFocusRing(painter, rects[m_current].adjusted(2, 6, -2, -6), 8);
    }
}

void MTabCtrl::MouseMove(QMouseEvent& event) {
    const int hot = ItemAt(event.position());
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate();
    }
}

void MTabCtrl::MouseRelease(QMouseEvent& event) {
    MControl::MouseRelease(event);
    if (event.button() == Qt::LeftButton) {
        const int index = ItemAt(event.position());
        if (index >= 0) {
            ClickItem(index);
        }
    }
}

void MTabCtrl::HoverChanged(bool hovered) {
    if (!hovered) {
        m_hot = -1;
    }
}

bool MTabCtrl::KeyPress(QKeyEvent& event) {
    if (event.key() != Qt::Key_Left && event.key() != Qt::Key_Right) {
        return false;
    }
    const int step = event.key() == Qt::Key_Right ? 1 : -1;
    for (int i = m_current + step; i >= 0 && i < GetCount(); i += step) {
        if (m_items[i].visible) {
            ClickItem(i);
            break;
        }
    }
    return true;
}

bool MTabCtrl::AcceptsFocus() const { return true; }

}  // namespace DUI
