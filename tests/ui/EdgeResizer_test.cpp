// SPDX-License-Identifier: MIT
#include "ui/EdgeResizer.h"

#include <gtest/gtest.h>

namespace {

TEST(EdgeResizer, EdgesAndCursorsAlongTheBorder) {
    const QSize size(1300, 788);
    struct Case {
        QPoint point;
        Qt::Edges edges;
        Qt::CursorShape cursor;
    };
    const Case cases[] = {
        {{0, 0}, Qt::LeftEdge | Qt::TopEdge, Qt::SizeFDiagCursor},
        {{1299, 787}, Qt::RightEdge | Qt::BottomEdge, Qt::SizeFDiagCursor},
        {{1294, 0}, Qt::RightEdge | Qt::TopEdge, Qt::SizeBDiagCursor},
        {{3, 784}, Qt::LeftEdge | Qt::BottomEdge, Qt::SizeBDiagCursor},
        {{5, 400}, Qt::LeftEdge, Qt::SizeHorCursor},
        {{6, 400}, {}, Qt::ArrowCursor},
        {{1293, 400}, {}, Qt::ArrowCursor},
        {{600, 782}, Qt::BottomEdge, Qt::SizeVerCursor},
        {{1300, 400}, {}, Qt::ArrowCursor},  // outside the window
        {{-1, 400}, {}, Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        const Qt::Edges edges = DUI::EdgesAt(c.point, size, 6);
        EXPECT_EQ(edges, c.edges) << c.point.x() << "," << c.point.y();
        EXPECT_EQ(DUI::ResizeCursor(edges), c.cursor) << c.point.x() << "," << c.point.y();
    }
    EXPECT_EQ(DUI::EdgesAt({0, 0}, size, 0), Qt::Edges());
}

TEST(EdgeResizer, DraggedEdgesStopAtTheMinimumWithTheOppositeEdgeFixed) {
    const QRect start(100, 50, 1300, 788);
    const QSize minimum(1100, 667);
    struct Case {
        Qt::Edges edges;
        QPoint delta;
        QRect expected;
    };
    const Case cases[] = {
        {Qt::RightEdge | Qt::BottomEdge, {40, 30}, {100, 50, 1340, 818}},
        {Qt::RightEdge | Qt::BottomEdge, {-500, -500}, {100, 50, 1100, 667}},
        {Qt::LeftEdge, {-20, 99}, {80, 50, 1320, 788}},
        // Left and top stop where the minimum is met; right and bottom stay where they were.
        {Qt::LeftEdge | Qt::TopEdge, {400, 300}, {300, 171, 1100, 667}},
        {Qt::TopEdge, {0, -50}, {100, 0, 1300, 838}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DUI::ResizedGeometry(start, c.edges, c.delta, minimum), c.expected)
            << int(c.edges) << " by " << c.delta.x() << "," << c.delta.y();
    }
}

}  // namespace
