// SPDX-License-Identifier: MIT
#include "ui/CRecordList.h"

#include <gtest/gtest.h>

#include "ControlTestDialog.h"

namespace {

using DUI::RecordEntry;
using uitest::ControlTestDialog;
using uitest::Note;

const std::string kDown = "\u2193  ";
const std::string kUp = "\u2191  ";

TEST(CRecordList, EventCountLeavesDelaysOut) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::CRecordList>("CRecordList", 166, {0, 0, 300, 400});
    EXPECT_EQ(list->GetEventCount(), 0);
    list->AddEntry({kDown + "A", 2, 65, 10});
    list->AddEntry({"10 ms", 1, 10, 11});
    list->AddEntry({kUp + "A", 3, 65, 10});
    list->AddEntry({"10 ms", 1, 10, 12});
    list->AddEntry({kDown + "LB", 4, 1, 13});
    EXPECT_EQ(list->GetCount(), 5);
    EXPECT_EQ(list->GetEventCount(), 3);
    list->DeleteEntry(0);
    EXPECT_EQ(list->GetEventCount(), 2);
}

// The other half of a press: by shared stamp for inserted presses, by the following
// release of the same key for recorded ones (whose stamps all differ).
TEST(CRecordList, PairsOfOnePress) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::CRecordList>("CRecordList", 166, {0, 0, 300, 400});
    const RecordEntry entries[] = {
        {kDown + "Ctrl", 2, 162, 100},  // 0 recorded
        {kDown + "C", 2, 67, 101},      // 1 recorded
        {"5 ms", 1, 5, 102},            // 2
        {kUp + "C", 3, 67, 103},        // 3 recorded release of 1
        {kUp + "Ctrl", 3, 162, 104},    // 4 recorded release of 0
        {kDown + "LB", 4, 1, 500},      // 5 inserted click
        {"10 ms", 1, 10, 501},          // 6
        {kUp + "LB", 5, 1, 500},        // 7 same stamp as 5
        {kDown + "C", 2, 67, 105},      // 8 a press without release
    };
    for (const RecordEntry& e : entries) list->AddEntry(e);
    struct Case {
        int index;
        int pair;
    };
    for (const Case& c : {Case{0, 4}, Case{1, 3}, Case{3, 1}, Case{4, 0}, Case{5, 7}, Case{7, 5},
                          Case{2, -1}, Case{8, -1}, Case{42, -1}}) {
        EXPECT_EQ(list->GetPairIndex(c.index), c.pair) << c.index;
    }
    EXPECT_EQ(list->FindEntry(5, 500), 7);
    EXPECT_EQ(list->FindEntry(5, 501), -1);
}

TEST(CRecordList, UpdatePressChangesBothHalvesTogether) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::CRecordList>("CRecordList", 166, {0, 0, 300, 400});
    list->AddEntry({kDown + "A", 2, 65, 7});
    list->AddEntry({"10 ms", 1, 10, 8});
    list->AddEntry({kUp + "A", 3, 65, 7});
    EXPECT_EQ(list->UpdatePress(2, "B", 66), 2) << "addressed from the up entry";
    EXPECT_EQ(list->GetEntry(0).text, kDown + "B");
    EXPECT_EQ(list->GetEntry(0).value, 66);
    EXPECT_EQ(list->GetEntry(2).text, kUp + "B");
    EXPECT_EQ(list->GetEntry(2).value, 66);
    EXPECT_EQ(list->GetEntry(0).stamp, 7u) << "stamps stay";
    EXPECT_EQ(list->UpdatePress(1, "X", 1), 0) << "a delay is no press";
}

TEST(CRecordList, MovesKeepTheSelectionOnItsEntry) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::CRecordList>("CRecordList", 166, {0, 0, 300, 400});
    for (int i = 0; i < 4; ++i) list->AddEntry({std::to_string(i), 1, i, static_cast<unsigned>(i)});
    list->SetCurSel(1);
    EXPECT_TRUE(list->SwapEntries(1, 0));
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(list->GetEntry(0).value, 1);
    EXPECT_TRUE(list->MoveEntry(0, 3));
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(list->GetEntry(3).value, 1);
    EXPECT_FALSE(list->SwapEntries(3, 4)) << "moving the last entry down changes nothing";
    list->InsertEntry(0, {"new", 1, 9, 9});
    EXPECT_EQ(list->GetCurSel(), 4);
}

TEST(CRecordList, ClickSendsTwoAndRightClickSendsNine) {
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::CRecordList>("CRecordList", 166, {0, 0, 300, 400});
    for (int i = 0; i < 3; ++i) list->AddEntry({"10 ms", 1, 10, static_cast<unsigned>(i)});
    dialog.Click(100, 34 + 10);  // rows are 34 px: second row
    dialog.Click(100, 10, Qt::RightButton);
    dialog.Click(100, 300, Qt::RightButton);  // below the entries
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{166, 2, 1}, {166, 9, 0}, {166, 9, -1}}));
    EXPECT_EQ(list->GetCurSel(), 0);
}

}  // namespace
