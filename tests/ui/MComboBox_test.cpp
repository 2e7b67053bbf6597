// SPDX-License-Identifier: MIT
#include "ui/MComboBox.h"

#include <gtest/gtest.h>

#include "ControlTestDialog.h"
#include "ui/MComboBox2.h"
#include "ui/ReporteCtrl.h"

namespace {

using uitest::ControlTestDialog;
using uitest::Note;

TEST(MComboBox, SelectDataPicksTheItemWithThatDataOrClearsTheSelection) {
    ControlTestDialog dialog;
    auto* sleep = dialog.Make<DUI::MComboBox>("MComboBox", 145, {10, 10, 200, 46});
    const int data[] = {6, 12, 30, 60, 120, 180};
    for (int i = 0; i < 6; ++i) sleep->AddItem(std::to_string(i) + " min", data[i]);
    struct Case {
        int value;
        bool found;
        int index;
    };
    for (const Case& c : {Case{30, true, 2}, Case{180, true, 5}, Case{6, true, 0},
                          Case{1, false, -1}, Case{0, false, -1}}) {
        EXPECT_EQ(sleep->SelectData(c.value), c.found) << c.value;
        EXPECT_EQ(sleep->GetCurSel(), c.index) << c.value;
        EXPECT_EQ(sleep->GetCurData(), c.found ? c.value : 0) << c.value;
        EXPECT_EQ(sleep->GetTitle(), c.found ? sleep->GetItemText(c.index) : "") << c.value;
    }
    EXPECT_TRUE(dialog.notes.empty()) << "selecting from the program notifies nothing";
}

TEST(MComboBox, DuplicateDataSelectsTheFirstItem) {
    ControlTestDialog dialog;
    auto* box = dialog.Make<DUI::MComboBox>("MComboBox", 1, {10, 10, 200, 46});
    box->AddItem("a", 7);
    box->AddItem("b", 7);
    EXPECT_TRUE(box->SelectData(7));
    EXPECT_EQ(box->GetCurSel(), 0);
}

TEST(MComboBox, ChoosingFromTheDropDownSelectsAndSendsCodeTwoWithTheIndex) {
    ControlTestDialog dialog;
    auto* count = dialog.Make<DUI::MComboBox>("MComboBox", 120, {10, 10, 200, 46});
    for (int i = 1; i <= 6; ++i) count->AddItem(std::to_string(i), i);
    count->SelectData(6);
    dialog.Click(100, 28);
    ASSERT_TRUE(count->IsDroppedDown());
    ASSERT_EQ(DUI::FindWindows("ComboWnd").size(), 1u) << "the list is a window the sweep can find";
    // Rows of the list window are 34 px high after a 4 px margin: the third row is "3".
    DUI::MWindow* popup = DUI::FindWindows("ComboWnd").front();
    QWidget* list = DUI::WindowImpl::WidgetOf(popup)->childAt(20, 4 + 2 * 34 + 10);
    ASSERT_NE(list, nullptr);
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(20, 4 + 2 * 34 + 10));
    DUI::ProcessPendingEvents();
    EXPECT_EQ(count->GetCurSel(), 2);
    EXPECT_EQ(count->GetCurData(), 3);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{120, DUI::kNotifyClick, 2}}));
    EXPECT_FALSE(count->IsDroppedDown());
    EXPECT_TRUE(DUI::FindWindows("ComboWnd").empty());
}

TEST(MComboBox, ArrowKeysMoveTheSelectionAndNotify) {
    ControlTestDialog dialog;
    auto* box = dialog.Make<DUI::MComboBox>("MComboBox", 197, {10, 10, 200, 46});
    box->AddItem("Static", 1);
    box->AddItem("Breathing", 2);
    box->SetCurSel(0);
    box->OnFocus();
    dialog.Key(Qt::Key_Down);
    dialog.Key(Qt::Key_Down);  // already on the last item: nothing
    EXPECT_EQ(box->GetCurSel(), 1);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{197, DUI::kNotifyClick, 1}}));
}

TEST(MComboBox, DeletingItemsKeepsTheSelectionOnItsItem) {
    ControlTestDialog dialog;
    auto* box = dialog.Make<DUI::MComboBox2>("MComboBox2", 77, {10, 10, 200, 46});
    for (int id : {11, 12, 13}) box->AddItem("Macro " + std::to_string(id), id);
    box->SelectData(13);
    box->DeleteItem(0);
    EXPECT_EQ(box->GetCurSel(), 1);
    EXPECT_EQ(box->GetCurData(), 13);
    box->DeleteItem(1);
    EXPECT_EQ(box->GetCurSel(), -1);
    box->SetCheck(1);
    EXPECT_EQ(box->GetCheck(), 1);
}

TEST(ReporteCtrl, ClickingAPillSelectsItAndSendsItsIndex) {
    ControlTestDialog dialog;
    auto* rates = dialog.Make<DUI::ReporteCtrl>("ReporteCtrl", 125, {0, 0, 400, 40});
    const int codes[] = {8, 4, 2, 1};
    for (int code : codes) rates->AddItem(std::to_string(1000 / code) + "Hz", code, 0);
    EXPECT_TRUE(rates->SelectData(1));
    EXPECT_EQ(rates->GetCurSel(), 3);
    EXPECT_FALSE(rates->SelectData(64)) << "8000 Hz is not offered below class 7";
    dialog.Click(150, 20);  // second of four pills
    EXPECT_EQ(rates->GetCurSel(), 1);
    EXPECT_EQ(rates->GetItemData(rates->GetCurSel()), 4);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{125, DUI::kNotifyClick, 1}}));
}

}  // namespace
