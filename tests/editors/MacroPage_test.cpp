// SPDX-License-Identifier: MIT
// The macro page over a real store: the macro list, the options, the event list and its
// editor, and the file commands.

#include "editors/MacroPage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include <filesystem>

#include "KeysTestHost.h"
#include "editors/MacroEntries.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/CRadioButton.h"
#include "ui/CRecordList.h"
#include "ui/MComboBox.h"
#include "ui/MComboBox2.h"
#include "ui/MEdit.h"
#include "ui/MacroList.h"
#include "ui/MouseKeyCtrl.h"

namespace kestrix {
namespace {

using testing::KeysHost;
using testing::PageTestHost;

struct MacroPageTest : ::testing::Test {
    explicit MacroPageTest(const std::string& scenario = "vireo") : keys(scenario) {}

    MacroPage& Page() { return keys.Macros(); }
    DUI::MacroList* List() { return host.Control<DUI::MacroList>(MacroPage::kMacroList); }
    DUI::CRecordList* Events() { return host.Control<DUI::CRecordList>(MacroPage::kEventList); }
    DUI::MComboBox2* MacroBox() { return host.Control<DUI::MComboBox2>(KeyPage::kMacroBox); }

    // Makes a new macro and returns its id (it is selected afterwards).
    int NewMacro() {
        host.Send(MacroPage::kNewMacro, 2);
        return Page().SelectedMacroId();
    }
    // Selects macro index as a click does.
    void SelectMacro(int index) {
        List()->SetCurSel(index);
        host.Send(MacroPage::kMacroList, 2, index);
    }
    // Stores count delay events for the macro and shows it.
    void FillEvents(int macroId, int count) {
        std::vector<MacroRecordRow> rows;
        for (int i = 0; i < count; ++i) {
            MacroRecordRow row;
            row.macroId = macroId;
            row.type = kEntryDelay;
            row.value = 10;
            row.recordIndex = i;
            row.desc = "10 ms";
            rows.push_back(row);
        }
        host.Store().InsertMacroRecords(rows);
        SelectMacro(List()->GetCurSel());
    }
    std::vector<MacroRecordRow> Stored(int macroId) {
        std::vector<MacroRecordRow> rows;
        host.Store().ListMacroRecords(macroId, rows);
        return rows;
    }
    // Renames macro index in place to text, as typing and Enter do.
    void Rename(int index, const std::string& text) {
        ASSERT_TRUE(List()->EditItem(index));
        QLineEdit* editor = nullptr;
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* line = qobject_cast<QLineEdit*>(widget);
            if (line != nullptr && !line->isHidden() &&
                line->text().toStdString() == List()->GetItemText(index)) {
                editor = line;
            }
        }
        ASSERT_NE(editor, nullptr);
        editor->setText(QString::fromStdString(text));
        List()->EndEdit();
    }

    KeysHost keys;
    PageTestHost& host = keys.host;
};

struct HarrierMacroPageTest : MacroPageTest {
    HarrierMacroPageTest() : MacroPageTest("harrier_pro") {}
};

TEST_F(MacroPageTest, NewMacrosAreNumberedAndListedOnBothPages) {
    const int first = NewMacro();
    const int second = NewMacro();
    ASSERT_GT(first, 0);
    ASSERT_GT(second, first);
    EXPECT_EQ(List()->GetItemText(1), "Custom 2");
    EXPECT_EQ(MacroBox()->GetCount(), 2);
    EXPECT_EQ(MacroBox()->GetItemData(1), second);
    MacroRow macro;
    ASSERT_TRUE(host.Store().GetMacro(second, macro));
    EXPECT_EQ(macro.delayType, 1);
    EXPECT_TRUE(host.Control<DUI::CRadioButton>(MacroPage::kRealDelayRadio)->GetCheck());
    EXPECT_TRUE(host.Control<DUI::CRadioButton>(MacroPage::kPlayTimesRadio)->GetCheck());
}

TEST_F(MacroPageTest, DeletingTheFirstMacroSelectsNothing) {
    NewMacro();
    NewMacro();
    SelectMacro(0);
    host.Send(MacroPage::kDeleteMacro, 2);
    EXPECT_EQ(List()->GetCount(), 1);
    EXPECT_EQ(List()->GetCurSel(), -1);
    EXPECT_EQ(MacroBox()->GetCount(), 1);
    EXPECT_EQ(MacroBox()->GetCurSel(), -1);
    EXPECT_EQ(Page().SelectedMacroId(), 0);
}

TEST_F(MacroPageTest, DeletingALaterMacroShowsTheEventsOfTheNewSelection) {
    const int first = NewMacro();
    FillEvents(first, 3);
    NewMacro();
    host.Send(MacroPage::kDeleteMacro, 2);
    EXPECT_EQ(Page().SelectedMacroId(), first);
    EXPECT_EQ(Events()->GetCount(), 3);
    // An edit now keeps the first macro's own events.
    host.Send(MacroPage::kDeleteEntry, 2);
    Events()->SetCurSel(0);
    host.Send(MacroPage::kDeleteEntry, 2);
    EXPECT_EQ(Stored(first).size(), 2u);
}

TEST_F(MacroPageTest, RenameFollowsAssignmentsAndAnEmptyNameIsRestored) {
    const int macroId = NewMacro();
    host.Control<DUI::MouseKeyCtrl>(KeyPage::kButtonList)->ClickItem(3);
    MacroBox()->ChooseItem(0);
    EXPECT_EQ(keys.Keys().ButtonDescription(3), "Custom 1");
    EXPECT_EQ(host.State().pendingMacroKey, 3);

    Rename(0, "Reload");
    MacroRow macro;
    ASSERT_TRUE(host.Store().GetMacro(macroId, macro));
    EXPECT_EQ(macro.name, "Reload");
    EXPECT_EQ(MacroBox()->GetItemText(0), "Reload");
    EXPECT_EQ(keys.Keys().ButtonDescription(3), "Reload");
    KeyAssignmentRow row;
    ASSERT_TRUE(host.Store().GetKeyAssignment(host.Store().CurrentProfile(), 3, row));
    EXPECT_EQ(row.macroDesc, "Reload");

    Rename(0, "");
    EXPECT_EQ(List()->GetItemText(0), "Reload");
    ASSERT_TRUE(host.Store().GetMacro(macroId, macro));
    EXPECT_EQ(macro.name, "Reload");
}

TEST_F(MacroPageTest, InsertStopsAtTwoHundredEntries) {
    const int macroId = NewMacro();
    FillEvents(macroId, 200);
    host.Send(MacroPage::kInsertButton, 2);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].upperText, "Insert event");
    EXPECT_EQ(host.MessageBoxes()[0].lowerText, GetLanText(386));
    Page().OnInsertMenu(105);
    EXPECT_EQ(Events()->GetCount(), 200);

    Events()->SetCurSel(199);
    host.Send(MacroPage::kDeleteEntry, 2);
    ASSERT_EQ(Events()->GetCount(), 199);
    Page().OnInsertMenu(105);
    EXPECT_EQ(Events()->GetCount(), 203);
    EXPECT_EQ(Stored(macroId).size(), 203u);
}

TEST_F(MacroPageTest, InsertedEntriesGoAfterTheSelectionWithSharedStamps) {
    const int macroId = NewMacro();
    keys.now = 5000;
    Page().OnInsertMenu(107);  // right click at the end
    Page().SetKeyPrompt([] { return RecordEditDlg::Result{65, "A"}; });
    Events()->SetCurSel(0);
    keys.now = 7000;
    Page().OnInsertMenu(101);  // key press after the first entry
    Events()->SetCurSel(2);
    keys.now = 9000;
    Page().OnInsertMenu(103);  // a delay before the third entry
    // The list names the mouse button in the language; the store keeps "RB" whatever the
    // language, as exported files do.
    struct Expected {
        const char* text;
        const char* stored;
        int type;
        int value;
        unsigned stamp;
    };
    const Expected expected[] = {
        {"\xE2\x86\x93  Right button", "\xE2\x86\x93  RB", 4, 2, 5000},
        {"\xE2\x86\x93  A", "\xE2\x86\x93  A", 2, 65, 7000},
        {"10 ms", "10 ms", 1, 10, 9000},
        {"10 ms", "10 ms", 1, 10, 7001},
        {"\xE2\x86\x91  A", "\xE2\x86\x91  A", 3, 65, 7000},
        {"10 ms", "10 ms", 1, 10, 7002},
        {"10 ms", "10 ms", 1, 10, 5001},
        {"\xE2\x86\x91  Right button", "\xE2\x86\x91  RB", 5, 2, 5000},
        {"10 ms", "10 ms", 1, 10, 5002},
    };
    const std::vector<DUI::RecordEntry> entries = Page().Entries();
    ASSERT_EQ(entries.size(), std::size(expected));
    const std::vector<MacroRecordRow> stored = Stored(macroId);
    ASSERT_EQ(stored.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].text, expected[i].text);
        EXPECT_EQ(entries[i].type, expected[i].type);
        EXPECT_EQ(entries[i].value, expected[i].value);
        EXPECT_EQ(entries[i].stamp, expected[i].stamp);
        EXPECT_EQ(stored[i].recordIndex, static_cast<int>(i));
        EXPECT_EQ(stored[i].desc, expected[i].stored);
        EXPECT_EQ(stored[i].delayTime, static_cast<int>(expected[i].stamp));
    }
    // A cancelled key prompt inserts nothing.
    Page().SetKeyPrompt([] { return RecordEditDlg::Result{}; });
    Page().OnInsertMenu(101);
    EXPECT_EQ(Events()->GetCount(), 9);
}

TEST_F(MacroPageTest, DelayEditorClampsToOneThroughTenThousand) {
    const int macroId = NewMacro();
    Page().OnInsertMenu(103);
    host.Send(MacroPage::kEventList, 2, 0);
    auto* value = host.Control<DUI::MEdit>(MacroPage::kEditValueField);
    ASSERT_TRUE(value->IsVisible());
    EXPECT_EQ(host.Control<DUI::MComboBox>(MacroPage::kEditKindBox)->GetCurData(), 3);
    const std::pair<const char*, int> cases[] = {{"0", 1}, {"20000", 10000}, {"250", 250}};
    for (const auto& [typed, kept] : cases) {
        value->SetTitle(typed);
        host.Send(MacroPage::kEditValueField, DUI::kNotifyEditDone);
        EXPECT_EQ(value->GetInt(), kept);
        EXPECT_EQ(Events()->GetEntry(0).text, DelayText(kept));
        ASSERT_EQ(Stored(macroId).size(), 1u);
        EXPECT_EQ(Stored(macroId)[0].value, kept);
    }
    // The fixed delay field has the same range.
    host.Control<DUI::CRadioButton>(MacroPage::kFixedDelayRadio)->SetCheck(1);
    host.Send(MacroPage::kFixedDelayRadio, 2);
    auto* fixed = host.Control<DUI::MEdit>(MacroPage::kFixedDelayField);
    fixed->SetTitle("0");
    host.Send(MacroPage::kFixedDelayField, DUI::kNotifyEditDone);
    EXPECT_EQ(fixed->GetTitle(), "1");
    MacroRow macro;
    ASSERT_TRUE(host.Store().GetMacro(macroId, macro));
    EXPECT_EQ(macro.delayType, 2);
    EXPECT_EQ(macro.delayTime, 1);
}

TEST_F(MacroPageTest, KeyAndMouseEditsChangeBothHalvesOfAPress) {
    const int macroId = NewMacro();
    Page().SetKeyPrompt([] { return RecordEditDlg::Result{65, "A"}; });
    Page().OnInsertMenu(101);
    Page().OnInsertMenu(105);
    host.Send(MacroPage::kEventList, 2, 2);  // the up entry of the key press
    host.Send(MacroPage::kEditValueField, DUI::kNotifyEditEnter);
    keys.Tap(testing::kEvB);
    host.Send(MacroPage::kEditValueField, DUI::kNotifyEditDone);
    EXPECT_EQ(Events()->GetEntry(0).text, "\xE2\x86\x93  B");
    EXPECT_EQ(Events()->GetEntry(0).value, 66);
    EXPECT_EQ(Events()->GetEntry(2).text, "\xE2\x86\x91  B");

    host.Send(MacroPage::kEventList, 2, 4);  // the left click
    auto* mouse = host.Control<DUI::MComboBox>(MacroPage::kEditMouseBox);
    ASSERT_TRUE(mouse->IsVisible());
    EXPECT_EQ(mouse->GetCurData(), 1);
    mouse->ChooseItem(3);  // forward
    EXPECT_EQ(Events()->GetEntry(4).text, "\xE2\x86\x93  Forward");
    EXPECT_EQ(Events()->GetEntry(6).text, "\xE2\x86\x91  Forward");
    EXPECT_EQ(Events()->GetEntry(6).value, 16);
    EXPECT_EQ(Stored(macroId)[6].value, 16);
}

// The event list names mouse buttons and delays in the language, also after a language
// change; what is saved keeps the language-independent names exported files carry.
TEST_F(MacroPageTest, EventNamesFollowTheLanguageWhileTheStoreKeepsItsOwn) {
    const int macroId = NewMacro();
    Page().OnInsertMenu(105);  // a left click: press, delay, release, delay
    SetCurrentLcid(1049);
    Page().ApplyTexts();
    EXPECT_EQ(Events()->GetEntry(0).text, "\xE2\x86\x93  " + GetLanText(text::kLeftButton));
    EXPECT_EQ(Events()->GetEntry(1).text, "10 \xD0\xBC\xD1\x81");  // "10 мс"
    Events()->SetCurSel(3);
    Page().OnInsertMenu(103);          // a delay: the whole list is saved again
    SelectMacro(List()->GetCurSel());  // shown again from the store
    SetCurrentLcid(1033);
    const std::vector<MacroRecordRow> stored = Stored(macroId);
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_EQ(stored[0].desc, "\xE2\x86\x93  LB");
    EXPECT_EQ(stored[1].desc, "10 ms");
    EXPECT_EQ(stored[2].desc, "\xE2\x86\x91  LB");
    EXPECT_EQ(Events()->GetEntry(2).text,
              "\xE2\x86\x91  \xD0\x9B\xD0\xB5\xD0\xB2\xD0\xB0\xD1\x8F "
              "\xD0\xBA\xD0\xBD\xD0\xBE\xD0\xBF\xD0\xBA\xD0\xB0");  // "↑  Левая кнопка"
}

TEST_F(MacroPageTest, MovesStopAtTheEndsAndAreSaved) {
    const int macroId = NewMacro();
    Page().OnInsertMenu(105);
    const std::vector<DUI::RecordEntry> before = Page().Entries();
    Events()->SetCurSel(3);
    host.Send(MacroPage::kMoveDownButton, 2);
    Page().OnEventListMenu(103);
    EXPECT_EQ(Page().Entries().back().stamp, before.back().stamp);
    EXPECT_EQ(Page().Entries()[0].text, before[0].text);

    Page().OnEventListMenu(100);  // the last entry to the top
    EXPECT_EQ(Events()->GetCurSel(), 0);
    EXPECT_EQ(Stored(macroId)[0].delayTime, static_cast<int>(before[3].stamp));
    host.Send(MacroPage::kMoveUpButton, 2);
    EXPECT_EQ(Events()->GetCurSel(), 0);
    Page().OnEventListMenu(102);
    EXPECT_EQ(Events()->GetCurSel(), 1);
    EXPECT_EQ(Stored(macroId)[1].delayTime, static_cast<int>(before[3].stamp));

    host.Send(MacroPage::kDeleteAllEntries, 2);
    EXPECT_TRUE(Stored(macroId).empty());
}

TEST_F(MacroPageTest, PlayCountRangeFollowsTheModel) {
    const int macroId = NewMacro();
    auto* times = host.Control<DUI::MEdit>(MacroPage::kPlayTimesField);
    times->SetTitle("0");
    host.Send(MacroPage::kPlayTimesField, DUI::kNotifyEditDone);
    EXPECT_EQ(times->GetTitle(), "1");
    times->SetTitle("300");
    host.Send(MacroPage::kPlayTimesField, DUI::kNotifyEditDone);
    EXPECT_EQ(times->GetTitle(), "300");
    MacroRow macro;
    ASSERT_TRUE(host.Store().GetMacro(macroId, macro));
    EXPECT_EQ(macro.playTimes, 300);

    // Play mode 1 stores one play and closes the field.
    host.Control<DUI::CRadioButton>(MacroPage::kPlayMode1Radio)->SetCheck(1);
    host.Send(MacroPage::kPlayMode1Radio, 2);
    ASSERT_TRUE(host.Store().GetMacro(macroId, macro));
    EXPECT_EQ(macro.playType, 1);
    EXPECT_EQ(macro.playTimes, 1);
    EXPECT_FALSE(times->IsEnabled());
}

TEST_F(HarrierMacroPageTest, PlayCountAbove255IsCutOnModel201) {
    ASSERT_EQ(host.State().selectedModel, 201);
    const int macroId = NewMacro();
    auto* times = host.Control<DUI::MEdit>(MacroPage::kPlayTimesField);
    times->SetTitle("300");
    host.Send(MacroPage::kPlayTimesField, DUI::kNotifyEditDone);
    EXPECT_EQ(times->GetTitle(), "255");
    MacroRow macro;
    ASSERT_TRUE(host.Store().GetMacro(macroId, macro));
    EXPECT_EQ(macro.playTimes, 255);
}

TEST_F(MacroPageTest, FileCommandsExportAndImportMacros) {
    const int macroId = NewMacro();
    Page().OnInsertMenu(106);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kestrix-macro-" + std::to_string(::getpid()) + ".xml"))
                                 .string();
    host.SetChosenFile(path);
    Page().OnMacroListMenu(102);
    ASSERT_TRUE(std::filesystem::exists(path));
    Page().OnMacroListMenu(101);
    Page().OnMacroListMenu(101);  // twice: two more macros of the same name
    EXPECT_EQ(List()->GetCount(), 3);
    EXPECT_EQ(MacroBox()->GetCount(), 3);
    EXPECT_EQ(List()->GetItemText(2), "Custom 1");
    EXPECT_EQ(Stored(List()->GetItemData(2)).size(), Stored(macroId).size());

    Page().OnMacroListMenu(106);
    Page().OnMacroListMenu(105);
    EXPECT_EQ(List()->GetCount(), 6);
    // A cancelled dialog does nothing.
    host.SetChosenFile("");
    Page().OnMacroListMenu(105);
    EXPECT_EQ(List()->GetCount(), 6);
    EXPECT_EQ(host.FileDialogs(), 6);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kestrix
