// SPDX-License-Identifier: MIT
// Recording macros from the keyboard on the macro page, and a recorded macro reaching the
// simulated mouse through a button assignment.

#include "editors/MacroRecorder.h"

#include <gtest/gtest.h>

#include "KeysTestHost.h"
#include "device/WorkerTestBench.h"
#include "editors/MacroEntries.h"
#include "editors/RecordEditDlg.h"
#include "ui/CIconButton.h"
#include "ui/CRadioButton.h"
#include "ui/CRecordList.h"
#include "ui/MComboBox2.h"
#include "ui/MEdit.h"
#include "ui/MacroList.h"
#include "ui/MouseKeyCtrl.h"

namespace kestrix {
namespace {

using testing::KeysHost;
using testing::PageTestHost;

constexpr const char* kDown = "\xE2\x86\x93  ";
constexpr const char* kUp = "\xE2\x86\x91  ";

struct MacroRecorderTest : ::testing::Test {
    MacroRecorderTest() {
        host.Send(MacroPage::kNewMacro, 2);
        macroId = keys.Macros().SelectedMacroId();
    }

    // Chooses delay mode 0, 1 or 2 (with the fixed delay) and starts recording.
    void StartRecording(int delayMode, int fixedDelay = 10) {
        const int radio = MacroPage::kNoDelayRadio + delayMode;
        host.Control<DUI::CRadioButton>(radio)->SetCheck(1);
        host.Send(radio, 2);
        if (delayMode == 2) {
            host.Control<DUI::MEdit>(MacroPage::kFixedDelayField)->SetInt(fixedDelay);
            host.Send(MacroPage::kFixedDelayField, DUI::kNotifyEditDone);
        }
        host.Send(MacroPage::kRecordButton, 2);
        ASSERT_TRUE(keys.Macros().IsRecording());
    }
    void StopRecording() { host.Send(MacroPage::kRecordButton, 2); }

    // The entries as "text/type/value" for compact comparison.
    std::vector<std::string> Entries() {
        std::vector<std::string> lines;
        for (const DUI::RecordEntry& entry : keys.Macros().Entries()) {
            lines.push_back(entry.text + "/" + std::to_string(entry.type) + "/" +
                            std::to_string(entry.value));
        }
        return lines;
    }

    KeysHost keys;
    PageTestHost& host = keys.host;
    int macroId = 0;
};

TEST_F(MacroRecorderTest, RealDelaysHaveNoLeadingDelayAndAreCappedAt31Seconds) {
    StartRecording(1);
    keys.now += 500;
    keys.Key(testing::kEvA, true);
    keys.now += 120;
    keys.Key(testing::kEvA, false);
    keys.now += 40000;  // a long pause
    keys.Key(testing::kEvB, true);
    keys.Key(testing::kEvB, false);  // same tick: no delay entry
    keys.now += 75;
    StopRecording();
    EXPECT_EQ(Entries(), (std::vector<std::string>{std::string(kDown) + "A/2/65", "120 ms/1/120",
                                                   std::string(kUp) + "A/3/65", "31000 ms/1/31000",
                                                   std::string(kDown) + "B/2/66",
                                                   std::string(kUp) + "B/3/66", "75 ms/1/75"}));
    std::vector<MacroRecordRow> stored;
    EXPECT_EQ(host.Store().ListMacroRecords(macroId, stored), 7);
    // Stamps count up from the tick at the start, one per entry.
    const std::vector<DUI::RecordEntry> entries = keys.Macros().Entries();
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].stamp, entries[i - 1].stamp + 1);
}

TEST_F(MacroRecorderTest, StoppingWithoutAKeyAddsNoDelay) {
    StartRecording(1);
    keys.now += 3000;
    StopRecording();
    EXPECT_TRUE(Entries().empty());
}

TEST_F(MacroRecorderTest, FixedDelayModeGivesFourEntriesForOneKey) {
    StartRecording(2, 50);
    keys.Tap(testing::kEvC);
    StopRecording();
    EXPECT_EQ(Entries(), (std::vector<std::string>{std::string(kDown) + "C/2/67", "50 ms/1/50",
                                                   std::string(kUp) + "C/3/67", "50 ms/1/50"}));
}

TEST_F(MacroRecorderTest, TheThirtiethEventStopsRecordingWithTheLimitMessage) {
    StartRecording(0);
    auto* record = host.Control<DUI::CIconButton>(MacroPage::kRecordButton);
    EXPECT_EQ(record->GetIcon(), "icon\\icon_stop_rec.png");
    EXPECT_FALSE(host.Control<DUI::MControl>(MacroPage::kMacroList)->IsEnabled());
    for (int i = 0; i < 14; ++i) keys.Tap(testing::kEvA);
    keys.Key(testing::kEvB, true);
    EXPECT_TRUE(keys.Macros().IsRecording());
    EXPECT_TRUE(host.MessageBoxes().empty());
    keys.Key(testing::kEvB, false);  // the 30th event
    EXPECT_FALSE(keys.Macros().IsRecording());
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].upperText, "Macro recording");
    EXPECT_EQ(host.MessageBoxes()[0].lowerText, GetLanText(386));
    EXPECT_EQ(record->GetIcon(), "icon\\icon_rec.png");
    EXPECT_EQ(record->GetTitle(), GetLanText(358));
    EXPECT_TRUE(host.Control<DUI::MControl>(MacroPage::kMacroList)->IsEnabled());
    std::vector<MacroRecordRow> stored;
    EXPECT_EQ(host.Store().ListMacroRecords(macroId, stored), 30);
    // Keys after the stop are not recorded.
    keys.Tap(testing::kEvC);
    EXPECT_EQ(Entries().size(), 30u);
}

TEST_F(MacroRecorderTest, HeldKeysRecordOnePressAndIdleKeysNothing) {
    keys.Tap(testing::kEvA);  // not recording
    EXPECT_TRUE(Entries().empty());
    StartRecording(0);
    keys.Key(testing::kEvA, true);
    keys.Key(testing::kEvA, true, true);
    keys.Key(testing::kEvA, true, true);
    keys.Key(testing::kEvA, false);
    StopRecording();
    EXPECT_EQ(Entries(), (std::vector<std::string>{std::string(kDown) + "A/2/65",
                                                   std::string(kUp) + "A/3/65"}));
}

TEST_F(MacroRecorderTest, RecordingNeedsASelectedMacro) {
    host.Control<DUI::MouseKeyCtrl>(KeyPage::kButtonList);  // keep the key page alive
    host.Send(MacroPage::kDeleteMacro, 2);
    host.Send(MacroPage::kRecordButton, 2);
    EXPECT_FALSE(keys.Macros().IsRecording());
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].lowerText, GetLanText(387));
}

TEST_F(MacroRecorderTest, StopFromTheWindowOrLeavingThePageSavesTheRecording) {
    StartRecording(0);
    keys.Tap(testing::kEvA);
    keys.Macros().StopMacroRecording();
    EXPECT_FALSE(keys.Macros().IsRecording());
    std::vector<MacroRecordRow> stored;
    EXPECT_EQ(host.Store().ListMacroRecords(macroId, stored), 2);

    host.Send(MacroPage::kRecordButton, 2);
    keys.Tap(testing::kEvB);
    keys.Macros().OnShow(false);
    EXPECT_FALSE(keys.Macros().IsRecording());
    EXPECT_EQ(host.Store().ListMacroRecords(macroId, stored), 4);
}

TEST_F(MacroRecorderTest, ARefreshKeepsTheButtonsMacroChoiceShown) {
    host.Control<DUI::MouseKeyCtrl>(KeyPage::kButtonList)->ClickItem(0);
    host.Send(MacroPage::kNewMacro, 2);
    auto* box = host.Control<DUI::MComboBox2>(KeyPage::kMacroBox);
    host.AnswerMessageBoxes({1});
    box->ChooseItem(1);
    keys.pages->Refresh();
    EXPECT_EQ(box->GetCurData(), box->GetItemData(1));
    EXPECT_EQ(box->GetCheck(), 1);
    EXPECT_EQ(host.Control<DUI::MacroList>(MacroPage::kMacroList)->GetCount(), 2);
}

TEST_F(MacroRecorderTest, RecordedMacroReachesTheMouseThroughAButton) {
    StartRecording(0);
    for (int key : {testing::kEvA, testing::kEvB, testing::kEvC}) keys.Tap(key);
    StopRecording();

    host.Control<DUI::MouseKeyCtrl>(KeyPage::kButtonList)->ClickItem(3);
    ASSERT_EQ(keys.Keys().SelectedKey(), 3);
    host.Control<DUI::MComboBox2>(KeyPage::kMacroBox)->ChooseItem(0);
    ASSERT_EQ(host.Tasks(), std::vector<int>{6});

    testing::TraceRecorder trace;
    host.RunQueuedTasks();
    const SimMouseState mouse = host.Mouse();
    ASSERT_EQ(mouse.macros.count(3), 1u);
    // Press and release of A, B and C as key codes 0x30/0xB0 with the usages 4, 5, 6.
    const std::vector<uint8_t> expected = {0x30, 1, 0, 4, 0xB0, 1, 0, 4, 0x30, 1, 0, 5,
                                           0xB0, 1, 0, 5, 0x30, 1, 0, 6, 0xB0, 1, 0, 6};
    EXPECT_EQ(mouse.macros.at(3).eventBytes, expected);
    const std::vector<std::string> macroWrites = testing::WritesOf(trace, 0x08);
    ASSERT_EQ(macroWrites.size(), 1u);
    // Button index 3, then the 24 event bytes.
    EXPECT_EQ(macroWrites[0].substr(0, 29), "00 08 00 01 19 03 30 01 00 04");
    // The button table: button 3 plays macro slot 3 once (family 0x90, mode 0x20, count 1).
    const std::vector<std::string> tableWrites = testing::WritesOf(trace, 0x09);
    ASSERT_EQ(tableWrites.size(), 1u);
    EXPECT_EQ(mouse.buttonTable[9], 0x90);
    EXPECT_EQ(mouse.buttonTable[10], 0x23);
    EXPECT_EQ(mouse.buttonTable[11], 0x01);
    EXPECT_EQ(host.State().pendingMacroKey, -1);
}

// Renders the page with a recorded macro and its event editor open (KESTRIX_SCREENSHOTS names
// the folder).
TEST_F(MacroRecorderTest, Screenshot) {
    const std::string folder = KeysHost::ScreenshotFolder();
    if (folder.empty()) GTEST_SKIP() << "set KESTRIX_SCREENSHOTS to a folder";
    keys.pages->ShowOnly(false);
    host.Send(MacroPage::kNewMacro, 2);
    StartRecording(1);
    const std::pair<int, int> typed[] = {{29, 0},  {testing::kEvC, 60},  {testing::kEvC, 95},
                                         {29, 40}, {testing::kEvB, 180}, {testing::kEvB, 85}};
    bool pressed[256] = {};
    for (const auto& [scanCode, pause] : typed) {
        keys.now += static_cast<std::uint32_t>(pause);
        pressed[scanCode] = !pressed[scanCode];
        keys.Key(scanCode, pressed[scanCode]);
    }
    keys.now += 120;
    StopRecording();
    auto* events = host.Control<DUI::CRecordList>(MacroPage::kEventList);
    events->EnsureVisible(0);
    events->ClickItem(2);
    EXPECT_TRUE(keys.SavePng(folder + "/macros-recorded.png"));
}

TEST(RecordEditDlg, TakesTheLastKeyPressedWhileTheFieldHasTheFocus) {
    KeysHost keys;  // the toolkit and language files
    RecordEditDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr, RecordEditDlg::kWindowTitle, DUI::kWsPopup, 0,
                              {0, 0, RecordEditDlg::kWidth, RecordEditDlg::kHeight}));
    DUI::KeyEvent key;
    key.scanCode = testing::kEvA;
    EXPECT_FALSE(dialog.OnKeyEvent(key));
    dialog.OnMessage(RecordEditDlg::kKeyField, DUI::kNotifyEditEnter, 0);
    dialog.OnKeyEvent(key);
    key.scanCode = testing::kEvLeftShift;
    dialog.OnKeyEvent(key);
    EXPECT_EQ(dialog.Captured().vk, 160);
    EXPECT_EQ(dialog.Captured().name, "Shift");
    EXPECT_EQ(dialog.GetControlAs<DUI::MEdit>(RecordEditDlg::kKeyField)->GetTitle(), "Shift");
    // A name longer than what the user may type is shown whole.
    key.scanCode = 99;  // Print Screen
    dialog.OnKeyEvent(key);
    EXPECT_EQ(dialog.GetControlAs<DUI::MEdit>(RecordEditDlg::kKeyField)->GetTitle(),
              "Print Screen");
    key.pressed = false;
    dialog.OnKeyEvent(key);
    dialog.OnMessage(RecordEditDlg::kKeyField, DUI::kNotifyEditDone, 0);
    EXPECT_FALSE(dialog.IsCapturing());
    dialog.DestroyWindow();
}

}  // namespace
}  // namespace kestrix
