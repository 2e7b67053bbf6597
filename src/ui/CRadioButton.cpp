// SPDX-License-Identifier: MIT
#include "ui/CRadioButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "ui/MDialog.h"
#include "ui/Theme.h"

namespace DUI {

void CRadioButton::SetGroupName(const std::string& group) { m_group = group; }

const std::string& CRadioButton::GetGroupName() const { return m_group; }

void CRadioButton::SetCheck(int check) {
    m_check = check ? 1 : 0;
    if (m_check && !m_group.empty() && GetOwner()) {
        for (MControl* control : GetOwner()->GetControls()) {
            auto* other = dynamic_cast<CRadioButton*>(control);
            if (other && other != this && other->m_group == m_group && other->m_check) {
                other->m_check = 0;
                other->Invalidate();
            }
        }
    }
    Invalidate();
}

int CRadioButton::GetCheck() const { return m_check; }

void CRadioButton::Paint(QPainter& painter) {
    const VisualState state = State();
    const QRectF area = Widget()->rect();
    const qreal box = std::min<qreal>(18, area.height() - 2);
    const QRectF circle(1, area.center().y() - box / 2, box, box);
    painter.save();
    if (state.disabled) {
        painter.setOpacity(0.4);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor border =
        m_check ? Theme::Accent() : (state.hover ? Theme::Accent() : QColor(92, 92, 100));
    painter.setPen(QPen(border, m_check ? 1.6 : 1.2));
    painter.setBrush(Theme::ForState(Theme::kInput, state));
    painter.drawEllipse(circle.adjusted(0.8, 0.8, -0.8, -0.8));
    if (m_check) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::Accent());
        painter.drawEllipse(circle.center(), box * 0.25, box * 0.25);
    }
    if (state.focused) {
        painter.setPen(QPen(Theme::WithAlpha(Theme::Accent(), 0.6), 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(-2.5, -2.5, 2.5, 2.5));
    }
    painter.setFont(Font());
    painter.setPen(TextColour(state.hover || m_check ? Theme::kHeading : Theme::kText));
    const QRectF textRect(circle.right() + 10, 0, area.width() - circle.right() - 10,
                          area.height());
    Theme::DrawControlText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter,
                           QString::fromStdString(GetTitle()));
    painter.restore();
}

void CRadioButton::Clicked() {
    SetCheck(1);
    Notify(kNotifyClick);
}

bool CRadioButton::KeyPress(QKeyEvent& event) {
    int step = 0;
    switch (event.key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        default:
            return MControlFont::KeyPress(event);
    }
    if (m_group.empty() || GetOwner() == nullptr) return true;
    // The group in creation order, which is the order the page lays its choices out in.
    std::vector<CRadioButton*> group;
    for (MControl* control : GetOwner()->GetControls()) {
        auto* radio = dynamic_cast<CRadioButton*>(control);
        if (radio != nullptr && radio->m_group == m_group &&
            (radio == this || (radio->Widget() != nullptr && radio->Widget()->isVisible() &&
                               radio->Widget()->isEnabled())))
            group.push_back(radio);
    }
    const auto self = std::find(group.begin(), group.end(), this);
    if (group.size() < 2 || self == group.end()) return true;
    const long count = static_cast<long>(group.size());
    CRadioButton* next =
        group[static_cast<std::size_t>(((self - group.begin()) + step + count) % count)];
    next->OnFocus();
    next->Clicked();
    return true;
}

bool CRadioButton::AcceptsFocus() const { return true; }

bool CRadioButton::IsCheckedForPaint() const { return m_check != 0; }

}  // namespace DUI
