// SPDX-License-Identifier: MIT
// The colour palette dialog: what each control does to the fields, the preview and the result,
// its placement, and the result a caller gets from the modal run.

#include "editors/MousePaletteDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "editors/PageTestHost.h"
#include "ui/CArea.h"
#include "ui/MEdit.h"
#include "ui/MPalette.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"

namespace kestrix {
namespace {

using Dlg = MousePaletteDlg;

void StartToolkit() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    DUI::Manager::SetInstance(nullptr);
}

// A created (hidden) dialog driven through its notifications.
struct OpenPalette {
    explicit OpenPalette(int colour) : dialog(colour) {
        StartToolkit();
        EXPECT_TRUE(dialog.CreateWindow(nullptr));
    }
    ~OpenPalette() { dialog.DestroyWindow(); }
    std::string Field(int id) const { return dialog.GetControlAs<DUI::MEdit>(id)->GetTitle(); }
    void Type(int id, const std::string& text) {
        dialog.GetControlAs<DUI::MEdit>(id)->SetTitle(text);
        dialog.OnMessage(id, DUI::kNotifyTextChanged, 0);
    }
    int Preview() const { return dialog.GetControlAs<DUI::CArea>(Dlg::kPreviewId)->GetBkColor(); }
    Dlg dialog;
};

TEST(MousePaletteDlg, StartsWithWhiteFieldsAndTheFixedPreview) {
    OpenPalette palette(0x123456);
    for (int id : {Dlg::kRedFieldId, Dlg::kGreenFieldId, Dlg::kBlueFieldId})
        EXPECT_EQ(palette.Field(id), "255");
    EXPECT_EQ(palette.Preview(), 0xD027FB);
    EXPECT_EQ(palette.dialog.ResultColour(), 0x123456);
}

TEST(MousePaletteDlg, FieldsAreClampedAndMakeTheResult) {
    struct Case {
        const char* red;
        const char* green;
        const char* blue;
        const char* shownRed;
        int result;
    };
    const Case cases[] = {
        {"999", "0", "0", "255", 0x0000FF},
        {"-5", "128", "1", "0", 0x018000},
        {"10", "20", "30", "10", 0x1E140A},
        {"0", "0", "0", "0", 0},           // pure black is a colour like any other
        {"", "255", "255", "", 0xFFFF00},  // an emptied field stays empty while the user types
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.red);
        OpenPalette palette(0x123456);
        palette.Type(Dlg::kGreenFieldId, c.green);
        palette.Type(Dlg::kBlueFieldId, c.blue);
        palette.Type(Dlg::kRedFieldId, c.red);
        EXPECT_EQ(palette.Field(Dlg::kRedFieldId), c.shownRed);
        EXPECT_EQ(palette.dialog.ResultColour(), c.result);
        EXPECT_EQ(palette.Preview(), c.result);
    }
}

TEST(MousePaletteDlg, PresetsFillTheFieldsAndMoveThePalette) {
    OpenPalette palette(0x123456);
    palette.dialog.OnMessage(Dlg::kFirstPresetId + 4, DUI::kNotifyClick, 0);  // 0xFF00FF
    EXPECT_EQ(palette.Field(Dlg::kRedFieldId), "255");
    EXPECT_EQ(palette.Field(Dlg::kGreenFieldId), "0");
    EXPECT_EQ(palette.Field(Dlg::kBlueFieldId), "255");
    EXPECT_EQ(palette.dialog.ResultColour(), 0xFF00FF);
    EXPECT_EQ(palette.Preview(), 0xFF00FF);
    EXPECT_EQ(palette.dialog.GetControlAs<DUI::MPalette>(Dlg::kPaletteId)->GetSelectColor(),
              0xFF00FF);
}

TEST(MousePaletteDlg, PaletteSelectionFillsTheFields) {
    OpenPalette palette(0x123456);
    auto* control = palette.dialog.GetControlAs<DUI::MPalette>(Dlg::kPaletteId);
    control->SetSelectColor(0x00FF00);
    const int picked = control->GetSelectColor();
    palette.dialog.OnMessage(Dlg::kPaletteId, DUI::kNotifySelChanging, 0);
    EXPECT_EQ(palette.Field(Dlg::kRedFieldId), std::to_string(DUI::ColourRed(picked)));
    EXPECT_EQ(palette.Field(Dlg::kGreenFieldId), std::to_string(DUI::ColourGreen(picked)));
    EXPECT_EQ(palette.Field(Dlg::kBlueFieldId), std::to_string(DUI::ColourBlue(picked)));
    EXPECT_EQ(palette.dialog.ResultColour(), picked);
    // The release after a drag chooses nothing new.
    palette.dialog.OnMessage(Dlg::kPaletteId, DUI::kNotifyClick, 0);
    EXPECT_EQ(palette.dialog.ResultColour(), picked);
}

TEST(MousePaletteDlg, ControlsArePlacedInTheClientArea) {
    OpenPalette palette(0);
    const struct {
        int id;
        DUI::Rect rect;
    } expected[] = {
        {Dlg::kCloseId, {280, 15, 310, 45}},
        {Dlg::kPaletteId, {30, 60, 200, 220}},
        {Dlg::kPreviewId, {210, 60, 300, 110}},
        {Dlg::kRedLabelId, {210, 120, 240, 145}},
        {Dlg::kRedFieldId, {240, 120, 300, 145}},
        {Dlg::kFirstPresetId, {30, 230, 56, 256}},
        {Dlg::kFirstPresetId + 7, {275, 230, 301, 256}},
        {Dlg::kConfirmId, {210, 270, 310, 300}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.id);
        EXPECT_EQ(palette.dialog.GetControl(e.id)->GetRect(), e.rect);
    }
}

// Runs Choose with a click on control id posted into its modal loop.
int ChooseThenClick(int colour, int id, int presetFirst = 0) {
    StartToolkit();
    DUI::PostToUiThread([id, presetFirst] {
        for (DUI::MWindow* window : DUI::FindWindows(Dlg::kTitle)) {
            auto* dialog = dynamic_cast<Dlg*>(window);
            if (presetFirst != 0) dialog->OnMessage(presetFirst, DUI::kNotifyClick, 0);
            dialog->OnMessage(id, DUI::kNotifyClick, 0);
        }
    });
    return Dlg::Choose(nullptr, colour);
}

TEST(MousePaletteDlg, ModalRunReturnsTheChoiceOrNothingChosen) {
    // Confirming without a change gives the caller's colour back, so it is stored again.
    EXPECT_EQ(ChooseThenClick(0x2020FF, Dlg::kConfirmId), 0x2020FF);
    EXPECT_EQ(ChooseThenClick(0x2020FF, Dlg::kConfirmId, Dlg::kFirstPresetId + 5), 0xFFFF00);
    // Black confirmed is black; the close button cancels even after a choice, and the caller
    // can tell the two apart.
    EXPECT_EQ(ChooseThenClick(0, Dlg::kConfirmId), 0);
    EXPECT_EQ(ChooseThenClick(0x2020FF, Dlg::kCloseId, Dlg::kFirstPresetId + 5),
              Dlg::kNothingChosen);
    EXPECT_NE(Dlg::kNothingChosen, 0);
    EXPECT_TRUE(DUI::FindWindows(Dlg::kTitle).empty());
}

// Renders the dialog after a preset was chosen when KESTRIX_SCREENSHOTS names a folder
// (docs/screenshots); skipped otherwise.
TEST(MousePaletteDlg, Screenshot) {
    const std::string folder = testing::ScreenshotFolder();
    if (folder.empty()) GTEST_SKIP() << "set KESTRIX_SCREENSHOTS to a folder";
    OpenPalette palette(0x2020FF);
    palette.dialog.OnMessage(Dlg::kFirstPresetId + 3, DUI::kNotifyClick, 0);
    EXPECT_TRUE(testing::SaveWindowPng(Dlg::kTitle, folder + "/palette.png"));
}

}  // namespace
}  // namespace kestrix
