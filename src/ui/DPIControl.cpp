// SPDX-License-Identifier: MIT
#include "ui/DPIControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

#include "ui/EditField.h"
#include "ui/Theme.h"

namespace DUI {

struct DPIControl::Geometry {
    QRectF chip;
    QRectF swatch;
    QRectF value;
};

namespace {
constexpr double kGap = 12;
}

DPIControl::DPIControl() = default;

DPIControl::~DPIControl() {
    // The field can outlive this object until the event loop deletes it; cut it loose.
    if (Widget() && m_editor) {
        m_editor->onFocus = nullptr;
        m_editor->onEscape = nullptr;
        QObject::disconnect(m_editor, &QLineEdit::returnPressed, nullptr, nullptr);
    }
}

void DPIControl::OnCreated() {
    m_editor = new EditField(Widget());
    m_editor->hide();
    m_editor->setMaxLength(5);
    m_editor->setAlignment(Qt::AlignCenter);
    m_editor->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_editor));
    m_editor->onFocus = [this](bool focused) {
        if (focused) {
            Notify(kNotifyEditEnter, m_current);
        } else if (m_editing) {
            EndEdit(true);
        }
    };
    m_editor->onEscape = [this] {
        EndEdit(false);
        return true;
    };
    QObject::connect(m_editor, &QLineEdit::returnPressed, m_editor, [this] { EndEdit(true); });
}

int DPIControl::AddItem(int value, int colour) {
    if (m_count >= kMaxStages) {
        return -1;
    }
    const int index = m_count++;
    m_values[index] = value;
    m_colours[index] = colour & 0xFFFFFF;
    Invalidate();
    return index;
}

void DPIControl::DeleteAllItems() {
    if (m_editing) {
        EndEdit(false);
    }
    m_count = 0;
    m_current = -1;
    m_hot = -1;
    Invalidate();
}

int DPIControl::GetCount() const { return m_count; }

void DPIControl::SetDPIValue(int stage, int value) {
    if (stage >= 0 && stage < kMaxStages) {
        m_values[stage] = value;
        Invalidate();
    }
}

int DPIControl::GetDPIValue(int stage) const {
    return stage >= 0 && stage < kMaxStages ? m_values[stage] : 0;
}

void DPIControl::SetDPIColorValue(int stage, int colour) {
    if (stage >= 0 && stage < kMaxStages) {
        m_colours[stage] = colour & 0xFFFFFF;
        Invalidate();
    }
}

int DPIControl::GetDPIColorValue(int stage) const {
    return stage >= 0 && stage < kMaxStages ? m_colours[stage] : 0;
}

bool DPIControl::SetCurSel(int index) {
    if (index < -1 || index >= m_count) {
        return false;
    }
    if (m_editing && index != m_current) {
        EndEdit(false);
    }
    m_current = index;
    if (index >= 0) {
        m_editText = std::to_string(m_values[index]);
    }
    Invalidate();
    return true;
}

int DPIControl::GetCurSel() const { return m_current; }

std::string DPIControl::GetEditText() const {
    return m_editing && m_editor ? m_editor->text().toStdString() : m_editText;
}

void DPIControl::SetEditText(const std::string& text) {
    m_editText = text;
    if (m_editor) {
        m_editor->setText(QString::fromStdString(text));
    }
}

DPIControl::Geometry DPIControl::ChipGeometry(int index) const {
    Geometry g;
    const double width = Widget()->width();
    const double height = Widget()->height();
    const int chipSlots = std::max(m_count, 1);
    const double chipWidth = std::min(150.0, (width - kGap * (chipSlots - 1)) / chipSlots);
    const double total = chipWidth * chipSlots + kGap * (chipSlots - 1);
    const double left = (width - total) / 2 + index * (chipWidth + kGap);
    g.chip = QRectF(left, 1, chipWidth, height - 2);
    const double swatch = std::min(18.0, height * 0.2);
    g.swatch = QRectF(left + 12, 12, swatch, swatch);
    g.value = QRectF(left + 6, height * 0.42, chipWidth - 12, height * 0.46);
    return g;
}

int DPIControl::ChipAt(double x, double y, bool* onSwatch, bool* onValue) const {
    for (int i = 0; i < m_count; ++i) {
        const Geometry g = ChipGeometry(i);
        if (g.chip.contains(x, y)) {
            if (onSwatch) {
                *onSwatch = g.swatch.adjusted(-6, -6, 6, 6).contains(x, y);
            }
            if (onValue) {
                *onValue = g.value.contains(x, y);
            }
            return i;
        }
    }
    return -1;
}

bool DPIControl::BeginEdit() {
    if (m_current < 0 || !m_editor) {
        return false;
    }
    const Geometry g = ChipGeometry(m_current);
    m_editing = true;
    m_editor->setGeometry(g.value.adjusted(10, 6, -10, -6).toRect());
    m_editor->setFont(Theme::MakeFont(std::clamp(static_cast<int>(g.value.height() * 0.55), 16, 30),
                                      QFont::Bold));
    m_editor->setText(QString::number(m_values[m_current]));
    m_editor->selectAll();
    m_editor->show();
    m_editor->setFocus(Qt::MouseFocusReason);
    Invalidate();
    return true;
}

bool DPIControl::IsEditing() const { return m_editing; }

void DPIControl::EndEdit(bool commit) {
    if (!m_editing) {
        return;
    }
    m_editing = false;
    m_editText = m_editor->text().toStdString();
    m_editor->hide();
    Invalidate();
    if (commit) {
        Notify(kNotifyEditDone, m_current);
    }
}

void DPIControl::ClickItem(int index) {
    if (index < 0 || index >= m_count) {
        return;
    }
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

void DPIControl::ClickColor(int index) {
    if (index < 0 || index >= m_count) {
        return;
    }
    if (index != m_current) {
        ClickItem(index);
    }
    Notify(kNotifySecondary, index);
}

void DPIControl::Resized() {
    if (m_editing && m_current >= 0) {
        m_editor->setGeometry(ChipGeometry(m_current).value.adjusted(10, 6, -10, -6).toRect());
    }
}

void DPIControl::FocusChanged(bool) { Invalidate(); }

void DPIControl::Paint(QPainter& painter) {
    const VisualState state = State();
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    for (int i = 0; i < m_count; ++i) {
        const Geometry g = ChipGeometry(i);
        const bool selected = i == m_current;
        const bool hot = i == m_hot;
        const QColor stageColour = Theme::FromColourInt(m_colours[i]);
        QColor fill = selected ? Theme::WithAlpha(Theme::Accent(), 0.14) : Theme::kInput;
        if (hot && !selected) {
            fill = Theme::kInputHover;
        }
        Theme::DrawPanel(painter, g.chip, fill, selected ? Theme::Accent() : Theme::kPanelBorder,
                         10);
        if (selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Theme::Accent());
            painter.drawRoundedRect(
                QRectF(g.chip.left() + 14, g.chip.bottom() - 4, g.chip.width() - 28, 3), 1.5, 1.5);
        }
        // Colour swatch with a ring, and the stage number beside it.
        painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
        painter.setBrush(stageColour);
        painter.drawEllipse(g.swatch);
        painter.setFont(Theme::MakeFont(12));
        painter.setPen(selected ? Theme::kHeading : Theme::kSecondary);
        painter.drawText(QRectF(g.swatch.right() + 8, g.swatch.top() - 2,
                                g.chip.right() - g.swatch.right() - 16, g.swatch.height() + 4),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(i + 1));
        if (selected && m_editing) {
            Theme::DrawPanel(painter, g.value.adjusted(4, 2, -4, -2), Theme::kInput,
                             Theme::Accent(), 6);
            continue;
        }
        const int fontSize = std::clamp(static_cast<int>(g.value.height() * 0.55), 16, 30);
        painter.setFont(Theme::MakeFont(fontSize, QFont::Bold));
        painter.setPen(selected ? Theme::kHeading : Theme::kText);
        painter.drawText(g.value, Qt::AlignCenter, QString::number(m_values[i]));
    }
    painter.restore();
    if (state.focused && m_current >= 0 && !m_editing) {
        Theme::DrawFocusRing(painter, ChipGeometry(m_current).chip.adjusted(-2, -1, 2, 1), 11);
    }
}

void DPIControl::MousePress(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        return;
    }
    Widget()->setFocus(Qt::MouseFocusReason);
    bool onSwatch = false;
    bool onValue = false;
    const int index = ChipAt(event.position().x(), event.position().y(), &onSwatch, &onValue);
    if (index < 0) {
        return;
    }
    if (onSwatch) {
        ClickColor(index);
    } else if (onValue && index == m_current) {
        BeginEdit();
    } else {
        ClickItem(index);
    }
}

void DPIControl::MouseMove(QMouseEvent& event) {
    bool onSwatch = false;
    bool onValue = false;
    const int hot = ChipAt(event.position().x(), event.position().y(), &onSwatch, &onValue);
    Widget()->setCursor(onSwatch
                            ? Qt::PointingHandCursor
                            : (onValue && hot == m_current ? Qt::IBeamCursor : Qt::ArrowCursor));
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate();
    }
}

void DPIControl::HoverChanged(bool hovered) {
    if (!hovered) {
        m_hot = -1;
    }
}

bool DPIControl::KeyPress(QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Left:
            if (m_current > 0) {
                ClickItem(m_current - 1);
            }
            return true;
        case Qt::Key_Right:
            if (m_current + 1 < m_count) {
                ClickItem(m_current + 1);
            }
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            BeginEdit();
            return true;
        case Qt::Key_Space:
            ClickColor(m_current);
            return true;
        default:
            return false;
    }
}

bool DPIControl::AcceptsFocus() const { return true; }

}  // namespace DUI
