// SPDX-License-Identifier: MIT
#include "ui/DListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/EditField.h"
#include "ui/Theme.h"

namespace DUI {

DListBox::DListBox() = default;

DListBox::~DListBox() {
    // The field can outlive this object until the event loop deletes it; cut it loose.
    if (Widget() && m_editor) {
        m_editor->onFocus = nullptr;
        m_editor->onEscape = nullptr;
        QObject::disconnect(m_editor, &QLineEdit::returnPressed, nullptr, nullptr);
    }
}

void DListBox::OnCreated() {
    m_editor = new EditField(Widget());
    m_editor->hide();
    m_editor->setMaxLength(64);
    m_editor->onFocus = [this](bool focused) {
        if (!focused && m_editing >= 0) {
            FinishEdit(true);
        }
    };
    m_editor->onEscape = [this] {
        FinishEdit(false);
        return true;
    };
    QObject::connect(m_editor, &QLineEdit::returnPressed, m_editor, [this] { FinishEdit(true); });
}

int DListBox::AddItem(const std::string& text, int data) {
    return InsertItem(GetCount(), text, data);
}

int DListBox::InsertItem(int index, const std::string& text, int data) {
    if (index < 0 || index > GetCount()) {
        index = GetCount();
    }
    m_items.insert(m_items.begin() + index, {text, data});
    if (m_current >= index) {
        ++m_current;
    }
    Invalidate();
    return index;
}

bool DListBox::DeleteItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    if (m_editing >= 0) {
        FinishEdit(false);
    }
    m_items.erase(m_items.begin() + index);
    if (m_current == index) {
        m_current = -1;
    } else if (m_current > index) {
        --m_current;
    }
    m_rows.ClampFirst(GetCount() - 1);
    Invalidate();
    return true;
}

void DListBox::DeleteAllItems() {
    if (m_editing >= 0) {
        FinishEdit(false);
    }
    m_items.clear();
    m_current = -1;
    m_rows.Reset();
    Invalidate();
}

int DListBox::GetCount() const { return static_cast<int>(m_items.size()); }

bool DListBox::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    EnsureVisible(index);
    Invalidate();
    return true;
}

int DListBox::GetCurSel() const { return m_current; }

int DListBox::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].data : 0;
}

std::string DListBox::GetItemText(int index) const {
    return index >= 0 && index < GetCount() ? m_items[index].text : std::string();
}

void DListBox::SetItemText(int index, const std::string& text) {
    if (index >= 0 && index < GetCount()) {
        m_items[index].text = text;
        Invalidate();
    }
}

bool DListBox::SelectData(int value) {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[i].data == value) {
            return SetCurSel(i);
        }
    }
    SetCurSel(-1);
    return false;
}

void DListBox::SetRenameEnabled(bool enabled) {
    m_renamable = enabled;
    Invalidate();
}

bool DListBox::InPencil(const QPointF& point, int row) const {
    return m_renamable && row >= 0 && Widget() && point.x() >= Widget()->width() - 34;
}

void DListBox::SetItemHeight(int height) {
    m_rowHeight = std::max(16, height);
    Invalidate();
}

void DListBox::EnsureVisible(int index) {
    if (!Widget() || index < 0) {
        return;
    }
    m_rows.EnsureVisible(index, std::max(1, Widget()->height() / m_rowHeight));
}

int DListBox::RowAt(int y) const { return m_rows.RowAt(y, m_rowHeight, GetCount()); }

void DListBox::ChooseRow(int index) {
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

bool DListBox::EditItem(int index) {
    if (index < 0 || index >= GetCount() || !m_editor) {
        return false;
    }
    if (m_editing >= 0) {
        FinishEdit(true);
    }
    m_editing = index;
    SetCurSel(index);
    PlaceEditor();
    m_editor->setFont(Font());
    m_editor->setAlignment(
        static_cast<Qt::Alignment>((QtAlignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter));
    m_editor->setText(QString::fromStdString(m_items[index].text));
    m_editor->selectAll();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
    Invalidate();
    return true;
}

bool DListBox::IsEditing() const { return m_editing >= 0; }

void DListBox::EndEdit() {
    if (m_editing >= 0) {
        FinishEdit(true);
    }
}

const std::string& DListBox::GetEditText() const { return m_editText; }

void DListBox::PlaceEditor() {
    if (m_editor && m_editing >= 0) {
        const int y = (m_editing - m_rows.First()) * m_rowHeight;
        m_editor->setGeometry(8, y + 4, std::max(0, Widget()->width() - 16), m_rowHeight - 8);
    }
}

void DListBox::FinishEdit(bool commit) {
    const int index = m_editing;
    if (index < 0) {
        return;
    }
    // Cleared first: hiding the field moves the focus, which would end the edit again.
    m_editing = -1;
    const std::string text = m_editor->text().trimmed().toStdString();
    m_editor->hide();
    Invalidate();
    if (!commit) {
        return;
    }
    m_editText = text;
    if (!text.empty() && index < GetCount()) {
        m_items[index].text = text;
    }
    Notify(kNotifyEditDone, index);
}

void DListBox::Resized() { PlaceEditor(); }

void DListBox::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    const QPixmap rowImage = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    painter.setFont(Font());
    const int visibleRows = static_cast<int>(area.height()) / m_rowHeight + 1;
    for (int i = 0; i < visibleRows && i + m_rows.First() < GetCount(); ++i) {
        const int row = i + m_rows.First();
        const QRectF rowRect(0, i * m_rowHeight, area.width(), m_rowHeight);
        const QRectF plate = rowRect.adjusted(2, 2, -2, -2);
        const bool selected = row == m_current;
        const bool hot = row == m_rows.Hot();
        if (selected || hot) {
            if (!rowImage.isNull()) {
                painter.save();
                painter.setOpacity(selected ? 1.0 : 0.55);
                Theme::DrawNineSlice(painter, plate, rowImage, 6);
                painter.restore();
                if (selected) {
                    Theme::DrawPanel(painter, plate, Qt::transparent,
                                     Theme::WithAlpha(Theme::Accent(), 0.8), 6);
                }
            } else {
                Theme::DrawPanel(
                    painter, plate,
                    selected ? Theme::WithAlpha(Theme::Accent(), 0.16) : QColor(255, 255, 255, 12),
                    selected ? Theme::WithAlpha(Theme::Accent(), 0.7) : QColor(Qt::transparent), 6);
            }
        }
        if (row == m_editing) {
            continue;
        }
        painter.setPen(selected ? Theme::kHeading : TextColour(Theme::kText));
        const bool pencil = m_renamable && (hot || selected);
        const QRectF textRect = rowRect.adjusted(pencil ? 34 : 14, 0, pencil ? -34 : -14, 0);
        if (pencil) {
            Theme::DrawGlyph(painter,
                             QRectF(rowRect.right() - 28, rowRect.center().y() - 9, 18, 18), "edit",
                             hot ? Theme::kHeading : Theme::kSecondary, 1.4);
        }
        // Rows hold names the user typed (macros): long ones are elided on purpose.
        Theme::DrawControlText(painter, textRect,
                               (QtAlignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter,
                               QString::fromStdString(m_items[row].text), Theme::Elide::OnPurpose);
    }
    if (GetCount() * m_rowHeight > area.height()) {
        const qreal trackHeight = area.height() - 4;
        const qreal total = GetCount();
        const qreal shown = area.height() / m_rowHeight;
        const qreal thumb = std::max<qreal>(24, trackHeight * shown / total);
        const qreal top = m_rows.ThumbTop(2, trackHeight, thumb, total, shown);
        Theme::DrawPanel(painter, QRectF(area.width() - 4, top, 3, thumb),
                         QColor(255, 255, 255, 60), Qt::transparent, 1.5);
    }
    if (State().disabled) {
        painter.fillRect(area, QColor(26, 26, 26, 140));
    }
    if (State().focused) Theme::DrawFocusRing(painter, area, 6);
}

void DListBox::MousePress(QMouseEvent& event) {
    MControl::MousePress(event);
    if (event.button() == Qt::LeftButton) {
        const int row = RowAt(static_cast<int>(event.position().y()));
        if (InPencil(event.position(), row)) {
            EditItem(row);
        } else if (row >= 0) {
            ChooseRow(row);
        }
    }
}

void DListBox::MouseMove(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (m_rows.SetHot(row)) Invalidate();
}

void DListBox::MouseDoubleClick(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (event.button() == Qt::LeftButton && row >= 0) {
        EditItem(row);
    }
}

void DListBox::HoverChanged(bool hovered) {
    if (!hovered) m_rows.SetHot(-1);
}

void DListBox::Wheel(QWheelEvent& event) {
    m_rows.ScrollBy(RowScroller::WheelRows(event.angleDelta().y()), GetCount(),
                    std::max(1, Widget()->height() / m_rowHeight));
    PlaceEditor();
    Invalidate();
}

void DListBox::SetChooseByEnter(bool chooseByEnter) { m_chooseByEnter = chooseByEnter; }

bool DListBox::KeyPress(QKeyEvent& event) {
    const auto moveTo = [this](int index) {
        if (!m_chooseByEnter) {
            ChooseRow(index);
            return;
        }
        SetCurSel(index);
    };
    switch (event.key()) {
        case Qt::Key_Down:
            if (m_current + 1 < GetCount()) {
                moveTo(m_current + 1);
            }
            return true;
        case Qt::Key_Up:
            if (m_current > 0) {
                moveTo(m_current - 1);
            }
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!m_chooseByEnter) return false;
            if (m_current >= 0) ChooseRow(m_current);
            return true;
        case Qt::Key_F2:
            EditItem(m_current);
            return true;
        default:
            return false;
    }
}

bool DListBox::AcceptsFocus() const { return true; }

}  // namespace DUI
