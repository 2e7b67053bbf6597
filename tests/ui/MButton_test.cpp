// SPDX-License-Identifier: MIT
#include "ui/MButton.h"

#include <gtest/gtest.h>

#include "ControlTestDialog.h"
#include "ui/CCheckButton.h"
#include "ui/CColorButton.h"
#include "ui/CImageButton.h"
#include "ui/CRadioButton.h"
#include "ui/MButton2.h"
#include "ui/MButton3.h"

namespace {

using uitest::ControlTestDialog;
using uitest::Note;

// Every clickable class sends code 2 on a click; the toggling ones flip their state first.
TEST(MButton, ClickSendsCodeTwoForEveryButtonClass) {
    for (const char* cls :
         {"MButton", "MButton2", "MButton3", "CImageButton", "CTextButton", "CIconButton",
          "CHelpButton", "CCheckButton", "CRadioButton", "CColorButton"}) {
        ControlTestDialog dialog;
        ASSERT_NE(dialog.Make<DUI::MControl>(cls, 33, {10, 10, 130, 50}, "Text"), nullptr) << cls;
        dialog.Click(60, 30);
        EXPECT_EQ(dialog.notes, (std::vector<Note>{{33, DUI::kNotifyClick, 0}})) << cls;
    }
}

TEST(MButton, DisabledOrReleasedOutsideSendsNothing) {
    ControlTestDialog dialog;
    auto* button = dialog.Make<DUI::MButton>("MButton", 33, {10, 10, 130, 50}, "OK");
    button->SetEnabled(false);
    dialog.Click(60, 30);
    EXPECT_TRUE(dialog.notes.empty());
    button->SetEnabled(true);
    dialog.Drag(60, 30, 400, 300);  // pressed inside, released outside
    EXPECT_TRUE(dialog.notes.empty());
    dialog.Click(60, 30);
    EXPECT_EQ(dialog.Codes(33), (std::vector<int>{2}));
}

TEST(MButton, SpaceOnTheFocusedButtonClicksIt) {
    ControlTestDialog dialog;
    auto* button = dialog.Make<DUI::MButton>("MButton", 98, {10, 10, 130, 50}, "Confirm");
    button->OnFocus();
    dialog.Key(Qt::Key_Space);
    EXPECT_EQ(dialog.Codes(98), (std::vector<int>{2}));
}

TEST(MButton, CheckStatesOfTheCheckableClasses) {
    ControlTestDialog dialog;
    auto* marked = dialog.Make<DUI::MButton2>("MButton2", 89, {10, 10, 130, 50}, "Fixed");
    auto* toggle = dialog.Make<DUI::MButton3>("MButton3", 94, {10, 60, 130, 100}, "Ctrl");
    auto* box = dialog.Make<DUI::CCheckButton>("CCheckButton", 281, {10, 110, 200, 140}, "Start");
    // MButton2 keeps the mark the program set; clicking does not change it.
    marked->SetCheck(1);
    dialog.Click(60, 30);
    EXPECT_EQ(marked->GetCheck(), 1);
    // MButton3 and CCheckButton flip on each click, before notifying.
    dialog.Click(60, 80);
    EXPECT_EQ(toggle->GetCheck(), 1);
    dialog.Click(60, 80);
    EXPECT_EQ(toggle->GetCheck(), 0);
    dialog.Click(60, 125);
    EXPECT_EQ(box->GetCheck(), 1);
    EXPECT_EQ(dialog.Codes(94), (std::vector<int>{2, 2}));
    EXPECT_EQ(dialog.Codes(281), (std::vector<int>{2}));
}

TEST(MButton, RadioGroupsAreExclusiveWithinTheirGroupOnly) {
    ControlTestDialog dialog;
    auto* hide = dialog.Make<DUI::CRadioButton>("CRadioButton", 286, {10, 10, 200, 40}, "Hide");
    auto* quit = dialog.Make<DUI::CRadioButton>("CRadioButton", 287, {10, 50, 200, 80}, "Exit");
    auto* lod1 = dialog.Make<DUI::CRadioButton>("CRadioButton", 129, {300, 10, 500, 40}, "1.0mm");
    auto* lod2 = dialog.Make<DUI::CRadioButton>("CRadioButton", 130, {300, 50, 500, 80}, "2.0mm");
    for (auto* radio : {hide, quit}) radio->SetGroupName("IDC_SET_STC_EXITMODE");
    for (auto* radio : {lod1, lod2}) radio->SetGroupName("IDC_PER_STC_LOD");
    hide->SetCheck(1);
    lod1->SetCheck(1);
    dialog.Click(100, 65);  // "Exit"
    EXPECT_EQ(hide->GetCheck(), 0);
    EXPECT_EQ(quit->GetCheck(), 1);
    EXPECT_EQ(lod1->GetCheck(), 1) << "another group is untouched";
    lod2->SetCheck(1);
    EXPECT_EQ(lod1->GetCheck(), 0);
    EXPECT_EQ(quit->GetCheck(), 1);
    EXPECT_EQ(dialog.Codes(287), (std::vector<int>{2}));
}

TEST(MButton, ColourButtonsOfAGroupAreExclusive) {
    ControlTestDialog dialog;
    std::vector<DUI::CColorButton*> swatches;
    for (int i = 0; i < 3; ++i) {
        auto* swatch = dialog.Make<DUI::CColorButton>("CColorButton", 218 + i,
                                                      {10 + i * 40, 10, 40 + i * 40, 40});
        swatch->SetGroupName("COLORVALUE");
        swatch->SetColor(0x0000FF << (i * 8));
        swatches.push_back(swatch);
    }
    auto* preset = dialog.Make<DUI::CColorButton>("CColorButton", 209, {10, 100, 40, 130});
    preset->SetGroupName("DEFAULTCOLOR");
    preset->SetCheck(1);
    swatches[0]->SetCheck(1);
    dialog.Click(105, 25);  // third slot
    EXPECT_EQ(swatches[0]->GetCheck(), 0);
    EXPECT_EQ(swatches[2]->GetCheck(), 1);
    EXPECT_EQ(swatches[2]->GetColor(), 0xFF0000);
    EXPECT_EQ(preset->GetCheck(), 1);
    EXPECT_EQ(dialog.Codes(220), (std::vector<int>{2}));
}

}  // namespace
