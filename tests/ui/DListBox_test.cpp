// SPDX-License-Identifier: MIT
#include "ui/DListBox.h"

#include <gtest/gtest.h>

#include "ControlTestDialog.h"
#include "ui/MTabCtrl.h"
#include "ui/MacroList.h"
#include "ui/MouseCtrl.h"
#include "ui/MouseKeyCtrl.h"

namespace {

using uitest::ControlTestDialog;
using uitest::Note;

TEST(DListBox, ClickSendsTwoWithTheRowAndItemDataStays) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::DListBox>("DListBox", 31, {0, 0, 300, 200});
    list->AddItem("Profile 1", 11);
    list->AddItem("Profile 2", 12);
    dialog.Click(100, 36 + 10);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->GetItemData(1), 12);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{31, 2, 1}}));
    EXPECT_TRUE(list->SelectData(11));
    EXPECT_EQ(list->GetCurSel(), 0);
}

TEST(DListBox, RenameInPlaceEndsWithTwentyNineAndTheNewText) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::DListBox>("DListBox", 31, {0, 0, 300, 200});
    list->AddItem("Profile 1", 11);
    list->AddItem("Profile 2", 12);
    dialog.Click(290, 36 + 10);  // the pencil of the second row
    ASSERT_TRUE(list->IsEditing());
    EXPECT_TRUE(dialog.notes.empty()) << "the pencil does not choose the row";
    dialog.Key(Qt::Key_End);
    dialog.Type(" fast");
    dialog.Key(Qt::Key_Return);
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(list->GetEditText(), "Profile 2 fast");
    EXPECT_EQ(list->GetItemText(1), "Profile 2 fast");
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{31, 29, 1}}));
}

TEST(DListBox, EmptyRenameKeepsTheTextAndEscapeSendsNothing) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::DListBox>("DListBox", 156, {0, 0, 300, 200});
    list->AddItem("Custom 1", 5);
    ASSERT_TRUE(list->EditItem(0));
    DUI::ProcessPendingEvents();
    dialog.Key(Qt::Key_Escape);
    EXPECT_TRUE(dialog.notes.empty());
    ASSERT_TRUE(list->EditItem(0));
    DUI::ProcessPendingEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    dialog.Key(Qt::Key_Delete);
    list->EndEdit();
    EXPECT_EQ(list->GetEditText(), "");
    EXPECT_EQ(list->GetItemText(0), "Custom 1") << "the owner puts back or keeps the stored name";
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{156, 29, 0}}));
}

TEST(DListBox, MacroListRightClickAsksForTheMenu) {
    ControlTestDialog dialog;
    auto* macros = dialog.Make<DUI::MacroList>("MacroList", 156, {0, 0, 300, 200});
    macros->AddItem("Custom 1", 1);
    macros->AddItem("Custom 2", 2);
    dialog.Click(100, 36 + 10, Qt::RightButton);
    dialog.Click(100, 150, Qt::RightButton);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{156, 5, 1}, {156, 5, -1}}));
    EXPECT_EQ(macros->GetCurSel(), 1);
}

TEST(MTabCtrl, ClickSendsTheIndexAndHiddenItemsKeepTheirIds) {
    ControlTestDialog dialog;
    auto* tabs = dialog.Make<DUI::MTabCtrl>("MTabCtrl", 48, {0, 0, 900, 60});
    const int ids[] = {1, 2, 3, 4, 5, 7};
    for (int i = 0; i < 6; ++i) tabs->AddItem(ids[i], "T" + std::to_string(i), "");
    tabs->SetCurSel(0);
    tabs->SetItemVisible(4, false);
    EXPECT_EQ(tabs->GetItemId(5), 7);
    EXPECT_EQ(tabs->FindItem(7), 5);
    tabs->ClickItem(4);  // hidden: nothing
    tabs->ClickItem(5);
    EXPECT_EQ(tabs->GetCurSel(), 5);
    dialog.Click(20, 30);  // first tab
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{48, 2, 5}, {48, 2, 0}}));
}

TEST(MouseKeyCtrl, DescriptionsByKeyValueAndSelection) {
    ControlTestDialog dialog;
    auto* keys = dialog.Make<DUI::MouseKeyCtrl>("MouseKeyCtrl", 68, {0, 0, 300, 400});
    keys->AddItem("Left", "Left click", 0);
    keys->AddItem("Fire", "Fire key", 6);
    EXPECT_TRUE(keys->SetItemKeyDesc(6, "Macro 1"));
    EXPECT_FALSE(keys->SetItemKeyDesc(9, "x"));
    EXPECT_EQ(keys->GetItemKeyDesc(1), "Macro 1");
    dialog.Click(100, 44 + 10);
    EXPECT_EQ(keys->GetItemKeyValue(keys->GetCurSel()), 6);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{68, 2, 1}}));
}

TEST(MouseCtrl, KeysAreFoundByValueAndClickItemNotifies) {
    ControlTestDialog dialog;
    auto* mouse = dialog.Make<DUI::MouseCtrl>("MouseCtrl", 108, {0, 0, 800, 500});
    mouse->AddKey(0, "Left click", 0, 88, 112, 150);
    mouse->AddKey(5, "DPI", 1, 171, 166, 232);
    EXPECT_EQ(mouse->FindKey(5), 1);
    EXPECT_TRUE(mouse->SetKeyText(5, "DPI +"));
    EXPECT_EQ(mouse->GetKeyText(1), "DPI +");
    mouse->ClickItem(1);
    mouse->ClickItem(7);  // out of range: nothing
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{108, 2, 1}}));
}

}  // namespace
