// SPDX-License-Identifier: MIT
#include "ui/MouseCtrl.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

#include <string>
#include <vector>

#include "ControlTestDialog.h"
#include "ui/Theme.h"

namespace {

using uitest::ControlTestDialog;

struct Button {
    int keyValue;
    const char* text;
    int direction;
    int x;
    int y;
};

// The buttons of the default model (its file's directions and points) with their labels.
const std::vector<Button> kButtons = {
    {0, "Left button", 0, 92, 120},   {1, "Right button", 1, 250, 120},
    {2, "Middle button", 1, 172, 96}, {3, "Back", 0, 80, 260},
    {4, "Forward", 0, 84, 220},       {5, "DPI cycle", 1, 172, 170},
};

double TextWidth(const std::string& text) {
    return QFontMetricsF(DUI::Theme::MakeFont(13)).horizontalAdvance(QString::fromStdString(text));
}

// Callout labels are as wide as their texts need within the room beside the picture: at the
// sizes the button page gives the control (1300 x 788 and 1366 x 768 windows) the usual names
// fit whole; a name too long for any room is cut at the control's edge, never beyond it.
TEST(MouseCtrl, LabelsTakeTheWidthTheirTextsNeed) {
    struct Case {
        const char* name;
        int width;
        int height;
        std::string longText;  // replaces the middle button's text
        bool fits;
    };
    const std::vector<Case> cases = {
        {"1300 x 788 page", 475, 550, "Middle button", true},
        {"1366 x 768 page", 500, 534, "Middle button", true},
        {"a function name", 475, 550, "Media play/pause", true},
        {"a key combination", 475, 550, "Shift+ Ctrl + Alt", true},
        {"longer than any room", 475, 550, "A very long macro name that no label can hold", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ControlTestDialog dialog;
        auto* mouse = dialog.Make<DUI::MouseCtrl>("MouseCtrl", 60, {0, 0, c.width, c.height});
        mouse->SetImage("device/vireo_top.png");
        for (const Button& b : kButtons) {
            mouse->AddKey(b.keyValue, b.keyValue == 2 ? c.longText : b.text, b.direction, b.x, b.y);
        }
        int leftEdge = c.width;
        int rightEdge = 0;
        for (int i = 0; i < mouse->GetCount(); ++i) {
            const DUI::Rect label = mouse->GetLabelRect(i);
            EXPECT_GE(label.left, 0) << i;
            EXPECT_LE(label.right, c.width) << i;
            if (kButtons[i].direction == 0) {
                rightEdge = std::max(rightEdge, label.right);
            } else {
                leftEdge = std::min(leftEdge, label.left);
            }
            const bool whole =
                label.Width() >= TextWidth(mouse->GetKeyText(i)) + 20;  // 10 px insets
            if (c.fits || i != 2) {
                EXPECT_TRUE(whole) << mouse->GetKeyText(i) << " in " << label.Width() << " px";
            } else {
                EXPECT_FALSE(whole);
            }
        }
        // The two columns leave the picture between them.
        EXPECT_GE(leftEdge - rightEdge, c.width * 0.28) << "picture room";
    }
}

}  // namespace
