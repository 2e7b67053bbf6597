// SPDX-License-Identifier: MIT
// The button page over a real store and a simulated Vireo: what each action stores, shows,
// queues and finally sends.

#include "editors/KeyPage.h"

#include <gtest/gtest.h>

#include "KeysTestHost.h"
#include "rules/KeyCapture.h"
#include "ui/MButton2.h"
#include "ui/MComboBox2.h"
#include "ui/MEdit.h"
#include "ui/MText.h"
#include "ui/MouseCtrl.h"
#include "ui/MouseKeyCtrl.h"

namespace kestrix {
namespace {

using testing::KeysHost;
using testing::PageTestHost;

constexpr int kWriteButtons = 6;

struct KeyPageTest : ::testing::Test {
    KeysHost keys;
    PageTestHost& host = keys.host;

    bool Row(int keyCode, KeyAssignmentRow& row) {
        return host.Store().GetKeyAssignment(host.Store().CurrentProfile(), keyCode, row);
    }
    void SelectButton(int index) {
        host.Control<DUI::MouseKeyCtrl>(KeyPage::kButtonList)->ClickItem(index);
    }
    void Toggle(int id) { host.Control<DUI::MButton2>(id)->SetCheck(1); }
};

TEST_F(KeyPageTest, RefreshShowsModelDefaultsAndSelectsThePrimaryButton) {
    auto* list = host.Control<DUI::MouseKeyCtrl>(KeyPage::kButtonList);
    ASSERT_EQ(list->GetCount(), 6);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(keys.Keys().SelectedKey(), 0);
    EXPECT_EQ(keys.Keys().ButtonDescription(1), "Right button");
    EXPECT_EQ(keys.Keys().ButtonDescription(5), "DPI cycle");
    // The picture's callouts follow the list, also when a button is chosen on the picture.
    auto* picture = host.Control<DUI::MouseCtrl>(KeyPage::kMousePicture);
    EXPECT_EQ(picture->GetKeyText(picture->FindKey(5)), "DPI cycle");
    picture->ClickItem(picture->FindKey(4));
    EXPECT_EQ(keys.Keys().SelectedKey(), 4);
    EXPECT_EQ(list->GetCurSel(), list->FindKey(4));
    EXPECT_EQ(host.State().selectedKey, 4);
}

TEST_F(KeyPageTest, PrimaryButtonGuardAsksFirstAndNoChangesNothing) {
    struct Case {
        int answer;
        bool stored;
    };
    for (const Case c : {Case{2, false}, Case{1, true}}) {
        SCOPED_TRACE(c.answer);
        host.ClearRecords();
        host.AnswerMessageBoxes({c.answer});
        // Right button (value 3) chosen for the primary button.
        host.Control<DUI::MComboBox2>(KeyPage::kMouseBox)->ChooseItem(1);
        ASSERT_EQ(host.MessageBoxes().size(), 1u);
        EXPECT_EQ(host.MessageBoxes()[0].type, 4);
        EXPECT_EQ(host.MessageBoxes()[0].upperText, "Warning");
        KeyAssignmentRow row;
        EXPECT_EQ(Row(0, row), c.stored);
        EXPECT_EQ(keys.Keys().ButtonDescription(0), c.stored ? "Right button" : "Left button");
        EXPECT_EQ(host.Tasks(), c.stored ? std::vector<int>{kWriteButtons} : std::vector<int>{});
        if (c.stored) {
            EXPECT_EQ(row.macroType, 1);
            EXPECT_EQ(row.macroValue, 3);
        }
    }
    // Any other button is assigned without a question.
    host.ClearRecords();
    SelectButton(1);
    host.Control<DUI::MComboBox2>(KeyPage::kMultimediaBox)->ChooseItem(0);
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(keys.Keys().ButtonDescription(1), "Volume up");
}

TEST_F(KeyPageTest, EmptyKeyCombinationStoresAndQueuesNothing) {
    SelectButton(2);
    host.Send(KeyPage::kOpenKeyPanel, 2);
    EXPECT_TRUE(host.Control<DUI::MControl>(KeyPage::kKeyPanel)->IsVisible());
    host.Send(KeyPage::kKeyConfirm, 2);
    KeyAssignmentRow row;
    EXPECT_FALSE(Row(2, row));
    EXPECT_TRUE(host.Tasks().empty());
    EXPECT_TRUE(host.Control<DUI::MControl>(KeyPage::kKeyPanel)->IsVisible());
}

TEST_F(KeyPageTest, KeyCombinationTextAndStoredBits) {
    struct Case {
        std::vector<int> toggles;
        int scanCode;  // 0 = no key
        const char* text;
        int usage;
        int bits;
    };
    const Case cases[] = {
        {{KeyPage::kShiftToggle, KeyPage::kCtrlToggle, KeyPage::kAltToggle},
         testing::kEvA,
         "Shift+ Ctrl+ Alt + A",
         4,
         7},
        {{KeyPage::kCtrlToggle}, 0, "Ctrl", 0, 1},
        {{}, 59, "F1", 58, 0},
        {{KeyPage::kWinToggle}, 99, "Win + Print Screen", 70, 8},
        // Mute has no keyboard usage: the field refuses it, so only Ctrl is stored and shown.
        {{KeyPage::kCtrlToggle}, 113, "Ctrl", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SelectButton(3);
        host.ClearRecords();
        host.Send(KeyPage::kOpenKeyPanel, 2);
        for (int id : {KeyPage::kCtrlToggle, KeyPage::kWinToggle, KeyPage::kAltToggle,
                       KeyPage::kShiftToggle}) {
            host.Control<DUI::MButton2>(id)->SetCheck(0);
        }
        for (int id : c.toggles) Toggle(id);
        host.Send(KeyPage::kCaptureField, DUI::kNotifyEditEnter);
        if (c.scanCode != 0) keys.Tap(c.scanCode);
        host.Send(KeyPage::kCaptureField, DUI::kNotifyEditDone);
        host.Send(KeyPage::kKeyConfirm, 2);
        KeyAssignmentRow row;
        ASSERT_TRUE(Row(3, row));
        EXPECT_EQ(row.macroType, 2);
        EXPECT_EQ(row.macroValue, c.usage);
        EXPECT_EQ(row.macroValue2, c.bits);
        EXPECT_EQ(row.macroDesc, c.text);
        EXPECT_EQ(keys.Keys().ButtonDescription(3), c.text);
        EXPECT_EQ(host.Tasks(), std::vector<int>{kWriteButtons});
        EXPECT_FALSE(host.Control<DUI::MControl>(KeyPage::kKeyPanel)->IsVisible());
    }
}

TEST_F(KeyPageTest, ModifierKeysAloneAreNeverCaptured) {
    SelectButton(1);
    host.Send(KeyPage::kOpenKeyPanel, 2);
    auto* field = host.Control<DUI::MEdit>(KeyPage::kCaptureField);
    host.Send(KeyPage::kCaptureField, DUI::kNotifyEditEnter);
    keys.Tap(testing::kEvLeftShift);
    EXPECT_EQ(keys.Keys().CapturedVk(), 0);
    EXPECT_EQ(field->GetTitle(), "");
    keys.Tap(testing::kEvA);
    keys.Tap(testing::kEvRightCtrl);
    EXPECT_EQ(keys.Keys().CapturedVk(), 65);
    EXPECT_EQ(field->GetTitle(), "A");
    // After the field is left, keys go elsewhere.
    host.Send(KeyPage::kCaptureField, DUI::kNotifyEditDone);
    EXPECT_FALSE(keys.Key(testing::kEvB, true));
    EXPECT_EQ(field->GetTitle(), "A");
    keys.Key(testing::kEvB, false);
}

TEST_F(KeyPageTest, KeysWithoutAKeyboardUsageAreRefusedWithTheReason) {
    SelectButton(1);
    host.Send(KeyPage::kOpenKeyPanel, 2);
    auto* field = host.Control<DUI::MEdit>(KeyPage::kCaptureField);
    auto* preview = host.Control<DUI::MText>(KeyPage::kComboPreview);
    host.Send(KeyPage::kCaptureField, DUI::kNotifyEditEnter);
    keys.Tap(testing::kEvA);
    keys.Tap(113);  // Mute
    EXPECT_EQ(keys.Keys().CapturedVk(), 0);
    EXPECT_EQ(field->GetTitle(), "");
    EXPECT_EQ(preview->GetTitle(), GetLanText(660));
    keys.Tap(testing::kEvB);
    EXPECT_EQ(keys.Keys().CapturedVk(), 66);
    EXPECT_EQ(preview->GetTitle(), "B");
}

// The button shows the macro's name as the macro list does, converted from the stored name
// once, whatever the page went through since it was assigned.
TEST_F(KeyPageTest, MacroNameOnAButtonIsConvertedOnce) {
    const int macroId = host.Store().InsertNamedMacro("Foo Copy");
    ASSERT_GT(macroId, 0);
    keys.pages->Refresh();
    SelectButton(3);
    auto* box = host.Control<DUI::MComboBox2>(KeyPage::kMacroBox);
    int index = -1;
    for (int i = 0; i < box->GetCount(); ++i) {
        if (box->GetItemData(i) == macroId) index = i;
    }
    ASSERT_GE(index, 0);
    box->ChooseItem(index);
    EXPECT_EQ(keys.Keys().ButtonDescription(3), "Foo Copy");
    keys.pages->Refresh();
    keys.pages->Refresh();
    EXPECT_EQ(keys.Keys().ButtonDescription(3), "Foo Copy");
    SetCurrentLcid(2052);
    keys.pages->ApplyTexts();
    EXPECT_EQ(keys.Keys().ButtonDescription(3), "Foo " + GetLanText(31));
    SetCurrentLcid(1033);
    keys.pages->ApplyTexts();
    keys.pages->Refresh();
    EXPECT_EQ(keys.Keys().ButtonDescription(3), "Foo Copy");
}

TEST_F(KeyPageTest, ResetRemovesTheRowAndTheMouseGetsItsDefaultAgain) {
    host.RunQueuedTasks();
    const SimMouseState before = host.Mouse();
    SelectButton(1);
    host.Control<DUI::MComboBox2>(KeyPage::kMultimediaBox)->ChooseItem(2);  // mute
    host.RunQueuedTasks();
    EXPECT_NE(host.Mouse().buttonTable, before.buttonTable);

    host.AnswerMessageBoxes({2});
    host.Send(KeyPage::kResetButton, 2);
    KeyAssignmentRow row;
    EXPECT_TRUE(Row(1, row)) << "a declined reset keeps the row";
    EXPECT_TRUE(host.Tasks().empty());

    host.AnswerMessageBoxes({1});
    host.Send(KeyPage::kResetButton, 2);
    EXPECT_FALSE(Row(1, row));
    EXPECT_EQ(keys.Keys().ButtonDescription(1), "Right button");
    EXPECT_EQ(host.Tasks(), std::vector<int>{kWriteButtons});
    EXPECT_EQ(host.MessageBoxes().back().upperText, "Reset buttons");
    host.RunQueuedTasks();
    EXPECT_EQ(host.Mouse().buttonTable, before.buttonTable);
}

TEST_F(KeyPageTest, ResetAllDeletesEveryRowAndSelectsThePrimaryButton) {
    for (int index : {1, 2, 3}) {
        SelectButton(index);
        host.Control<DUI::MComboBox2>(KeyPage::kShortcutBox)->ChooseItem(index);
    }
    host.ClearRecords();
    host.Send(KeyPage::kResetAll, 2);
    std::vector<KeyAssignmentRow> rows;
    EXPECT_EQ(host.Store().ListKeyAssignments(host.Store().CurrentProfile(), rows), 0);
    EXPECT_EQ(keys.Keys().SelectedKey(), 0);
    EXPECT_EQ(keys.Keys().ButtonDescription(2), "Middle button");
    EXPECT_EQ(host.Tasks(), std::vector<int>{kWriteButtons});
}

TEST_F(KeyPageTest, StoredRowsShowTheirTexts) {
    const ProfileId profile = host.Store().CurrentProfile();
    auto store = [&](int keyCode, int type, int value, const char* desc) {
        KeyAssignmentRow row;
        row.profile = profile;
        row.keyCode = keyCode;
        row.macroType = type;
        row.macroValue = value;
        row.macroDesc = desc;
        ASSERT_GT(host.Store().ReplaceKeyAssignment(row), 0);
    };
    store(1, 6, 2, "Lights toggle");  // device function 2 keeps its stored text
    store(2, 6, 4, "ignored");
    store(3, 1, 9, "ignored");
    store(4, 5, 1, "DPI +");
    store(5, 4, 7, "Custom 3");
    keys.pages->Refresh();
    EXPECT_EQ(keys.Keys().ButtonDescription(1), "Lights toggle");
    EXPECT_EQ(keys.Keys().ButtonDescription(2), GetLanText(153));
    EXPECT_EQ(keys.Keys().ButtonDescription(3), GetLanText(114));
    EXPECT_EQ(keys.Keys().ButtonDescription(4), "DPI +");
    EXPECT_EQ(keys.Keys().ButtonDescription(5), GetLanText(351) + " 3");
    // Selecting a button marks the box holding its function.
    SelectButton(4);
    EXPECT_EQ(host.Control<DUI::MComboBox2>(KeyPage::kDpiBox)->GetCheck(), 1);
    EXPECT_EQ(host.Control<DUI::MComboBox2>(KeyPage::kDpiBox)->GetCurData(), 1);
    EXPECT_EQ(host.Control<DUI::MComboBox2>(KeyPage::kMouseBox)->GetCheck(), 0);
    // A macro marks only the macro box; a key combination marks no box at all; a button
    // without a row marks the box of its default function.
    const auto marked = [&] {
        std::vector<int> ids;
        for (int id : {KeyPage::kMouseBox, KeyPage::kMultimediaBox, KeyPage::kMacroBox,
                       KeyPage::kShortcutBox, KeyPage::kDpiBox, KeyPage::kDeviceBox}) {
            if (host.Control<DUI::MComboBox2>(id)->GetCheck() == 1) ids.push_back(id);
        }
        return ids;
    };
    SelectButton(5);
    EXPECT_EQ(marked(), std::vector<int>{KeyPage::kMacroBox});
    store(3, 2, 0x3E, "Ctrl+F5");
    SelectButton(3);
    EXPECT_EQ(marked(), std::vector<int>{});
    host.Store().DeleteProfileKeyAssignments(profile);
    SelectButton(3);
    EXPECT_EQ(marked(), std::vector<int>{KeyPage::kMouseBox});
}

TEST_F(KeyPageTest, RepeatPanelClampsItsFieldsAndStoresTypeSeven) {
    SelectButton(3);
    host.Send(KeyPage::kOpenRepeatPanel, 2);
    auto* first = host.Control<DUI::MEdit>(KeyPage::kFirstParamField);
    auto* second = host.Control<DUI::MEdit>(KeyPage::kSecondParamField);
    first->SetTitle("2");
    host.Send(KeyPage::kFirstParamField, DUI::kNotifyEditDone);
    second->SetTitle("300");
    host.Send(KeyPage::kSecondParamField, DUI::kNotifyEditDone);
    EXPECT_EQ(first->GetTitle(), "5");
    EXPECT_EQ(second->GetTitle(), "255");
    host.Send(KeyPage::kRepeatConfirm, 2);
    KeyAssignmentRow row;
    ASSERT_TRUE(Row(3, row));
    EXPECT_EQ(row.macroType, 7);
    EXPECT_EQ(row.macroValue, 5);
    EXPECT_EQ(row.macroValue2, 255);
    EXPECT_EQ(keys.Keys().ButtonDescription(3), "Rapid fire");
    // The fixed function of button 89 marks that button.
    host.Send(KeyPage::kFixedFunction, 2);
    ASSERT_TRUE(Row(3, row));
    EXPECT_EQ(row.macroType, 9);
    EXPECT_EQ(host.Control<DUI::MButton2>(KeyPage::kFixedFunction)->GetCheck(), 1);
    EXPECT_EQ(host.Tasks(), (std::vector<int>{kWriteButtons, kWriteButtons}));
}

// Renders the page with the key-combination panel open (KESTRIX_SCREENSHOTS names the folder).
TEST_F(KeyPageTest, Screenshot) {
    const std::string folder = KeysHost::ScreenshotFolder();
    if (folder.empty()) GTEST_SKIP() << "set KESTRIX_SCREENSHOTS to a folder";
    keys.Macros().SetKeyPrompt([] { return RecordEditDlg::Result{}; });
    host.Send(MacroPage::kNewMacro, 2);
    keys.pages->ShowOnly(true);
    SelectButton(3);
    host.Control<DUI::MComboBox2>(KeyPage::kMacroBox)->ChooseItem(0);
    SelectButton(3);
    EXPECT_TRUE(keys.SavePng(folder + "/buttons.png"));
    SelectButton(2);
    host.Send(KeyPage::kOpenKeyPanel, 2);
    Toggle(KeyPage::kCtrlToggle);
    Toggle(KeyPage::kShiftToggle);
    host.Send(KeyPage::kShiftToggle, 2);
    host.Send(KeyPage::kCaptureField, DUI::kNotifyEditEnter);
    keys.Tap(testing::kEvA);
    EXPECT_TRUE(keys.SavePng(folder + "/buttons-key-combination.png"));
}

}  // namespace
}  // namespace kestrix
