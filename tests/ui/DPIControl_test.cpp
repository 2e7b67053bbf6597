// SPDX-License-Identifier: MIT
#include "ui/DPIControl.h"

#include <gtest/gtest.h>

#include "ControlTestDialog.h"
#include "ui/DPISlider.h"
#include "ui/LightSlider.h"
#include "ui/MPalette.h"

namespace {

using uitest::ControlTestDialog;
using uitest::Note;

// Six chips across 600 px: each chip is 90 px wide with 12 px gaps; the swatch sits at the
// chip's top left, the value in its lower half.
constexpr int kChipWidth = 90;
constexpr int kGap = 12;
int ChipX(int index) { return index * (kChipWidth + kGap); }

DUI::DPIControl* MakeStages(ControlTestDialog& dialog) {
    auto* stages =
        dialog.Make<DUI::DPIControl>("DPIControl", 116, {0, 0, 6 * kChipWidth + 5 * kGap, 100});
    const int values[] = {400, 800, 1600, 3200, 6400, 12000};
    for (int i = 0; i < 6; ++i) stages->AddItem(values[i], 0x0000FF);
    stages->SetCurSel(0);
    return stages;
}

TEST(DPIControl, ChipClickSendsTwoAndSwatchClickSendsNine) {
    ControlTestDialog dialog;
    auto* stages = MakeStages(dialog);
    dialog.Click(ChipX(2) + 60, 20);  // chip body of stage 3
    EXPECT_EQ(stages->GetCurSel(), 2);
    dialog.Click(ChipX(2) + 20, 20);  // its swatch: already selected, only 9
    dialog.Click(ChipX(4) + 20, 20);  // swatch of another stage: selected first
    EXPECT_EQ(stages->GetCurSel(), 4);
    EXPECT_EQ(dialog.notes,
              (std::vector<Note>{{116, 2, 2}, {116, 9, 2}, {116, 2, 4}, {116, 9, 4}}));
}

TEST(DPIControl, ValueEditSendsThirtyThenTwentyNineWithTheTypedText) {
    ControlTestDialog dialog;
    auto* stages = MakeStages(dialog);
    dialog.Click(ChipX(1) + 45, 70);  // value of stage 2, not yet selected: chosen
    dialog.Click(ChipX(1) + 45, 70);  // value of the selected stage: edit opens
    ASSERT_TRUE(stages->IsEditing());
    dialog.Type("1050");
    dialog.Key(Qt::Key_Return);
    EXPECT_FALSE(stages->IsEditing());
    EXPECT_EQ(stages->GetEditText(), "1050");
    EXPECT_EQ(dialog.Codes(116), (std::vector<int>{2, 30, 29}));
    // The page snaps the value and writes it back.
    stages->SetEditText("1000");
    stages->SetDPIValue(1, 1000);
    EXPECT_EQ(stages->GetDPIValue(1), 1000);
}

TEST(DPIControl, EscapeCancelsWithoutTwentyNineAndLosingFocusCommits) {
    ControlTestDialog dialog;
    auto* stages = MakeStages(dialog);
    stages->BeginEdit();
    DUI::ProcessPendingEvents();
    dialog.Key(Qt::Key_Escape);
    EXPECT_EQ(dialog.Codes(116), (std::vector<int>{30}));
    stages->BeginEdit();
    DUI::ProcessPendingEvents();
    stages->KillFocus();  // the transient-window sweep takes the focus away
    DUI::ProcessPendingEvents();
    EXPECT_EQ(dialog.Codes(116), (std::vector<int>{30, 30, 29}));
}

TEST(DPIControl, StageValuesAndColoursLiveBeyondTheListedChips) {
    ControlTestDialog dialog;
    auto* stages = MakeStages(dialog);
    stages->SetDPIValue(6, 26000);
    stages->SetDPIColorValue(6, 0x123456);
    stages->DeleteAllItems();
    EXPECT_EQ(stages->GetCount(), 0);
    EXPECT_EQ(stages->GetCurSel(), -1);
    EXPECT_EQ(stages->GetDPIValue(6), 26000);
    EXPECT_EQ(stages->GetDPIColorValue(6), 0x123456);
    EXPECT_EQ(stages->GetDPIValue(8), 0) << "out of range reads 0";
    EXPECT_FALSE(stages->SetCurSel(0)) << "no chips, nothing to select";
}

TEST(Sliders, DraggingSendsEightAndReleaseSendsTwo) {
    ControlTestDialog dialog;
    auto* brightness = dialog.Make<DUI::LightSlider>("LightSlider", 204, {0, 0, 228, 40});
    brightness->SetSteps(4);
    brightness->SetPos(0);
    // Track from x 14 to 214: value 3 sits at x 164.
    dialog.Drag(14, 20, 164, 20);
    EXPECT_EQ(brightness->GetPos(), 3);
    ASSERT_FALSE(dialog.notes.empty());
    EXPECT_EQ(dialog.notes.back(), (Note{204, 2, 3}));
    for (size_t i = 0; i + 1 < dialog.notes.size(); ++i) {
        EXPECT_EQ(dialog.notes[i].code, DUI::kNotifyDragging);
    }
}

TEST(Sliders, DpiSliderRunsFromItsLowestPositionToItsStepCount) {
    ControlTestDialog dialog;
    auto* slider = dialog.Make<DUI::DPISlider>("DPISlider", 117, {0, 0, 300, 60});
    slider->SetSteps(640);
    slider->SetLowest(2);
    slider->SetProgress(0);
    EXPECT_EQ(slider->GetProgress(), 2);
    slider->SetProgress(700);
    EXPECT_EQ(slider->GetProgress(), 640);
    slider->OnFocus();
    dialog.Key(Qt::Key_Left);
    EXPECT_EQ(slider->GetProgress(), 639);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{117, 8, 639}, {117, 2, 639}}));
}

TEST(MPalette, PickingSendsTwentySevenAndReleaseSendsTwo) {
    ControlTestDialog dialog;
    auto* palette = dialog.Make<DUI::MPalette>("MPalette", 32, {0, 0, 170, 160});
    palette->SetSelectColor(0x0000FF);
    EXPECT_EQ(palette->GetSelectColor(), 0x0000FF);
    // Top left of the field: hue 0 at full saturation, red.
    dialog.Drag(100, 20, 2, 2);
    const std::vector<int> codes = dialog.Codes(32);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes.back(), DUI::kNotifyClick);
    EXPECT_EQ(codes.front(), DUI::kNotifySelChanging);
    EXPECT_EQ(palette->GetSelectColor() & 0xFF, 0xFF) << "red channel full";
    EXPECT_EQ(static_cast<int>(dialog.notes.back().param), palette->GetSelectColor());
}

TEST(MPalette, SelectColourRoundTripsPureColoursAndKeepsBlack) {
    ControlTestDialog dialog;
    auto* palette = dialog.Make<DUI::MPalette>("MPalette", 32, {0, 0, 170, 160});
    for (int colour : {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0x00FFFF}) {
        palette->SetSelectColor(colour);
        EXPECT_EQ(palette->GetSelectColor(), colour) << std::hex << colour;
    }
}

}  // namespace
