// SPDX-License-Identifier: MIT
#include "ui/CRecordList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/Theme.h"

namespace DUI {

namespace {

constexpr int kDelay = 1;

bool IsDown(int type) { return type == 2 || type == 4; }
bool IsUp(int type) { return type == 3 || type == 5; }

}  // namespace

int CRecordList::AddEntry(const RecordEntry& entry) { return InsertEntry(GetCount(), entry); }

int CRecordList::InsertEntry(int index, const RecordEntry& entry) {
    if (index < 0 || index > GetCount()) {
        index = GetCount();
    }
    m_entries.insert(m_entries.begin() + index, entry);
    if (m_current >= index) {
        ++m_current;
    }
    Invalidate();
    return index;
}

bool CRecordList::DeleteEntry(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    m_entries.erase(m_entries.begin() + index);
    if (m_current == index) {
        m_current = -1;
    } else if (m_current > index) {
        --m_current;
    }
    m_rows.ClampFirst(GetCount() - 1);
    Invalidate();
    return true;
}

void CRecordList::DeleteAllEntries() {
    m_entries.clear();
    m_current = -1;
    m_rows.Reset();
    Invalidate();
}

int CRecordList::GetCount() const { return static_cast<int>(m_entries.size()); }

int CRecordList::GetEventCount() const {
    int count = 0;
    for (const RecordEntry& entry : m_entries) {
        count += entry.type != kDelay ? 1 : 0;
    }
    return count;
}

RecordEntry CRecordList::GetEntry(int index) const {
    return index >= 0 && index < GetCount() ? m_entries[index] : RecordEntry{};
}

bool CRecordList::SetEntry(int index, const RecordEntry& entry) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    m_entries[index] = entry;
    Invalidate();
    return true;
}

bool CRecordList::SwapEntries(int first, int second) {
    if (first < 0 || second < 0 || first >= GetCount() || second >= GetCount()) {
        return false;
    }
    std::swap(m_entries[first], m_entries[second]);
    if (m_current == first) {
        m_current = second;
    } else if (m_current == second) {
        m_current = first;
    }
    EnsureVisible(m_current);
    Invalidate();
    return true;
}

bool CRecordList::MoveEntry(int from, int to) {
    if (from < 0 || to < 0 || from >= GetCount() || to >= GetCount()) {
        return false;
    }
    const RecordEntry moved = m_entries[from];
    const bool followSelection = m_current == from;
    m_entries.erase(m_entries.begin() + from);
    if (!followSelection && m_current > from) {
        --m_current;
    }
    m_entries.insert(m_entries.begin() + to, moved);
    if (followSelection) {
        m_current = to;
    } else if (m_current >= to) {
        ++m_current;
    }
    EnsureVisible(m_current);
    Invalidate();
    return true;
}

int CRecordList::FindEntry(int type, unsigned stamp) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_entries[i].type == type && m_entries[i].stamp == stamp) {
            return i;
        }
    }
    return -1;
}

int CRecordList::GetPairIndex(int index) const {
    if (index < 0 || index >= GetCount()) {
        return -1;
    }
    const RecordEntry& entry = m_entries[index];
    if (IsDown(entry.type)) {
        const int upType = entry.type + 1;
        // Inserted presses share one stamp; recorded ones are paired by the release of the
        // same key that follows.
        const int byStamp = FindEntry(upType, entry.stamp);
        if (byStamp >= 0 && byStamp != index) {
            return byStamp;
        }
        for (int i = index + 1; i < GetCount(); ++i) {
            if (m_entries[i].type == upType && m_entries[i].value == entry.value) {
                return i;
            }
        }
        return -1;
    }
    if (IsUp(entry.type)) {
        const int downType = entry.type - 1;
        const int byStamp = FindEntry(downType, entry.stamp);
        if (byStamp >= 0 && byStamp != index) {
            return byStamp;
        }
        for (int i = index - 1; i >= 0; --i) {
            if (m_entries[i].type == downType && m_entries[i].value == entry.value) {
                return i;
            }
        }
    }
    return -1;
}

int CRecordList::UpdatePress(int index, const std::string& name, int value) {
    if (index < 0 || index >= GetCount() || m_entries[index].type == kDelay) {
        return 0;
    }
    const int pair = GetPairIndex(index);
    int changed = 0;
    for (const int i : {index, pair}) {
        if (i < 0) {
            continue;
        }
        RecordEntry& entry = m_entries[i];
        entry.text = std::string(IsDown(entry.type) ? "\u2193  " : "\u2191  ") + name;
        entry.value = value;
        ++changed;
    }
    Invalidate();
    return changed;
}

bool CRecordList::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    EnsureVisible(index);
    Invalidate();
    return true;
}

int CRecordList::GetCurSel() const { return m_current; }

void CRecordList::ClickItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

void CRecordList::EnsureVisible(int index) {
    if (!Widget() || index < 0) {
        return;
    }
    m_rows.EnsureVisible(index, std::max(1, Widget()->height() / m_rowHeight));
}

int CRecordList::RowAt(int y) const { return m_rows.RowAt(y, m_rowHeight, GetCount()); }

void CRecordList::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    const QFont numberFont = Theme::MakeFont(11, QFont::Normal);
    const QFont textFont = Theme::MakeFont(14);
    const int visibleRows = static_cast<int>(area.height()) / m_rowHeight + 1;
    for (int i = 0; i < visibleRows && i + m_rows.First() < GetCount(); ++i) {
        const int row = i + m_rows.First();
        const RecordEntry& entry = m_entries[row];
        const QRectF rowRect(0, i * m_rowHeight, area.width() - 6, m_rowHeight);
        const bool selected = row == m_current;
        const bool hot = row == m_rows.Hot();
        if (selected || hot) {
            Theme::DrawPanel(
                painter, rowRect.adjusted(1, 1, -1, -1),
                selected ? Theme::WithAlpha(Theme::Accent(), 0.16) : QColor(255, 255, 255, 12),
                selected ? Theme::WithAlpha(Theme::Accent(), 0.7) : QColor(Qt::transparent), 6);
        }
        painter.setFont(numberFont);
        painter.setPen(QColor(110, 110, 118));
        painter.drawText(QRectF(rowRect.left() + 6, rowRect.top(), 26, rowRect.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(row + 1));
        const QRectF iconRect(rowRect.left() + 40, rowRect.center().y() - 8, 16, 16);
        QColor textColour = Theme::kText;
        if (entry.type == kDelay) {
            Theme::DrawGlyph(painter, iconRect, "clock", Theme::kSecondary, 1.3);
            textColour = Theme::kSecondary;
        } else {
            Theme::DrawGlyph(painter, iconRect, IsDown(entry.type) ? "down" : "up",
                             IsDown(entry.type) ? Theme::Accent() : QColor(150, 150, 160), 1.6);
        }
        // The kind icon already shows the arrow that starts a press entry's text.
        QString text = QString::fromStdString(entry.text);
        if (entry.type != kDelay &&
            (text.startsWith(QChar(0x2193)) || text.startsWith(QChar(0x2191)))) {
            text = text.mid(1).trimmed();
        }
        painter.setFont(textFont);
        painter.setPen(selected ? Theme::kHeading : textColour);
        const QRectF textRect(iconRect.right() + 10, rowRect.top(),
                              rowRect.right() - iconRect.right() - 18, rowRect.height());
        Theme::DrawControlText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
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

void CRecordList::MousePress(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (event.button() == Qt::RightButton) {
        if (row >= 0) {
            SetCurSel(row);
        }
        Notify(kNotifySecondary, row);
        return;
    }
    MControl::MousePress(event);
    if (event.button() == Qt::LeftButton) {
        ClickItem(row);
    }
}

void CRecordList::MouseMove(QMouseEvent& event) {
    const int row = RowAt(static_cast<int>(event.position().y()));
    if (m_rows.SetHot(row)) Invalidate();
}

void CRecordList::HoverChanged(bool hovered) {
    if (!hovered) m_rows.SetHot(-1);
}

void CRecordList::Wheel(QWheelEvent& event) {
    m_rows.ScrollBy(RowScroller::WheelRows(event.angleDelta().y()), GetCount(),
                    std::max(1, Widget()->height() / m_rowHeight));
    Invalidate();
}

bool CRecordList::KeyPress(QKeyEvent& event) {
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

bool CRecordList::AcceptsFocus() const { return true; }

}  // namespace DUI
