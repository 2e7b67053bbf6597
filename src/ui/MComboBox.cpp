// SPDX-License-Identifier: MIT
#include "ui/MComboBox.h"

#include <QKeyEvent>
#include <QPainter>

#include "ui/ComboPopup.h"
#include "ui/MDialog.h"
#include "ui/Theme.h"

namespace DUI {

MComboBox::MComboBox() = default;

MComboBox::~MComboBox() = default;

int MComboBox::AddItem(const std::string& text, int data) {
    m_items.push_back({text, data});
    Invalidate();
    return static_cast<int>(m_items.size()) - 1;
}

bool MComboBox::DeleteItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    m_items.erase(m_items.begin() + index);
    if (m_current == index) {
        m_current = -1;
    } else if (m_current > index) {
        --m_current;
    }
    SyncTitle();
    return true;
}

void MComboBox::DeleteAllItems() {
    m_items.clear();
    m_current = -1;
    SyncTitle();
}

int MComboBox::GetCount() const { return static_cast<int>(m_items.size()); }

bool MComboBox::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    SyncTitle();
    return true;
}

int MComboBox::GetCurSel() const { return m_current; }

bool MComboBox::SelectData(int value) {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[i].data == value) {
            SetCurSel(i);
            return true;
        }
    }
    SetCurSel(-1);
    return false;
}

int MComboBox::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].data : 0;
}

int MComboBox::GetCurData() const { return GetItemData(m_current); }

std::string MComboBox::GetItemText(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].text : std::string();
}

void MComboBox::SetItemText(int index, const std::string& text) {
    if (index >= 0 && index < GetCount()) {
        m_items[index].text = text;
        SyncTitle();
    }
}

void MComboBox::SyncTitle() {
    SetTitle(GetItemText(m_current));
    Invalidate();
}

void MComboBox::ShowDropDown() {
    if (!GetOwner() || !Widget() || m_items.empty()) {
        return;
    }
    HideDropDown();
    std::vector<std::string> texts;
    for (const Item& item : m_items) {
        texts.push_back(item.text);
    }
    const QPoint topLeft = Widget()->mapToGlobal(QPoint(0, 0));
    const Rect anchor{topLeft.x(), topLeft.y(), topLeft.x() + Widget()->width(),
                      topLeft.y() + Widget()->height()};
    m_popup = std::make_unique<ComboPopup>();
    m_popup->onChoose = [this](int row) { ChooseItem(row); };
    m_popup->Open(GetOwner(), anchor, std::move(texts), m_current);
    Invalidate();
}

void MComboBox::HideDropDown() {
    if (m_popup) {
        m_popup->DestroyWindow();
        m_popup.reset();
    }
}

bool MComboBox::IsDroppedDown() const { return m_popup && m_popup->IsWindowVisible(); }

void MComboBox::ChooseItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

void MComboBox::Paint(QPainter& painter) {
    const VisualState state = State();
    const QRectF area = QRectF(Widget()->rect()).adjusted(1, 1, -1, -1);
    const bool open = IsDroppedDown();
    const bool marked = IsMarked();
    QColor border = (open || state.focused || marked) ? Theme::Accent() : Theme::kPanelBorder;
    if (state.hover && !open && !marked) {
        border = QColor(84, 84, 92);
    }
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    if (!image.isNull()) {
        Theme::DrawNineSlice(painter, area, image, 8);
        if (open || state.focused || marked) {
            Theme::DrawPanel(painter, area, Qt::transparent, border, 8);
        }
    } else {
        Theme::DrawPanel(painter, area, Theme::ForState(Theme::kInput, state), border, 8);
    }
    qreal left = area.left() + 12;
    if (marked) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::Accent());
        painter.drawEllipse(QPointF(area.left() + 14, area.center().y()), 3.5, 3.5);
        left += 12;
    }
    painter.setFont(Font());
    painter.setPen(TextColour(marked ? Theme::kHeading : Theme::kText));
    const QRectF textRect(left, area.top(), area.right() - 34 - left, area.height());
    Theme::DrawControlText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter,
                           QString::fromStdString(GetTitle()));
    // Every item becomes the title once chosen.
    for (const Item& item : m_items)
        Theme::CheckTextFits(painter, textRect, QString::fromStdString(item.text));
    painter.save();
    if (open) {
        painter.translate(area.right() - 20, area.center().y());
        painter.rotate(180);
        painter.translate(-(area.right() - 20), -area.center().y());
    }
    Theme::DrawGlyph(painter, QRectF(area.right() - 30, area.center().y() - 10, 20, 20),
                     "chevron-down", open || state.hover ? Theme::kHeading : Theme::kSecondary,
                     1.6);
    painter.restore();
    painter.restore();
}

void MComboBox::Clicked() {
    if (IsDroppedDown()) {
        HideDropDown();
    } else {
        ShowDropDown();
    }
}

bool MComboBox::KeyPress(QKeyEvent& event) {
    const bool alt = (event.modifiers() & Qt::AltModifier) != 0;
    if (!alt && (event.key() == Qt::Key_Down || event.key() == Qt::Key_Up)) {
        const int next = m_current + (event.key() == Qt::Key_Down ? 1 : -1);
        if (next >= 0 && next < GetCount()) {
            ChooseItem(next);
        }
        return true;
    }
    if (event.key() == Qt::Key_Space || event.key() == Qt::Key_Return ||
        event.key() == Qt::Key_Enter || event.key() == Qt::Key_F4 ||
        (alt && event.key() == Qt::Key_Down)) {
        ShowDropDown();
        return true;
    }
    return false;
}

bool MComboBox::AcceptsFocus() const { return true; }

bool MComboBox::IsMarked() const { return false; }

}  // namespace DUI
