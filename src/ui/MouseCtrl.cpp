// SPDX-License-Identifier: MIT
#include "ui/MouseCtrl.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "ui/Theme.h"

namespace DUI {

struct MouseCtrl::Placed {
    QPointF anchor;
    QRectF label;
    bool left = true;
};

namespace {
constexpr double kLabelHeight = 30;
constexpr double kLabelSpacing = 38;
constexpr int kLabelFontSize = 13;
constexpr double kLabelPadding = 10;  // text inset on each side of a label
constexpr double kLabelGap = 24;      // picture edge to label edge (room for the callout's bend)
constexpr double kEdgeMargin = 4;     // control edge to the outer label edge
constexpr double kMinLabelWidth = 96;
constexpr double kMaxLabelWidth = 220;
constexpr double kMaxPictureShare = 0.4;   // of the control's width
constexpr double kMinPictureShare = 0.25;  // the picture gives way to the labels down to this
}  // namespace

int MouseCtrl::AddKey(int keyValue, const std::string& text, int direction, int x, int y,
                      int length) {
    m_keys.push_back({keyValue, text, direction, x, y, length});
    Invalidate();
    return static_cast<int>(m_keys.size()) - 1;
}

void MouseCtrl::DeleteAllKeys() {
    m_keys.clear();
    m_current = -1;
    m_hot = -1;
    Invalidate();
}

int MouseCtrl::GetCount() const { return static_cast<int>(m_keys.size()); }

bool MouseCtrl::SetKeyText(int keyValue, const std::string& text) {
    const int index = FindKey(keyValue);
    if (index < 0) {
        return false;
    }
    m_keys[index].text = text;
    Invalidate();
    return true;
}

std::string MouseCtrl::GetKeyText(int index) const {
    return index >= 0 && index < GetCount() ? m_keys[index].text : std::string();
}

int MouseCtrl::GetKeyValue(int index) const {
    return index >= 0 && index < GetCount() ? m_keys[index].keyValue : -1;
}

int MouseCtrl::FindKey(int keyValue) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_keys[i].keyValue == keyValue) {
            return i;
        }
    }
    return -1;
}

bool MouseCtrl::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    m_current = index;
    Invalidate();
    return true;
}

int MouseCtrl::GetCurSel() const { return m_current; }

void MouseCtrl::ClickItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

void MouseCtrl::PictureGeometry(QRectF& drawn, QSizeF& natural) const {
    const double width = Widget()->width();
    const double height = Widget()->height();
    const QPixmap image = Theme::SkinImage(GetImage(), Widget()->devicePixelRatioF());
    natural = image.isNull() ? QSizeF(342, 440) : QSizeF(image.size()) / image.devicePixelRatio();
    // The labels beside the picture get the width their texts need; the picture shrinks
    // for them, but not below kMinPictureShare of the width.
    const double room = width - 2 * (LabelWidthNeeded() + kLabelGap + kEdgeMargin);
    const double maxWidth = std::clamp(room, width * kMinPictureShare, width * kMaxPictureShare);
    const double maxHeight = height - 24;
    const double scale = std::min(maxWidth / natural.width(), maxHeight / natural.height());
    const QSizeF size = natural * scale;
    drawn = QRectF((width - size.width()) / 2, (height - size.height()) / 2, size.width(),
                   size.height());
}

double MouseCtrl::LabelWidthNeeded() const {
    const QFontMetricsF metrics(Theme::MakeFont(kLabelFontSize));
    double widest = 0;
    for (const Key& key : m_keys) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(key.text)));
    }
    return std::clamp(std::ceil(widest) + 2 * kLabelPadding + 2, kMinLabelWidth, kMaxLabelWidth);
}

std::vector<MouseCtrl::Placed> MouseCtrl::Layout() const {
    std::vector<Placed> placed(m_keys.size());
    if (!Widget()) {
        return placed;
    }
    const double width = Widget()->width();
    const double height = Widget()->height();
    QRectF picture;
    QSizeF natural;
    PictureGeometry(picture, natural);
    // One width for every label: what the longest text needs, within the room beside the picture.
    const double beside = (width - picture.width()) / 2 - kLabelGap - kEdgeMargin;
    const double labelWidth = std::max(0.0, std::min(LabelWidthNeeded(), beside));
    for (size_t i = 0; i < m_keys.size(); ++i) {
        const Key& key = m_keys[i];
        placed[i].left = key.direction == 0;
        placed[i].anchor = QPointF(
            picture.left() + picture.width() * std::clamp(key.x / natural.width(), 0.0, 1.0),
            picture.top() + picture.height() * std::clamp(key.y / natural.height(), 0.0, 1.0));
        const double labelY =
            std::clamp(placed[i].anchor.y() - kLabelHeight / 2, 0.0, height - kLabelHeight);
        const double labelX = placed[i].left
                                  ? std::max(kEdgeMargin, picture.left() - kLabelGap - labelWidth)
                                  : picture.right() + kLabelGap;
        placed[i].label = QRectF(labelX, labelY, labelWidth, kLabelHeight);
    }
    // Labels of one side keep their order by height and never overlap.
    for (const bool leftSide : {true, false}) {
        std::vector<size_t> side;
        for (size_t i = 0; i < placed.size(); ++i) {
            if (placed[i].left == leftSide) {
                side.push_back(i);
            }
        }
        std::sort(side.begin(), side.end(), [&](size_t a, size_t b) {
            return placed[a].label.top() < placed[b].label.top();
        });
        for (size_t n = 1; n < side.size(); ++n) {
            QRectF& previous = placed[side[n - 1]].label;
            QRectF& current = placed[side[n]].label;
            if (current.top() < previous.top() + kLabelSpacing) {
                current.moveTop(previous.top() + kLabelSpacing);
            }
        }
        // Pushed past the bottom: shift the whole column up.
        if (!side.empty()) {
            const double overflow = placed[side.back()].label.bottom() - height;
            if (overflow > 0) {
                for (size_t index : side) {
                    placed[index].label.moveTop(
                        std::max(0.0, placed[index].label.top() - overflow));
                }
            }
        }
    }
    return placed;
}

Rect MouseCtrl::GetLabelRect(int index) const {
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    const QRect label = Layout()[index].label.toAlignedRect();
    return {label.left(), label.top(), label.left() + label.width(), label.top() + label.height()};
}

int MouseCtrl::HitTest(double x, double y) const {
    const std::vector<Placed> placed = Layout();
    for (int i = 0; i < static_cast<int>(placed.size()); ++i) {
        if (placed[i].label.contains(x, y) ||
            QLineF(placed[i].anchor, QPointF(x, y)).length() < 10) {
            return i;
        }
    }
    return -1;
}

void MouseCtrl::Paint(QPainter& painter) {
    QRectF picture;
    QSizeF natural;
    PictureGeometry(picture, natural);
    const QPixmap image = Theme::SkinImage(GetImage(), painter.device()->devicePixelRatioF());
    if (!image.isNull()) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(picture, image, QRectF(QPointF(0, 0), QSizeF(image.size())));
        painter.restore();
    } else {
        Theme::DrawMouseSilhouette(painter, picture, QColor(58, 58, 64), Theme::Accent());
    }
    const std::vector<Placed> placed = Layout();
    painter.setFont(Theme::MakeFont(kLabelFontSize));
    // Unselected callouts first, the selected one on top.
    std::vector<int> order;
    for (int i = 0; i < GetCount(); ++i) {
        if (i != m_current) {
            order.push_back(i);
        }
    }
    if (m_current >= 0) {
        order.push_back(m_current);
    }
    for (int i : order) {
        const Placed& p = placed[i];
        const bool selected = i == m_current;
        const bool hot = i == m_hot;
        const QColor line =
            selected ? Theme::Accent() : (hot ? QColor(160, 160, 168) : QColor(96, 96, 104));
        const double elbowX = p.left ? picture.left() - 12 : picture.right() + 12;
        const double labelEdge = p.left ? p.label.right() : p.label.left();
        QPainterPath path;
        path.moveTo(p.anchor);
        path.lineTo(elbowX, p.anchor.y());
        path.lineTo(labelEdge + (p.left ? 10 : -10), p.label.center().y());
        path.lineTo(labelEdge, p.label.center().y());
        painter.setPen(QPen(line, selected ? 1.6 : 1.1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setPen(QPen(line, 1.5));
        painter.setBrush(selected ? Theme::Accent() : QColor(26, 26, 26));
        painter.drawEllipse(p.anchor, 4, 4);
        Theme::DrawPanel(painter, p.label,
                         selected ? Theme::WithAlpha(Theme::Accent(), 0.18)
                                  : (hot ? Theme::kInputHover : Theme::kInput),
                         selected ? Theme::Accent() : Theme::kPanelBorder, kLabelHeight / 2);
        painter.setPen(selected ? Theme::kHeading : Theme::kText);
        const QRectF textRect = p.label.adjusted(kLabelPadding, 0, -kLabelPadding, 0);
        Theme::DrawControlText(painter, textRect, Qt::AlignCenter,
                               QString::fromStdString(m_keys[i].text));
        if (selected && State().focused)
            Theme::DrawFocusRing(painter, p.label.adjusted(-3, -3, 3, 3), kLabelHeight / 2 + 3);
    }
}

void MouseCtrl::MouseMove(QMouseEvent& event) {
    const int hot = HitTest(event.position().x(), event.position().y());
    if (hot != m_hot) {
        m_hot = hot;
        Widget()->setCursor(hot >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        Invalidate();
    }
}

void MouseCtrl::MouseRelease(QMouseEvent& event) {
    MControl::MouseRelease(event);
    if (event.button() == Qt::LeftButton) {
        ClickItem(HitTest(event.position().x(), event.position().y()));
    }
}

void MouseCtrl::HoverChanged(bool hovered) {
    if (!hovered) {
        m_hot = -1;
    }
}

bool MouseCtrl::AcceptsFocus() const { return true; }

bool MouseCtrl::KeyPress(QKeyEvent& event) {
    if ((event.key() == Qt::Key_Down || event.key() == Qt::Key_Right) &&
        m_current + 1 < GetCount()) {
        ClickItem(m_current + 1);
        return true;
    }
    if ((event.key() == Qt::Key_Up || event.key() == Qt::Key_Left) && m_current > 0) {
        ClickItem(m_current - 1);
        return true;
    }
    return false;
}

}  // namespace DUI
