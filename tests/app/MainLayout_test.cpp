// SPDX-License-Identifier: MIT
#include "app/MainLayout.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(MainLayout, InitialWindowFitsTheWorkArea) {
    const struct {
        DUI::Rect workArea;
        DUI::Rect expected;
    } cases[] = {
        {{0, 0, 1920, 1080}, {310, 146, 1610, 934}},
        {{0, 0, 1300, 788}, {0, 0, 1300, 788}},
        // A small laptop: full height, same proportions.
        {{0, 0, 1366, 768}, {49, 0, 1316, 768}},
        // A panel at the top takes 32 px.
        {{0, 32, 1366, 768}, {76, 32, 1290, 768}},
        // Narrow and tall: the width decides.
        {{0, 0, 1024, 1280}, {0, 330, 1024, 950}},
    };
    for (const auto& c : cases) {
        const DUI::Rect rect = MainLayout::InitialWindowRect(c.workArea);
        EXPECT_EQ(rect, c.expected) << c.workArea.right << "x" << c.workArea.bottom;
        EXPECT_LE(rect.Width(), c.workArea.Width());
        EXPECT_LE(rect.Height(), c.workArea.Height());
    }
}

TEST(MainLayout, ScalesWithHeightAndKeepsEdgeDistances) {
    for (const auto& [width, height] : {std::pair{1300, 788}, std::pair{1267, 768},
                                        std::pair{2560, 1440}, std::pair{1100, 800}}) {
        const MainLayout layout(width, height);
        EXPECT_DOUBLE_EQ(layout.Scale(), std::min(height / 788.0, width / 1300.0));
        // The tab strip and the settings button never overlap the window buttons.
        EXPECT_LE(layout.TabStrip().right, width);
        EXPECT_GE(layout.WindowButton(40).left, layout.ProgramName().right);
        // Minimise, maximise and close stay within 114 px (scaled) of the right edge.
        for (int id : {38, 39, 41}) {
            const DUI::Rect button = layout.WindowButton(id);
            EXPECT_GE(button.left, width - layout.S(114) - 1) << id;  // rounding
            EXPECT_LE(button.right, width) << id;
        }
        // The version label sits 38 to 12 px above the bottom.
        EXPECT_EQ(layout.VersionLabel().top, height - layout.S(38));
        EXPECT_EQ(layout.VersionLabel().bottom, height - layout.S(12));
        // Nothing of the settings page leaves the window.
        for (int id = 272; id <= 291; ++id) {
            const DUI::Rect rect = layout.SettingsControl(id);
            EXPECT_GE(rect.left, 0) << id;
            EXPECT_LE(rect.right, width) << id;
            EXPECT_LE(rect.bottom, height - layout.S(50)) << id;
        }
        // Page panels start right of the device column and end before the status line.
        EXPECT_GE(layout.PagePanel().left, layout.DeviceColumn().right);
        EXPECT_LE(layout.PagePanel().bottom, layout.VersionLabel().top);
    }
}

TEST(MainLayout, WindowButtonsDoNotOverlap) {
    const MainLayout layout(1300, 788);
    const int order[] = {40, 39, 41, 38};
    for (int i = 1; i < 4; ++i)
        EXPECT_LE(layout.WindowButton(order[i - 1]).right, layout.WindowButton(order[i]).left);
}

}  // namespace
}  // namespace kestrix
