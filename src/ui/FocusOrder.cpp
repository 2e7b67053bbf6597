// SPDX-License-Identifier: MIT
#include "ui/FocusOrder.h"

#include <QApplication>
#include <QRect>
#include <QWidget>

#include <algorithm>

namespace DUI {
namespace {

bool IsTabStop(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isEnabled() &&
           widget->focusProxy() == nullptr;
}

// The shown child widgets of parent (not windows of their own) in reading order.
std::vector<QWidget*> ChildrenInReadingOrder(const QWidget* parent, const QWidget* keep) {
    std::vector<QWidget*> children;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow()) continue;
        if (child->isHidden() && child != keep && !child->isAncestorOf(keep)) continue;
        if (child->width() <= 0 || child->height() <= 0) continue;
        children.push_back(child);
    }
    // A widget wholly under a shown sibling stacked above it (a panel slid over a group of
    // controls) can't be clicked, and Tab does not reach it either.
    const auto covered = [&children, keep](std::size_t index) {
        const QRect own = children[index]->geometry();
        for (std::size_t above = index + 1; above < children.size(); ++above) {
            const QWidget* sibling = children[above];
            if (!sibling->isHidden() && !sibling->testAttribute(Qt::WA_TransparentForMouseEvents) &&
                sibling->geometry().contains(own) && !children[index]->isAncestorOf(keep) &&
                children[index] != keep)
                return true;
        }
        return false;
    };
    std::vector<QWidget*> uncovered;
    for (std::size_t index = 0; index < children.size(); ++index) {
        if (!covered(index)) uncovered.push_back(children[index]);
    }
    children.swap(uncovered);
    std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    // Rows: every widget starting above the bottom of the row's topmost widget joins it.
    std::vector<QWidget*> ordered;
    ordered.reserve(children.size());
    for (std::size_t first = 0; first < children.size();) {
        const int rowBottom = children[first]->geometry().bottom();
        std::size_t end = first + 1;
        while (end < children.size() && children[end]->y() <= rowBottom) ++end;
        std::stable_sort(children.begin() + static_cast<std::ptrdiff_t>(first),
                         children.begin() + static_cast<std::ptrdiff_t>(end),
                         [](const QWidget* a, const QWidget* b) {
                             return a->x() != b->x() ? a->x() < b->x() : a->y() < b->y();
                         });
        ordered.insert(ordered.end(), children.begin() + static_cast<std::ptrdiff_t>(first),
                       children.begin() + static_cast<std::ptrdiff_t>(end));
        first = end;
    }
    return ordered;
}

// Appends the tab stops under parent in reading order. keep (the focused widget) is listed
// where it stands even when it is no tab stop now; nothing else inside a hidden widget is.
void Collect(const QWidget* parent, const QWidget* keep, bool hidden, std::vector<QWidget*>& out) {
    for (QWidget* child : ChildrenInReadingOrder(parent, keep)) {
        const bool childHidden = hidden || child->isHidden();
        if (child == keep || (!childHidden && IsTabStop(child))) {
            out.push_back(child);
        } else {
            Collect(child, keep, childHidden, out);
        }
    }
}

}  // namespace

std::vector<QWidget*> ReadingOrder(QWidget* root) {
    std::vector<QWidget*> order;
    if (root != nullptr) Collect(root, nullptr, false, order);
    return order;
}

bool FocusNextInReadingOrder(QWidget* window, bool forward) {
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && (focus == window || !window->isAncestorOf(focus))) focus = nullptr;
    std::vector<QWidget*> order;
    Collect(window, focus, false, order);
    // A widget inside a tab stop (a list's rename field) stands at the place of that stop.
    QWidget* place = focus;
    while (place != nullptr && place != window &&
           std::find(order.begin(), order.end(), place) == order.end())
        place = place->parentWidget();
    if (place == window) place = nullptr;
    const auto isStop = [focus](const QWidget* widget) {
        return widget != focus || IsTabStop(widget);
    };
    const long count = static_cast<long>(order.size());
    const long stops = std::count_if(order.begin(), order.end(), isStop);
    if (stops == 0) return false;
    if (stops == 1 && place == focus && focus != nullptr && IsTabStop(focus)) return true;
    const auto at = std::find(order.begin(), order.end(), place);
    long index = at == order.end() ? (forward ? -1 : count) : at - order.begin();
    for (long step = 0; step < count; ++step) {
        index = (index + (forward ? 1 : -1) + count) % count;
        QWidget* next = order[static_cast<std::size_t>(index)];
        if (next == focus || !isStop(next)) continue;
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

}  // namespace DUI
