// SPDX-License-Identifier: MIT
#include "ui/CDeviceList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/Theme.h"

namespace DUI {

namespace {
constexpr double kCardGap = 24;
constexpr double kCardAspect = 0.78;  // width / height
constexpr double kMaxCardHeight = 360;

QString VersionText(int version) {
    const QString hex = QString::number(version, 16);
    if (hex.size() < 3) {
        return QStringLiteral("v") + hex;
    }
    return QStringLiteral("v%1.%2").arg(hex.left(1), hex.right(2));
}
}  // namespace

int CDeviceList::AddDevice(int model, const std::string& name, const std::string& picture) {
    int index = IndexOf(model);
    if (index < 0) {
        m_cards.push_back({});
        index = static_cast<int>(m_cards.size()) - 1;
        m_cards[index].model = model;
    }
    m_cards[index].name = name;
    m_cards[index].picture = picture;
    Invalidate();
    return index;
}

void CDeviceList::DeleteAllDevices() {
    m_cards.clear();
    m_selected = -1;
    m_rows.Reset();
    Invalidate();
}

int CDeviceList::GetCount() const { return static_cast<int>(m_cards.size()); }

int CDeviceList::GetDeviceModel(int index) const {
    return index >= 0 && index < GetCount() ? m_cards[index].model : 0;
}

int CDeviceList::IndexOf(int model) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_cards[i].model == model) {
            return i;
        }
    }
    return -1;
}

bool CDeviceList::SetDeviceState(int model, int mode, int state) {
    const int index = IndexOf(model);
    if (index < 0) {
        return false;
    }
    m_cards[index].mode = mode;
    m_cards[index].state = state;
    Invalidate();
    return true;
}

bool CDeviceList::SetDeviceNote(int model, const std::string& note) {
    const int index = IndexOf(model);
    if (index < 0) return false;
    m_cards[index].note = note;
    Invalidate();
    return true;
}

std::string CDeviceList::GetDeviceNote(int model) const {
    const int index = IndexOf(model);
    return index < 0 ? std::string() : m_cards[index].note;
}

void CDeviceList::SetAllDeviceState(int state) {
    for (Card& card : m_cards) {
        card.state = state;
    }
    Invalidate();
}

bool CDeviceList::SetDeviceBattery(int model, int chargeState, int level) {
    const int index = IndexOf(model);
    if (index < 0) {
        return false;
    }
    m_cards[index].chargeState = chargeState;
    m_cards[index].battery = std::clamp(level, 0, 100);
    Invalidate();
    return true;
}

bool CDeviceList::SetDeviceVersion(int model, int version) {
    const int index = IndexOf(model);
    if (index < 0) {
        return false;
    }
    m_cards[index].version = version;
    Invalidate();
    return true;
}

int CDeviceList::SetSelectDevice(int model) {
    int index = IndexOf(model);
    if (index < 0 || m_cards[index].state != 1) {
        int online = -1;
        for (int i = 0; i < GetCount(); ++i) {
            if (m_cards[i].state == 1) {
                online = i;
                break;
            }
        }
        if (online >= 0) {
            index = online;
        } else if (index < 0 && !m_cards.empty()) {
            index = 0;
        }
    }
    m_selected = index;
    if (index >= 0) {
        m_rows.EnsureVisible(index, VisibleCards());
    }
    Invalidate();
    return GetSelectDevice();
}

int CDeviceList::GetSelectDevice() const { return GetDeviceModel(m_selected); }

int CDeviceList::GetOnlineDevCount() const {
    int count = 0;
    for (const Card& card : m_cards) {
        count += card.state == 1 ? 1 : 0;
    }
    return count;
}

int CDeviceList::GetDeviceState(int model) const {
    const int index = IndexOf(model);
    return index < 0 ? -1 : m_cards[index].state;
}

void CDeviceList::SetHighlight(int index) {
    m_rows.SetHot(index >= 0 && index < GetCount() ? index : -1);
    Invalidate();
}

int CDeviceList::GetHighlight() const { return m_rows.Hot(); }

double CDeviceList::CardHeight() const {
    // Cards stop growing at kMaxCardHeight; a taller list shows more of them side by side.
    return std::min<double>(Widget()->height() - 16, kMaxCardHeight);
}

int CDeviceList::VisibleCards() const {
    if (!Widget()) {
        return 1;
    }
    const double width = CardHeight() * kCardAspect;
    return std::max(1, static_cast<int>((Widget()->width() + kCardGap) / (width + kCardGap)));
}

bool CDeviceList::CanScroll() const { return GetCount() > VisibleCards(); }

void CDeviceList::Scroll(int cards) {
    m_rows.ScrollBy(cards, GetCount(), VisibleCards());
    Invalidate();
}

void CDeviceList::SetEmptyText(const std::string& title, const std::string& hint) {
    m_emptyTitle = title;
    m_emptyHint = hint;
    Invalidate();
}

void CDeviceList::ClickDevice(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    m_selected = index;
    Invalidate();
    Notify(kNotifyClick, m_cards[index].model);
}

void CDeviceList::CardGeometry(int slot, double& x, double& y, double& w, double& h) const {
    const double areaWidth = Widget()->width();
    h = CardHeight();
    w = h * kCardAspect;
    const int shown = std::min(VisibleCards(), GetCount() - m_rows.First());
    const double total = shown * w + std::max(0, shown - 1) * kCardGap;
    x = (areaWidth - total) / 2 + slot * (w + kCardGap);
    y = (Widget()->height() - h) / 2;
}

int CDeviceList::CardAt(int px, int py) const {
    const int shown = std::min(VisibleCards(), GetCount() - m_rows.First());
    for (int slot = 0; slot < shown; ++slot) {
        double x = 0;
        double y = 0;
        double w = 0;
        double h = 0;
        CardGeometry(slot, x, y, w, h);
        if (px >= x && px < x + w && py >= y && py < y + h) {
            return m_rows.First() + slot;
        }
    }
    return -1;
}

void CDeviceList::Paint(QPainter& painter) {
    const QRectF area = Widget()->rect();
    if (m_cards.empty()) {
        const qreal side = std::min(area.height() * 0.45, 200.0);
        const QRectF outline(area.center().x() - side / 2, area.center().y() - side * 0.75, side,
                             side);
        painter.setPen(QPen(QColor(80, 80, 88), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        Theme::DrawMouseSilhouette(painter, outline, QColor(44, 44, 48), QColor(90, 90, 96));
        painter.setFont(Theme::MakeFont(20));
        painter.setPen(Theme::kHeading);
        Theme::DrawControlText(painter, QRectF(0, outline.bottom() + 16, area.width(), 30),
                               Qt::AlignCenter, QString::fromStdString(m_emptyTitle));
        painter.setFont(Theme::MakeFont(14, QFont::Normal));
        painter.setPen(Theme::kSecondary);
        Theme::DrawControlText(
            painter, QRectF(area.width() * 0.15, outline.bottom() + 50, area.width() * 0.7, 60),
            Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
            QString::fromStdString(m_emptyHint));
        return;
    }
    const int shown = std::min(VisibleCards(), GetCount() - m_rows.First());
    for (int slot = 0; slot < shown; ++slot) {
        const int index = m_rows.First() + slot;
        const Card& card = m_cards[index];
        double x = 0;
        double y = 0;
        double w = 0;
        double h = 0;
        CardGeometry(slot, x, y, w, h);
        const QRectF rect(x, y, w, h);
        const bool selected = index == m_selected;
        const bool hot = index == m_rows.Hot();
        const bool online = card.state == 1;
        painter.save();
        QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
        fill.setColorAt(0, hot ? QColor(46, 46, 50) : QColor(40, 40, 43));
        fill.setColorAt(1, QColor(32, 32, 34));
        painter.setPen(
            QPen(selected ? Theme::Accent() : (hot ? QColor(84, 84, 92) : Theme::kPanelBorder),
                 selected ? 2 : 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), 14, 14);
        if (selected) {
            // A soft accent glow under the selected card's picture.
            QRadialGradient glow(QPointF(rect.center().x(), rect.top() + h * 0.42), w * 0.5);
            glow.setColorAt(0, Theme::WithAlpha(Theme::Accent(), 0.18));
            glow.setColorAt(1, Theme::WithAlpha(Theme::Accent(), 0.0));
            painter.setPen(Qt::NoPen);
            painter.setBrush(glow);
            painter.drawRoundedRect(rect.adjusted(2, 2, -2, -2), 13, 13);
        }
        painter.setOpacity(online ? 1.0 : 0.5);
        const QRectF pictureRect(rect.left() + w * 0.06, rect.top() + h * 0.05, w * 0.88, h * 0.6);
        const QPixmap picture =
            Theme::SkinImage(card.picture, painter.device()->devicePixelRatioF());
        if (!picture.isNull()) {
            Theme::DrawFitted(painter, pictureRect, picture);
        } else {
            Theme::DrawMouseSilhouette(painter, pictureRect, QColor(58, 58, 64), Theme::Accent());
        }
        painter.setFont(Theme::MakeFont(std::clamp(static_cast<int>(h / 18), 13, 18)));
        painter.setPen(Theme::kHeading);
        const QRectF nameRect(rect.left() + 12, rect.top() + h * 0.67, w - 24, h * 0.1);
        Theme::DrawControlText(painter, nameRect, Qt::AlignCenter,
                               QString::fromStdString(card.name));
        // Status line: connection icon with its dot, battery, firmware version.
        const qreal rowY = rect.top() + h * 0.84;
        const qreal icon = std::clamp(h / 16, 16.0, 22.0);
        painter.setFont(Theme::MakeFont(12));
        const QFontMetricsF metrics(painter.font());
        // A note takes the place of battery and version.
        const QString note = metrics.elidedText(QString::fromStdString(card.note), Qt::ElideRight,
                                                w - 24 - icon - 12 - 8);
        const QString version =
            card.version > 0 && note.isEmpty() ? VersionText(card.version) : QString();
        const QString battery = card.battery >= 0 && note.isEmpty()
                                    ? QStringLiteral("%1%").arg(card.battery)
                                    : QString();
        qreal rowWidth = icon + 12;
        if (!note.isEmpty()) rowWidth += 8 + metrics.horizontalAdvance(note);
        if (!battery.isEmpty()) {
            rowWidth += 16 + icon * 1.6 + 4 + metrics.horizontalAdvance(battery);
        }
        if (!version.isEmpty()) {
            rowWidth += 16 + metrics.horizontalAdvance(version);
        }
        qreal cx = rect.center().x() - rowWidth / 2;
        Theme::DrawGlyph(painter, QRectF(cx, rowY - icon / 2, icon, icon),
                         card.mode == 1 ? "receiver" : "cable", Theme::kText, 1.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(online ? Theme::kGood : QColor(110, 110, 116));
        painter.drawEllipse(QPointF(cx + icon + 6, rowY), 3.5, 3.5);
        cx += icon + 12;
        if (!battery.isEmpty()) {
            cx += 16;
            Theme::DrawBattery(painter, QRectF(cx, rowY - icon * 0.32, icon * 1.6, icon * 0.64),
                               card.battery, card.chargeState == 1);
            cx += icon * 1.6 + 4;
            painter.setPen(Theme::kText);
            painter.drawText(QRectF(cx, rowY - 10, metrics.horizontalAdvance(battery) + 2, 20),
                             Qt::AlignLeft | Qt::AlignVCenter, battery);
            cx += metrics.horizontalAdvance(battery);
        }
        if (!note.isEmpty()) {
            cx += 8;
            painter.setPen(Theme::kSecondary);
            painter.drawText(QRectF(cx, rowY - 10, metrics.horizontalAdvance(note) + 2, 20),
                             Qt::AlignLeft | Qt::AlignVCenter, note);
        }
        if (!version.isEmpty()) {
            cx += 16;
            painter.setPen(Theme::kSecondary);
            painter.drawText(QRectF(cx, rowY - 10, metrics.horizontalAdvance(version) + 2, 20),
                             Qt::AlignLeft | Qt::AlignVCenter, version);
        }
        painter.restore();
    }
    if (State().focused && m_selected >= m_rows.First() && m_selected < m_rows.First() + shown) {
        double x = 0;
        double y = 0;
        double w = 0;
        double h = 0;
        CardGeometry(m_selected - m_rows.First(), x, y, w, h);
        Theme::DrawFocusRing(painter, QRectF(x - 3, y - 3, w + 6, h + 6), 16);
    }
}

void CDeviceList::MouseMove(QMouseEvent& event) {
    const int hot =
        CardAt(static_cast<int>(event.position().x()), static_cast<int>(event.position().y()));
    if (m_rows.SetHot(hot)) Invalidate();
}

void CDeviceList::MouseRelease(QMouseEvent& event) {
    MControl::MouseRelease(event);
    if (event.button() == Qt::LeftButton) {
        ClickDevice(
            CardAt(static_cast<int>(event.position().x()), static_cast<int>(event.position().y())));
    }
}

void CDeviceList::HoverChanged(bool hovered) {
    if (!hovered) m_rows.SetHot(-1);
}

void CDeviceList::Wheel(QWheelEvent& event) { Scroll(event.angleDelta().y() > 0 ? -1 : 1); }

bool CDeviceList::AcceptsFocus() const { return true; }

bool CDeviceList::KeyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_Left || event.key() == Qt::Key_Right) {
        const int next =
            std::clamp(m_selected + (event.key() == Qt::Key_Right ? 1 : -1), 0, GetCount() - 1);
        SetSelectDevice(GetDeviceModel(next));
        m_selected = next;
        Invalidate();
        return true;
    }
    if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter ||
         event.key() == Qt::Key_Space) &&
        m_selected >= 0) {
        ClickDevice(m_selected);
        return true;
    }
    return false;
}

}  // namespace DUI
