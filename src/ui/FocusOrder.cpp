// SPDX-License-Identifier: MIT
#include "ui/FocusOrder.h"

#include <QRect>
#include <QWidget>

#include <algorithm>

#include "ui/ControlHost.h"

namespace DUI {
namespace {

bool IsTabStop(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isEnabled() &&
           widget->focusProxy() == nullptr;
}

// Whether a shown sibling stacked above widget holds all of it (and takes the pointer).
bool UnderSibling(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (parent == nullptr || widget->isWindow()) return false;
    const QObjectList& siblings = parent->children();
    const QRect own = widget->geometry();
    for (auto above = siblings.indexOf(const_cast<QWidget*>(widget)) + 1; above < siblings.size();
         ++above) {
        const auto* sibling = qobject_cast<const QWidget*>(siblings[above]);
        if (sibling != nullptr && !sibling->isWindow() && !sibling->isHidden() &&
            !sibling->testAttribute(Qt::WA_TransparentForMouseEvents) &&
            sibling->geometry().contains(own))
            return true;
    }
    return false;
}

// Whether a shown, uncovered tab stop lies inside widget.
bool HoldsTabStops(const QWidget* widget) {
    for (QObject* object : widget->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child == nullptr || child->isWindow() || child->isHidden() || UnderSibling(child))
            continue;
        if (IsTabStop(child) || HoldsTabStops(child)) return true;
    }
    return false;
}

// The child widgets of parent that hold tab stops (or keep, the focused widget), in reading
// order. Widgets without any (labels, a page's background) take no part, so a background
// spanning the page cannot merge its rows into one.
std::vector<QWidget*> ChildrenInReadingOrder(const QWidget* parent, const QWidget* keep,
                                             bool hidden) {
    std::vector<QWidget*> children;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow()) continue;
        if (child == keep || child->isAncestorOf(keep)) {
            children.push_back(child);
            continue;
        }
        if (hidden || child->isHidden() || child->width() <= 0 || child->height() <= 0 ||
            UnderSibling(child))
            continue;
        if (IsTabStop(child) || HoldsTabStops(child)) children.push_back(child);
    }
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
    for (QWidget* child : ChildrenInReadingOrder(parent, keep, hidden)) {
        const bool childHidden = hidden || child->isHidden();
        if (child == keep || (!childHidden && IsTabStop(child))) {
            out.push_back(child);
        } else {
            Collect(child, keep, childHidden, out);
        }
    }
}

}  // namespace

bool IsCovered(const QWidget* widget) {
    for (; widget != nullptr && !widget->isWindow(); widget = widget->parentWidget()) {
        if (UnderSibling(widget)) return true;
    }
    return false;
}

bool FocusNextInReadingOrder(QWidget* window, bool forward) {
    // The window's own focus child: the widget that has, or gets back, the focus with it.
    QWidget* focus = window->focusWidget();
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
        // Tab moves the focus before any key reaches a control: the ring shows from here on,
        // on an edit's field as on any control.
        ControlHost::ShowFocusRing();
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

}  // namespace DUI
