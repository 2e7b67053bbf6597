// SPDX-License-Identifier: MIT
#include "ui/EdgeResizer.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "ui/WindowImpl.h"

namespace DUI {

namespace {

// The resize border of the toolkit window holding widget, with that window; 0 when it has
// none or cannot be resized now (maximised, full screen).
int ResizeBorderOf(QWidget* widget, NativeWindow*& window) {
    window = widget != nullptr ? dynamic_cast<NativeWindow*>(widget->window()) : nullptr;
    if (window == nullptr || window->m_impl == nullptr) return 0;
    if (window->isMaximized() || window->isFullScreen()) return 0;
    return window->m_impl->m_resizeBorder;
}

}  // namespace

Qt::Edges EdgesAt(const QPoint& point, const QSize& size, int border) {
    Qt::Edges edges;
    if (border <= 0 || point.x() < 0 || point.y() < 0 || point.x() >= size.width() ||
        point.y() >= size.height())
        return edges;
    if (point.x() < border) edges |= Qt::LeftEdge;
    if (point.x() >= size.width() - border) edges |= Qt::RightEdge;
    if (point.y() < border) edges |= Qt::TopEdge;
    if (point.y() >= size.height() - border) edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape ResizeCursor(Qt::Edges edges) {
    const bool left = edges.testFlag(Qt::LeftEdge);
    const bool right = edges.testFlag(Qt::RightEdge);
    const bool top = edges.testFlag(Qt::TopEdge);
    const bool bottom = edges.testFlag(Qt::BottomEdge);
    if ((left && top) || (right && bottom)) return Qt::SizeFDiagCursor;
    if ((right && top) || (left && bottom)) return Qt::SizeBDiagCursor;
    if (left || right) return Qt::SizeHorCursor;
    if (top || bottom) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

QRect ResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta,
                      const QSize& minimum) {
    int left = start.left();
    int top = start.top();
    int right = start.left() + start.width();
    int bottom = start.top() + start.height();
    if (edges.testFlag(Qt::LeftEdge)) left = std::min(left + delta.x(), right - minimum.width());
    if (edges.testFlag(Qt::RightEdge)) right = std::max(right + delta.x(), left + minimum.width());
    if (edges.testFlag(Qt::TopEdge)) top = std::min(top + delta.y(), bottom - minimum.height());
    if (edges.testFlag(Qt::BottomEdge))
        bottom = std::max(bottom + delta.y(), top + minimum.height());
    return {left, top, right - left, bottom - top};
}

void EdgeResizer::Ensure() {
    static bool installed = false;
    if (!installed && qApp) {
        qApp->installEventFilter(new EdgeResizer(qApp));
        installed = true;
    }
}

void EdgeResizer::ShowCursor(Qt::Edges edges) {
    if (edges == Qt::Edges()) {
        if (m_cursorShown) QGuiApplication::restoreOverrideCursor();
        m_cursorShown = false;
        m_cursorEdges = {};
        return;
    }
    if (m_cursorShown && edges == m_cursorEdges) return;
    // An override cursor wins over the cursors of the controls under the border.
    if (m_cursorShown) {
        QGuiApplication::changeOverrideCursor(ResizeCursor(edges));
    } else {
        QGuiApplication::setOverrideCursor(ResizeCursor(edges));
    }
    m_cursorShown = true;
    m_cursorEdges = edges;
}

bool EdgeResizer::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Leave && m_cursorShown && m_dragWindow == nullptr) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->isWindow()) ShowCursor({});
        return false;
    }
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);

    if (m_dragWindow != nullptr) {
        // A drag followed here: the window follows the pointer until the button is let go.
        if (type == QEvent::MouseMove) {
            const QPoint delta = mouse->globalPosition().toPoint() - m_dragStart;
            m_dragWindow->setGeometry(
                ResizedGeometry(m_startGeometry, m_dragEdges, delta, m_dragWindow->minimumSize()));
        } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            m_dragWindow->releaseMouse();
            m_dragWindow = nullptr;
            ShowCursor({});
        }
        return true;
    }

    NativeWindow* window = nullptr;
    const int border = ResizeBorderOf(widget, window);
    if (border <= 0) {
        if (m_cursorShown && type == QEvent::MouseMove) ShowCursor({});
        return false;
    }
    const QPoint inWindow = widget->mapTo(window, mouse->position().toPoint());
    const Qt::Edges edges = EdgesAt(inWindow, window->size(), border);
    if (type == QEvent::MouseMove) {
        if (mouse->buttons() == Qt::NoButton) ShowCursor(edges);
        return false;
    }
    if (type != QEvent::MouseButtonPress || mouse->button() != Qt::LeftButton ||
        edges == Qt::Edges())
        return false;
    QWindow* handle = window->windowHandle();
    if (handle != nullptr && handle->startSystemResize(edges)) {
        ShowCursor({});
        return true;
    }
    m_dragWindow = window;
    m_dragEdges = edges;
    m_dragStart = mouse->globalPosition().toPoint();
    m_startGeometry = window->geometry();
    window->grabMouse(QCursor(ResizeCursor(edges)));
    return true;
}

}  // namespace DUI
