// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: resizing frameless windows from their edges.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QWidget;

namespace DUI {

// The edges of a w x h window that a point lies on, within border px of them; none inside.
Qt::Edges EdgesAt(const QPoint& point, const QSize& size, int border);
// The cursor shape that shows a resize from those edges (Qt::ArrowCursor for none).
Qt::CursorShape ResizeCursor(Qt::Edges edges);
// The geometry after dragging those edges of start by delta px, no smaller than minimum; a
// left or top edge that meets the minimum stops there while the opposite edge stays put.
QRect ResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta,
                      const QSize& minimum);

// Watches the mouse over every widget inside toolkit windows that have a resize border:
// over the border it shows the resize cursor, and a left press there hands the drag to the
// window system (startSystemResize, on X11 and Wayland). Where the window system cannot
// resize (X11 without a window manager) the drag is followed here instead.
class EdgeResizer : public QObject {
  public:
    using QObject::QObject;
    // Installs the application-wide filter once.
    static void Ensure();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowCursor(Qt::Edges edges);

    bool m_cursorShown = false;
    Qt::Edges m_cursorEdges;
    // The drag followed here when the window system did not take it.
    QPointer<QWidget> m_dragWindow;
    Qt::Edges m_dragEdges;
    QPoint m_dragStart;
    QRect m_startGeometry;
};

}  // namespace DUI
