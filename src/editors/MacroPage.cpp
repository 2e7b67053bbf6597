// SPDX-License-Identifier: MIT
#include "editors/MacroPage.h"

#include "base/Text.h"
#include "editors/KeyNames.h"
#include "editors/KeyPage.h"
#include "editors/MacroEntries.h"
#include "exchange/MacroFile.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/CIconButton.h"
#include "ui/CRadioButton.h"
#include "ui/CRecordList.h"
#include "ui/Desktop.h"
#include "ui/KeyboardUse.h"
#include "ui/MButton.h"
#include "ui/MComboBox.h"
#include "ui/MDialog.h"
#include "ui/MEdit.h"
#include "ui/MText.h"
#include "ui/MacroList.h"
#include "ui/MenuWnd.h"

namespace kestrix {

namespace {

constexpr int kListColumn = 1201;
constexpr int kEventColumn = 1202;
constexpr int kOptionColumn = 1203;
constexpr int kListTitle = 1204;
constexpr int kEventTitle = 1205;
constexpr int kEditorTitle = 1206;
constexpr int kDelayTitle = 1207;
constexpr int kPlayTitle = 1208;
constexpr int kMsLabel = 1209;

constexpr const char* kDelayGroup = "IDC_MACRO_STC_DELAYSET";
constexpr const char* kPlayGroup = "IDC_MACRO_RADIO_LOOP1";
constexpr const char* kRecordIcon = "icon\\icon_rec.png";
constexpr const char* kStopIcon = "icon\\icon_stop_rec.png";
constexpr const char* kMacroFileFilter = "Macro (*.xml)";
constexpr const char* kMacroFilePattern = "*.xml";

constexpr int kMessageOk = 0;
constexpr int kDefaultFixedDelay = 10;
constexpr int kDefaultPlayTimes = 1;

// Items of the event editor's kind box: the data says what the value field edits.
constexpr int kEditMouse = 1;
constexpr int kEditKey = 2;
constexpr int kEditDelay = 3;

constexpr int kHeadingColour = DUI::MakeColour(235, 235, 235);
constexpr int kSecondaryColour = DUI::MakeColour(150, 150, 150);

// The mouse buttons of the event editor: text and item data.
constexpr std::pair<int, int> kMouseItems[] = {
    {text::kLeftButton, 1}, {text::kRightButton, 3}, {text::kMiddleButton, 2},
    {text::kForward, 5},    {text::kBack, 6},
};

// Every control the recorder disables: all but the record button.
constexpr int kRecordingLocked[] = {
    MacroPage::kMacroList,        MacroPage::kNewMacro,        MacroPage::kDeleteMacro,
    MacroPage::kEventList,        MacroPage::kInsertButton,    MacroPage::kDeleteEntry,
    MacroPage::kDeleteAllEntries, MacroPage::kNoDelayRadio,    MacroPage::kRealDelayRadio,
    MacroPage::kFixedDelayRadio,  MacroPage::kFixedDelayField, MacroPage::kPlayMode1Radio,
    MacroPage::kPlayMode2Radio,   MacroPage::kPlayTimesRadio,  MacroPage::kPlayTimesField,
    MacroPage::kEditKindBox,      MacroPage::kEditValueField,  MacroPage::kEditMouseBox,
    MacroPage::kMoveUpButton,     MacroPage::kMoveDownButton,
};

// Whether an evdev key code is one that presses a focused button: Space, Enter, keypad Enter.
bool IsActivationKey(int scanCode) { return scanCode == 57 || scanCode == 28 || scanCode == 96; }

struct Placement {
    int id;
    const char* className;
    int parent;
    DUI::Rect rect;
};

// Three columns: the macro list, the event list with its editor, and the recorder with
// the delay and play options.
std::vector<Placement> Placements(int width, int height) {
    constexpr int kMargin = 16;
    constexpr int kListWidth = 220;
    constexpr int kOptionWidth = 270;
    const int eventLeft = kMargin + kListWidth + kMargin;
    const int optionLeft = width - kMargin - kOptionWidth;
    const int eventWidth = optionLeft - kMargin - eventLeft;
    const int columnHeight = height - 2 * kMargin;

    std::vector<Placement> places = {
        {kListColumn, "CArea", 0, {kMargin, kMargin, kMargin + kListWidth, height - kMargin}},
        {kListTitle, "MText", kListColumn, {kMargin, 12, kListWidth - kMargin, 40}},
        {MacroPage::kMacroList,
         "MacroList",
         kListColumn,
         {8, 48, kListWidth - 8, columnHeight - 64}},
        {MacroPage::kNewMacro,
         "MButton",
         kListColumn,
         {kMargin, columnHeight - 52, kListWidth / 2 - 4, columnHeight - kMargin}},
        {MacroPage::kDeleteMacro,
         "MButton",
         kListColumn,
         {kListWidth / 2 + 4, columnHeight - 52, kListWidth - kMargin, columnHeight - kMargin}},

        {kEventColumn, "CArea", 0, {eventLeft, kMargin, optionLeft - kMargin, height - kMargin}},
        {kEventTitle, "MText", kEventColumn, {kMargin, 12, eventWidth - kMargin - 80, 40}},
        {MacroPage::kEventList,
         "CRecordList",
         kEventColumn,
         {8, 48, eventWidth - 8, columnHeight - 156}},
    };
    // The two arrows beside the list's title; insert, delete and clear share the row under
    // the list, so that their texts have the room they need in every language.
    constexpr int kArrow = 34;
    int x = eventWidth - kMargin - 2 * kArrow - 8;
    for (int id : {MacroPage::kMoveUpButton, MacroPage::kMoveDownButton}) {
        places.push_back({id, "MButton", kEventColumn, {x, 9, x + kArrow, 9 + kArrow}});
        x += kArrow + 8;
    }
    const int rowTop = columnHeight - 144;
    const int buttonWidth = (eventWidth - 2 * kMargin - 2 * 8) / 3;
    x = kMargin;
    for (int id :
         {MacroPage::kInsertButton, MacroPage::kDeleteEntry, MacroPage::kDeleteAllEntries}) {
        places.push_back({id, "MButton", kEventColumn, {x, rowTop, x + buttonWidth, rowTop + 36}});
        x += buttonWidth + 8;
    }
    const int editorTop = columnHeight - 92;
    places.push_back({kEditorTitle,
                      "MText",
                      kEventColumn,
                      {kMargin, editorTop, eventWidth - kMargin, editorTop + 24}});
    places.push_back({MacroPage::kEditKindBox,
                      "MComboBox",
                      kEventColumn,
                      {kMargin, editorTop + 32, kMargin + 150, editorTop + 68}});
    places.push_back({MacroPage::kEditValueField,
                      "MEdit",
                      kEventColumn,
                      {kMargin + 158, editorTop + 32, eventWidth - kMargin, editorTop + 68}});
    places.push_back({MacroPage::kEditMouseBox,
                      "MComboBox",
                      kEventColumn,
                      {kMargin + 158, editorTop + 32, eventWidth - kMargin, editorTop + 68}});

    const int optionRight = kOptionWidth - kMargin;
    places.push_back(
        {kOptionColumn, "CArea", 0, {optionLeft, kMargin, width - kMargin, height - kMargin}});
    places.push_back({MacroPage::kRecordButton,
                      "CIconButton",
                      kOptionColumn,
                      {kMargin, kMargin, optionRight, 140}});
    int y = 160;
    places.push_back({kDelayTitle, "MText", kOptionColumn, {kMargin, y, optionRight, y + 24}});
    y += 32;
    for (int id :
         {MacroPage::kNoDelayRadio, MacroPage::kRealDelayRadio, MacroPage::kFixedDelayRadio}) {
        places.push_back({id, "CRadioButton", kOptionColumn, {kMargin, y, optionRight, y + 30}});
        y += 34;
    }
    places.push_back({MacroPage::kFixedDelayField,
                      "MEdit",
                      kOptionColumn,
                      {kMargin + 28, y, kMargin + 128, y + 32}});
    places.push_back({kMsLabel, "MText", kOptionColumn, {kMargin + 136, y, kMargin + 180, y + 32}});
    y += 52;
    places.push_back({kPlayTitle, "MText", kOptionColumn, {kMargin, y, optionRight, y + 24}});
    y += 32;
    for (int id :
         {MacroPage::kPlayMode1Radio, MacroPage::kPlayMode2Radio, MacroPage::kPlayTimesRadio}) {
        places.push_back({id, "CRadioButton", kOptionColumn, {kMargin, y, optionRight, y + 30}});
        y += 34;
    }
    places.push_back({MacroPage::kPlayTimesField,
                      "MEdit",
                      kOptionColumn,
                      {kMargin + 28, y, kMargin + 128, y + 32}});
    return places;
}

template <class T>
T* ControlOf(DUI::MDialog* owner, int id) {
    return owner != nullptr ? owner->GetControlAs<T>(id) : nullptr;
}

void SetText(DUI::MDialog* owner, int id, const std::string& text) {
    if (auto* control = ControlOf<DUI::MControlFont>(owner, id)) control->SetTitle(text);
}

void SetVisible(DUI::MDialog* owner, int id, bool visible) {
    if (auto* control = owner != nullptr ? owner->GetControl(id) : nullptr)
        control->SetVisible(visible);
}

void SetEnabled(DUI::MDialog* owner, int id, bool enabled) {
    if (auto* control = owner != nullptr ? owner->GetControl(id) : nullptr)
        control->SetEnabled(enabled);
}

bool IsChecked(DUI::MDialog* owner, int id) {
    auto* radio = ControlOf<DUI::CRadioButton>(owner, id);
    return radio != nullptr && radio->GetCheck() != 0;
}

void Check(DUI::MDialog* owner, int id) {
    if (auto* radio = ControlOf<DUI::CRadioButton>(owner, id)) radio->SetCheck(1);
}

}  // namespace

// The event list as the recorder's target.
class MacroPage::ListTarget : public MacroRecorder::Target {
  public:
    explicit ListTarget(DUI::CRecordList& list) : m_list(list) {}
    int EventCount() const override { return m_list.GetEventCount(); }
    void Append(const DUI::RecordEntry& entry) override {
        m_list.EnsureVisible(m_list.AddEntry(entry));
    }

  private:
    DUI::CRecordList& m_list;
};

MacroPage::MacroPage(EditorContext& context)
    : m_context(context), m_ticks(&MacroRecorder::SystemTicks), m_recorder(m_ticks) {}

MacroPage::~MacroPage() = default;

void MacroPage::SetTickSource(MacroRecorder::TickSource ticks) {
    m_ticks = ticks ? std::move(ticks) : MacroRecorder::TickSource(&MacroRecorder::SystemTicks);
    m_recorder = MacroRecorder(m_ticks);
}

void MacroPage::Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) {
    m_owner = &owner;
    m_panel = panel;
    CreateControls(rect);
    ApplyTexts();
}

void MacroPage::CreateControls(const DUI::Rect& rect) {
    for (const Placement& place : Placements(rect.Width(), rect.Height())) {
        DUI::MControl* parent = place.parent == 0 ? m_panel : m_owner->GetControl(place.parent);
        m_owner->CreateControl(place.className, place.id, place.rect, "", parent);
    }
    m_macros = ControlOf<DUI::MacroList>(m_owner, kMacroList);
    m_events = ControlOf<DUI::CRecordList>(m_owner, kEventList);

    for (int id : {kListTitle, kEventTitle, kDelayTitle, kPlayTitle}) {
        if (auto* title = ControlOf<DUI::MText>(m_owner, id)) {
            title->SetFont(18);
            title->SetTextColor(kHeadingColour);
        }
    }
    if (auto* title = ControlOf<DUI::MText>(m_owner, kEditorTitle)) {
        title->SetFont(13);
        title->SetTextColor(kSecondaryColour);
    }
    for (int id : {kNoDelayRadio, kRealDelayRadio, kFixedDelayRadio}) {
        if (auto* radio = ControlOf<DUI::CRadioButton>(m_owner, id))
            radio->SetGroupName(kDelayGroup);
    }
    for (int id : {kPlayMode1Radio, kPlayMode2Radio, kPlayTimesRadio}) {
        if (auto* radio = ControlOf<DUI::CRadioButton>(m_owner, id))
            radio->SetGroupName(kPlayGroup);
    }
    if (auto* field = ControlOf<DUI::MEdit>(m_owner, kFixedDelayField)) {
        field->SetNumber(true);
        field->SetLimitText(5);
        field->SetImage("img_edit.png");
        field->SetTitle(std::to_string(kDefaultFixedDelay));
        field->SetEnabled(false);
    }
    SetText(m_owner, kMsLabel, GetLanText(text::kUnitMs));
    if (auto* field = ControlOf<DUI::MEdit>(m_owner, kPlayTimesField)) {
        field->SetNumber(true);
        field->SetLimitText(3);
        field->SetImage("img_edit.png");
        field->SetTitle(std::to_string(kDefaultPlayTimes));
        field->SetEnabled(false);
    }
    if (auto* up = m_owner->GetControl(kMoveUpButton)) up->SetImage("img_recorditem_up.png");
    if (auto* down = m_owner->GetControl(kMoveDownButton))
        down->SetImage("img_recorditem_down.png");
    if (auto* record = ControlOf<DUI::CIconButton>(m_owner, kRecordButton)) {
        record->SetIcon(kRecordIcon);
        record->SetFont(18);
    }
    if (auto* field = ControlOf<DUI::MEdit>(m_owner, kEditValueField))
        field->SetImage("img_edit.png");
    HideEventEditor();
}

void MacroPage::Layout(const DUI::Rect& rect) {
    if (m_owner == nullptr) return;
    for (const Placement& place : Placements(rect.Width(), rect.Height())) {
        if (auto* control = m_owner->GetControl(place.id)) control->SetRect(place.rect);
    }
}

void MacroPage::ApplyTexts() {
    if (m_owner == nullptr) return;
    // Delays and mouse buttons of the event list are named in the language.
    for (int i = 0; m_events != nullptr && i < m_events->GetCount(); ++i) {
        DUI::RecordEntry entry = m_events->GetEntry(i);
        const std::string shown = ShownText(entry);
        if (shown == entry.text) continue;
        entry.text = shown;
        m_events->SetEntry(i, entry);
    }
    SetText(m_owner, kListTitle, GetLanText(text::kMacroList));
    SetText(m_owner, kEventTitle, GetLanText(text::kEventList));
    SetText(m_owner, kEditorTitle, GetLanText(text::kEditEvent));
    SetText(m_owner, kDelayTitle, GetLanText(text::kDelaySettings));
    SetText(m_owner, kPlayTitle, GetLanText(text::kPlayback));
    SetText(m_owner, kNewMacro, GetLanText(text::kNewMacro));
    SetText(m_owner, kDeleteMacro, GetLanText(text::kDeleteMacro));
    SetText(m_owner, kInsertButton, GetLanText(text::kInsert));
    SetText(m_owner, kDeleteEntry, GetLanText(text::kDeleteEvent));
    SetText(m_owner, kDeleteAllEntries, GetLanText(text::kClearEvents));
    SetText(m_owner, kRecordButton,
            GetLanText(IsRecording() ? text::kStopRecording : text::kStartRecording));
    SetText(m_owner, kNoDelayRadio, GetLanText(text::kNoDelay));
    SetText(m_owner, kRealDelayRadio, GetLanText(text::kRecordDelays));
    SetText(m_owner, kFixedDelayRadio, GetLanText(text::kFixedDelay));
    SetText(m_owner, kPlayMode1Radio, GetLanText(text::kRepeatWhileHeld));
    SetText(m_owner, kPlayMode2Radio, GetLanText(text::kRepeatUntilPressed));
    SetText(m_owner, kPlayTimesRadio, GetLanText(text::kRepeatCount));
    if (auto* mouseBox = ControlOf<DUI::MComboBox>(m_owner, kEditMouseBox)) {
        const int selected = mouseBox->GetCurSel();
        mouseBox->DeleteAllItems();
        for (const auto& [textId, data] : kMouseItems) mouseBox->AddItem(GetLanText(textId), data);
        mouseBox->SetCurSel(selected);
    }
    // Generated macro names are shown in the current language.
    if (m_macros != nullptr && m_context.HasOpenStore()) {
        for (int i = 0; i < m_macros->GetCount(); ++i) {
            MacroRow macro;
            if (m_context.store->GetMacro(m_macros->GetItemData(i), macro)) {
                m_macros->SetItemText(i, ShownMacroName(macro.name));
                if (m_keyPage != nullptr)
                    m_keyPage->SetMacroChoiceText(i, ShownMacroName(macro.name));
            }
        }
    }
    if (m_editIndex >= 0) OpenEventEditor(m_editIndex);
}

void MacroPage::Refresh() {
    if (m_owner == nullptr || m_macros == nullptr || m_events == nullptr) return;
    // A recording belongs to the macro selected when it started: finish it before the lists go.
    StopMacroRecording();
    m_macros->DeleteAllItems();
    m_events->DeleteAllEntries();
    HideEventEditor();
    std::vector<MacroRow> macros;
    if (m_context.HasOpenStore()) m_context.store->ListMacros(macros);
    std::vector<std::pair<std::string, int>> shown;
    for (const MacroRow& macro : macros) {
        shown.emplace_back(ShownMacroName(macro.name), macro.macroId);
        m_macros->AddItem(shown.back().first, macro.macroId);
    }
    if (m_keyPage != nullptr) m_keyPage->SetMacroChoices(shown);
}

void MacroPage::OnShow(bool shown) {
    // Keys reach only the page on show: a recording cannot go on behind another tab.
    if (!shown) {
        StopMacroRecording();
        if (m_capture == CaptureMode::EventKey) m_capture = CaptureMode::None;
    }
}

void MacroPage::AddMacroToLists(const std::string& storedName, int macroId) {
    const std::string shown = ShownMacroName(storedName);
    m_macros->AddItem(shown, macroId);
    if (m_keyPage != nullptr) m_keyPage->AddMacroChoice(shown, macroId);
}

int MacroPage::SelectedMacroId() const {
    if (m_macros == nullptr) return 0;
    const int index = m_macros->GetCurSel();
    return index >= 0 ? m_macros->GetItemData(index) : 0;
}

std::vector<DUI::RecordEntry> MacroPage::Entries() const {
    std::vector<DUI::RecordEntry> entries;
    if (m_events == nullptr) return entries;
    for (int i = 0; i < m_events->GetCount(); ++i) entries.push_back(m_events->GetEntry(i));
    return entries;
}

bool MacroPage::OnMessage(int id, int code, std::intptr_t param) {
    const int index = static_cast<int>(param);
    switch (id) {
        case kMacroList:
            if (code == DUI::kNotifyClick) {
                ShowMacro(SelectedMacroId());
            } else if (code == DUI::kNotifyMenu) {
                ShowMacroListMenu();
            } else if (code == DUI::kNotifyEditDone) {
                RenameMacro(index);
            }
            return true;
        case kNewMacro:
            if (code == DUI::kNotifyClick) NewMacro();
            return true;
        case kDeleteMacro:
            if (code == DUI::kNotifyClick) DeleteSelectedMacro();
            return true;
        case kEventList:
            if (code == DUI::kNotifyClick) {
                OpenEventEditor(index);
            } else if (code == DUI::kNotifySecondary) {
                ShowEventListMenu(index);
            }
            return true;
        case kInsertButton:
            if (code == DUI::kNotifyClick) ShowInsertMenu();
            return true;
        case kDeleteEntry:
            if (code == DUI::kNotifyClick) DeleteSelectedEntry();
            return true;
        case kDeleteAllEntries:
            if (code == DUI::kNotifyClick) DeleteAllEntries();
            return true;
        case kMoveUpButton:
            if (code == DUI::kNotifyClick) MoveSelectedEntry(101);
            return true;
        case kMoveDownButton:
            if (code == DUI::kNotifyClick) MoveSelectedEntry(102);
            return true;
        case kRecordButton:
            if (code == DUI::kNotifyClick) ToggleRecording();
            return true;
        case kNoDelayRadio:
        case kRealDelayRadio:
        case kFixedDelayRadio:
        case kPlayMode1Radio:
        case kPlayMode2Radio:
        case kPlayTimesRadio:
            if (code == DUI::kNotifyClick) SaveMacroSettings(id);
            return true;
        case kFixedDelayField:
        case kPlayTimesField:
            if (code == DUI::kNotifyEditDone) {
                ClampField(id);
                SaveMacroSettings(id);
            }
            return true;
        case kEditValueField:
            if (code == DUI::kNotifyEditEnter) EventValueFocus(true);
            if (code == DUI::kNotifyEditDone) EventValueFocus(false);
            return true;
        case kEditMouseBox:
            if (code == DUI::kNotifyClick) EventMouseChosen();
            return true;
        case kEditKindBox:
            return true;
        default:
            return false;
    }
}

bool MacroPage::OnKeyEvent(const DUI::KeyEvent& key) {
    if (m_recorder.IsRecording() && m_events != nullptr) {
        // A held key repeats its press; the macro gets the press once, as the user made it.
        if (key.autoRepeat) return true;
        // Started from the keyboard, a recording ends as it began: Space or Enter on the
        // record button. Every other key (and every key of a recording started by a click)
        // goes into the macro.
        const DUI::MControl* record = m_owner->GetControl(kRecordButton);
        if (key.pressed && IsActivationKey(key.scanCode) && DUI::KeyboardInUse() &&
            record != nullptr && record->HasFocus()) {
            StopMacroRecording();
            return true;
        }
        ListTarget target(*m_events);
        const KeyEvent event = DecodeKeyEvent(key.scanCode, key.pressed);
        if (m_recorder.OnKey(event, target) == MacroRecorder::KeyResult::LimitReached) {
            FinishRecording();
            if (m_context.messageBox) {
                m_context.messageBox(kMessageOk, GetLanText(text::kRecordingTitle),
                                     GetLanText(text::kEventLimit));
            }
        }
        return true;
    }
    if (m_capture == CaptureMode::EventKey) {
        // Once a key is chosen, Tab leaves the field (until then it is the key).
        if (key.scanCode == DUI::kScanTab && m_capturedVk != 0) return false;
        const KeyEvent event = DecodeKeyEvent(key.scanCode, key.pressed);
        if (event.kind == KeyEvent::kKeyboard && !event.name.empty()) {
            m_capturedVk = event.vk;
            m_capturedName = event.name;
            SetText(m_owner, kEditValueField, event.name);
        }
        return true;
    }
    return false;
}

// ---- Macro list ----

void MacroPage::NewMacro() {
    if (m_context.store == nullptr || m_macros == nullptr) return;
    const std::string name =
        GetLanText(text::kCustom) + " " + std::to_string(m_macros->GetCount() + 1);
    const int macroId = m_context.store->InsertNamedMacro(name);
    if (macroId <= 0) return;
    AddMacroToLists(name, macroId);
    m_macros->SetCurSel(m_macros->GetCount() - 1);
    m_macros->EnsureVisible(m_macros->GetCount() - 1);
    ShowMacro(macroId);
}

void MacroPage::DeleteSelectedMacro() {
    if (m_context.store == nullptr || m_macros == nullptr) return;
    const int index = m_macros->GetCurSel();
    const int macroId = SelectedMacroId();
    if (macroId <= 0 || !m_context.store->DeleteMacro(macroId)) return;
    m_macros->DeleteItem(index);
    if (m_keyPage != nullptr) m_keyPage->RemoveMacroChoice(index);
    m_macros->SetCurSel(index - 1);
    m_events->DeleteAllEntries();
    HideEventEditor();
    // The list must show the newly selected macro's own events: an edit of a cleared list
    // would otherwise replace that macro's stored events with it.
    if (index - 1 >= 0) ShowMacro(SelectedMacroId());
}

void MacroPage::RenameMacro(int index) {
    if (m_context.store == nullptr || m_macros == nullptr) return;
    const int macroId = m_macros->GetItemData(index);
    if (macroId <= 0) return;
    const std::string name = RemoveControlCharacters(m_macros->GetEditText());
    if (name.empty()) {
        MacroRow macro;
        if (m_context.store->GetMacro(macroId, macro))
            m_macros->SetItemText(index, ShownMacroName(macro.name));
        return;
    }
    m_macros->SetItemText(index, name);
    if (m_keyPage != nullptr) m_keyPage->SetMacroChoiceText(index, name);
    const ProfileId profile = m_context.store->CurrentProfile();
    std::vector<KeyAssignmentRow> rows;
    m_context.store->ListKeyAssignments(profile, rows);
    for (const KeyAssignmentRow& row : rows) {
        if (row.macroType != static_cast<int>(KeyFunctionType::Macro) || row.macroValue != macroId)
            continue;
        m_context.store->SetKeyAssignmentDesc(profile, row.keyCode, name);
        if (m_keyPage != nullptr)
            m_keyPage->SetButtonDescription(row.keyCode, ShownMacroName(name));
    }
    m_context.store->RenameMacro(macroId, name);
}

DUI::Point MacroPage::MenuPoint(int dx, int dy) const {
    DUI::Point point = DUI::GetCursorPos();
    point.x += dx;
    point.y += dy;
    return point;
}

void MacroPage::ShowMacroListMenu() {
    std::vector<std::pair<int, std::string>> items = {{101, GetLanText(text::kImport)}};
    if (SelectedMacroId() > 0) {
        items.emplace_back(102, GetLanText(text::kExport));
        items.emplace_back(105, GetLanText(text::kImportMacroList));
        items.emplace_back(106, GetLanText(text::kExportAllMacros));
    }
    DUI::MenuWnd::Popup(m_owner, kMacroListMenuMessage, items, MenuPoint(2, 2));
}

void MacroPage::OnMacroListMenu(int command) {
    if (m_context.store == nullptr || !m_context.chooseFile) return;
    const bool save = command == 102 || command == 106;
    if (command != 101 && command != 102 && command != 105 && command != 106) return;
    if (command != 101 && SelectedMacroId() <= 0) return;
    const std::string path = m_context.chooseFile(save, kMacroFileFilter, kMacroFilePattern);
    if (path.empty()) return;
    switch (command) {
        case 101:
            if (const auto imported = ImportMacro(*m_context.store, path))
                AddMacroToLists(imported->name, imported->macroId);
            break;
        case 102:
            ExportMacro(*m_context.store, SelectedMacroId(), path);
            break;
        case 105:
            for (const ImportedMacro& imported : ImportMacroList(*m_context.store, path).macros) {
                AddMacroToLists(imported.name, imported.macroId);
            }
            break;
        case 106:
            ExportAllMacros(*m_context.store, path);
            break;
        default:
            break;
    }
}

// ---- Options ----

void MacroPage::ShowMacro(int macroId) {
    HideEventEditor();
    SetEnabled(m_owner, kFixedDelayField, false);
    SetEnabled(m_owner, kPlayTimesField, false);
    if (m_events != nullptr) m_events->DeleteAllEntries();
    MacroRow macro;
    if (m_context.store == nullptr || !m_context.store->GetMacro(macroId, macro)) return;

    switch (macro.delayType) {
        case 0:
            Check(m_owner, kNoDelayRadio);
            break;
        case 1:
            Check(m_owner, kRealDelayRadio);
            break;
        case 2:
            Check(m_owner, kFixedDelayRadio);
            SetText(m_owner, kFixedDelayField, std::to_string(macro.delayTime));
            SetEnabled(m_owner, kFixedDelayField, true);
            break;
        default:
            break;
    }
    switch (macro.playType) {
        case 1:
            Check(m_owner, kPlayMode1Radio);
            break;
        case 2:
            Check(m_owner, kPlayMode2Radio);
            break;
        case 0:
            Check(m_owner, kPlayTimesRadio);
            SetText(m_owner, kPlayTimesField, std::to_string(macro.playTimes));
            SetEnabled(m_owner, kPlayTimesField, true);
            break;
        default:
            break;
    }
    std::vector<MacroRecordRow> records;
    m_context.store->ListMacroRecords(macroId, records);
    for (const MacroRecordRow& record : records) {
        DUI::RecordEntry entry{record.desc, record.type, record.value,
                               static_cast<unsigned>(record.delayTime)};
        entry.text = ShownText(entry);
        m_events->AddEntry(entry);
    }
}

void MacroPage::ClampField(int fieldId) {
    auto* field = ControlOf<DUI::MEdit>(m_owner, fieldId);
    if (field == nullptr || field->GetTitle().empty()) return;
    int highest = kMaxDelay;
    int lowest = kMinDelay;
    if (fieldId == kPlayTimesField) {
        const int model = m_context.deviceState ? m_context.deviceState().selectedModel : 0;
        lowest = 1;
        highest = MaxPlayTimes(model);
    }
    const int value = field->GetInt();
    const int clamped = ClampToRange(value, lowest, highest);
    if (clamped != value) field->SetInt(clamped);
}

void MacroPage::SaveMacroSettings(int changedId) {
    auto* delayField = ControlOf<DUI::MEdit>(m_owner, kFixedDelayField);
    auto* timesField = ControlOf<DUI::MEdit>(m_owner, kPlayTimesField);
    if (delayField == nullptr || timesField == nullptr) return;
    if (changedId == kFixedDelayRadio) {
        delayField->SetInt(kDefaultFixedDelay);
        delayField->SetEnabled(true);
    } else if (changedId == kNoDelayRadio || changedId == kRealDelayRadio) {
        delayField->SetEnabled(false);
    } else if (changedId == kPlayTimesRadio) {
        timesField->SetInt(kDefaultPlayTimes);
        timesField->SetEnabled(true);
    } else if (changedId == kPlayMode1Radio || changedId == kPlayMode2Radio) {
        timesField->SetEnabled(false);
    }

    MacroRow macro;
    const int macroId = SelectedMacroId();
    if (m_context.store == nullptr || macroId <= 0 || !m_context.store->GetMacro(macroId, macro))
        return;
    macro.delayType = IsChecked(m_owner, kFixedDelayRadio)  ? 2
                      : IsChecked(m_owner, kRealDelayRadio) ? 1
                                                            : 0;
    if (macro.delayType == 2) {
        if (delayField->GetTitle().empty()) delayField->SetInt(kDefaultFixedDelay);
        macro.delayTime = delayField->GetInt();
    } else {
        macro.delayTime = 0;
    }
    macro.playType = IsChecked(m_owner, kPlayMode1Radio)   ? 1
                     : IsChecked(m_owner, kPlayMode2Radio) ? 2
                                                           : 0;
    if (macro.playType == 0) {
        if (timesField->GetTitle().empty()) timesField->SetInt(kDefaultPlayTimes);
        macro.playTimes = timesField->GetInt();
    } else {
        macro.playTimes = kDefaultPlayTimes;
    }
    m_context.store->UpdateMacro(macro);
}

// ---- Event list ----

void MacroPage::SaveMacroEvents() {
    const int macroId = SelectedMacroId();
    if (m_context.store == nullptr || m_events == nullptr || macroId <= 0) return;
    std::vector<MacroRecordRow> rows;
    for (int i = 0; i < m_events->GetCount(); ++i) {
        const DUI::RecordEntry entry = m_events->GetEntry(i);
        MacroRecordRow row;
        row.macroId = macroId;
        row.type = entry.type;
        row.recordIndex = i;
        row.desc = StoredText(entry);
        row.value = entry.value;
        row.delayTime = static_cast<int>(entry.stamp);
        rows.push_back(std::move(row));
    }
    // Old and new events are swapped in one transaction; when the store refuses, the list
    // goes back to what it still holds (the store's failure listener tells the user).
    if (!m_context.store->ReplaceMacroRecords(macroId, rows)) ShowMacro(macroId);
}

void MacroPage::ShowInsertMenu() {
    if (m_events == nullptr || SelectedMacroId() <= 0) return;
    if (m_events->GetCount() > kMaxMacroEntries - 1) {
        if (m_context.messageBox) {
            m_context.messageBox(kMessageOk, GetLanText(text::kInsertEventTitle),
                                 GetLanText(text::kEventLimit));
        }
        return;
    }
    const std::vector<std::pair<int, std::string>> items = {
        {105, GetLanText(text::kInsertLeftClick)},  {106, GetLanText(text::kInsertMiddleClick)},
        {107, GetLanText(text::kInsertRightClick)}, {101, GetLanText(text::kInsertKeyPress)},
        {103, GetLanText(text::kInsertDelay)},
    };
    DUI::MenuWnd::Popup(m_owner, kInsertMenuMessage, items, MenuPoint(0, 0));
}

void MacroPage::InsertEntries(const std::vector<DUI::RecordEntry>& entries, int position) {
    for (const DUI::RecordEntry& entry : entries) m_events->InsertEntry(position++, entry);
    m_events->EnsureVisible(position - 1);
}

void MacroPage::OnInsertMenu(int command) {
    if (m_events == nullptr || SelectedMacroId() <= 0) return;
    // The menu was opened below the limit; a second menu cannot push the list past it.
    if (m_events->GetCount() > kMaxMacroEntries - 1) return;
    const unsigned tick = m_ticks();
    const int selected = m_events->GetCurSel();
    const int afterSelected = selected >= 0 ? selected + 1 : m_events->GetCount();
    switch (command) {
        case 105:
            InsertEntries(InsertedClick(kButtonLeft, tick), afterSelected);
            break;
        case 106:
            InsertEntries(InsertedClick(kButtonMiddle, tick), afterSelected);
            break;
        case 107:
            InsertEntries(InsertedClick(kButtonRight, tick), afterSelected);
            break;
        case 101: {
            const RecordEditDlg::Result key =
                m_keyPrompt ? m_keyPrompt() : RecordEditDlg::Ask(m_owner);
            if (key.vk == 0) return;
            InsertEntries(InsertedKeyPress(key.vk, key.name, tick), afterSelected);
            break;
        }
        case 103:
            // A delay goes before the selected entry.
            InsertEntries({DelayEntry(kInsertedDelay, tick)},
                          selected >= 0 ? selected : m_events->GetCount());
            break;
        default:
            return;
    }
    HideEventEditor();
    SaveMacroEvents();
}

void MacroPage::ShowEventListMenu(int index) {
    if (index < 0) return;
    const std::vector<std::pair<int, std::string>> items = {
        {100, GetLanText(text::kMoveToTop)},
        {101, GetLanText(text::kMoveUp)},
        {102, GetLanText(text::kMoveDown)},
        {103, GetLanText(text::kMoveToBottom)},
    };
    DUI::MenuWnd::Popup(m_owner, kEventListMenuMessage, items, MenuPoint(-125, 2));
}

void MacroPage::OnEventListMenu(int command) { MoveSelectedEntry(command); }

void MacroPage::MoveSelectedEntry(int command) {
    if (m_events == nullptr) return;
    const int selected = m_events->GetCurSel();
    const int last = m_events->GetCount() - 1;
    if (selected < 0) return;
    bool moved = false;
    switch (command) {
        case 100:
            moved = selected > 0 && m_events->MoveEntry(selected, 0);
            break;
        case 101:
            moved = selected > 0 && m_events->SwapEntries(selected, selected - 1);
            break;
        case 102:
            moved = selected < last && m_events->SwapEntries(selected, selected + 1);
            break;
        case 103:
            moved = selected < last && m_events->MoveEntry(selected, last);
            break;
        default:
            break;
    }
    if (!moved) return;
    if (m_editIndex >= 0) m_editIndex = m_events->GetCurSel();
    m_events->EnsureVisible(m_events->GetCurSel());
    SaveMacroEvents();
}

void MacroPage::DeleteSelectedEntry() {
    if (m_events == nullptr || m_events->GetCurSel() < 0) return;
    m_events->DeleteEntry(m_events->GetCurSel());
    HideEventEditor();
    SaveMacroEvents();
}

void MacroPage::DeleteAllEntries() {
    if (m_events == nullptr) return;
    m_events->DeleteAllEntries();
    HideEventEditor();
    SaveMacroEvents();
}

// ---- Event editor ----

int MacroPage::EditKind() const {
    auto* kind = ControlOf<DUI::MComboBox>(m_owner, kEditKindBox);
    return kind != nullptr ? kind->GetCurData() : 0;
}

void MacroPage::HideEventEditor() {
    for (int id : {kEditorTitle, kEditKindBox, kEditValueField, kEditMouseBox})
        SetVisible(m_owner, id, false);
    m_editIndex = -1;
    m_capture = CaptureMode::None;
}

void MacroPage::OpenEventEditor(int index) {
    if (m_events == nullptr || index < 0 || index >= m_events->GetCount()) return;
    const DUI::RecordEntry entry = m_events->GetEntry(index);
    auto* kind = ControlOf<DUI::MComboBox>(m_owner, kEditKindBox);
    auto* value = ControlOf<DUI::MEdit>(m_owner, kEditValueField);
    auto* mouse = ControlOf<DUI::MComboBox>(m_owner, kEditMouseBox);
    if (kind == nullptr || value == nullptr || mouse == nullptr) return;
    m_editIndex = index;
    m_capture = CaptureMode::None;
    SetVisible(m_owner, kEditorTitle, true);
    kind->SetVisible(true);
    value->SetVisible(true);
    mouse->SetVisible(false);
    kind->DeleteAllItems();
    switch (entry.type) {
        case kEntryDelay:
            kind->AddItem(GetLanText(text::kEventDelay), kEditDelay);
            value->SetReadOnly(false);
            value->SetNumber(true);
            value->SetLimitText(5);
            value->SetTip("");
            value->SetInt(entry.value);
            break;
        case kEntryKeyDown:
        case kEntryKeyUp:
            kind->AddItem(GetLanText(text::kEventKey), kEditKey);
            value->SetNumber(false);
            value->SetLimitText(0);
            value->SetReadOnly(true);
            value->SetTip(GetLanText(text::kPressKeyTip));
            value->SetTitle(NameOfPressText(entry.text));
            break;
        default:
            kind->AddItem(GetLanText(text::kEventMouse), kEditMouse);
            value->SetVisible(false);
            mouse->SetVisible(true);
            mouse->SelectData(MouseButtonItemOfBits(entry.value));
            break;
    }
    kind->SetCurSel(0);
}

void MacroPage::EventValueFocus(bool gained) {
    auto* value = ControlOf<DUI::MEdit>(m_owner, kEditValueField);
    if (value == nullptr || m_events == nullptr || m_editIndex < 0 ||
        m_editIndex >= m_events->GetCount())
        return;
    const int kind = EditKind();
    if (kind == kEditKey) {
        if (gained) {
            value->SetTitle("");
            m_capturedVk = 0;
            m_capturedName.clear();
            m_capture = CaptureMode::EventKey;
            return;
        }
        m_capture = CaptureMode::None;
        if (m_capturedVk == 0) {
            value->SetTitle(NameOfPressText(m_events->GetEntry(m_editIndex).text));
            return;
        }
        m_events->UpdatePress(m_editIndex, m_capturedName, m_capturedVk);
        m_capturedVk = 0;
        SaveMacroEvents();
    } else if (kind == kEditDelay && !gained) {
        const int typed = value->GetInt();
        const int delay = ClampToRange(typed, kMinDelay, kMaxDelay);
        if (delay != typed || value->GetTitle().empty()) value->SetInt(delay);
        DUI::RecordEntry entry = m_events->GetEntry(m_editIndex);
        entry.value = delay;
        entry.text = DelayLabel(delay);
        m_events->SetEntry(m_editIndex, entry);
        SaveMacroEvents();
    }
}

void MacroPage::EventMouseChosen() {
    auto* mouse = ControlOf<DUI::MComboBox>(m_owner, kEditMouseBox);
    if (mouse == nullptr || m_events == nullptr || m_editIndex < 0 ||
        m_editIndex >= m_events->GetCount())
        return;
    const int bits = MouseButtonBitsOfItem(mouse->GetCurData());
    if (bits == 0) return;
    m_events->UpdatePress(m_editIndex, MouseButtonLabel(bits), bits);
    SaveMacroEvents();
}

// ---- Recorder ----

void MacroPage::ToggleRecording() {
    if (m_recorder.IsRecording()) {
        StopMacroRecording();
    } else {
        StartRecording();
    }
}

void MacroPage::StartRecording() {
    if (m_events == nullptr) return;
    if (SelectedMacroId() <= 0) {
        if (m_context.messageBox) {
            m_context.messageBox(kMessageOk, GetLanText(text::kStartRecording),
                                 GetLanText(text::kSelectMacroFirst));
        }
        return;
    }
    HideEventEditor();
    int delayMode = 0;
    int fixedDelay = 0;
    if (IsChecked(m_owner, kRealDelayRadio)) {
        delayMode = 1;
    } else if (IsChecked(m_owner, kFixedDelayRadio)) {
        delayMode = 2;
        auto* field = ControlOf<DUI::MEdit>(m_owner, kFixedDelayField);
        if (field != nullptr && field->GetTitle().empty()) field->SetInt(kDefaultFixedDelay);
        fixedDelay = field != nullptr ? field->GetInt() : kDefaultFixedDelay;
    }
    m_recorder.Start(delayMode, fixedDelay);
    m_capture = CaptureMode::Recording;
    if (auto* record = ControlOf<DUI::CIconButton>(m_owner, kRecordButton)) {
        record->SetTitle(GetLanText(text::kStopRecording));
        record->SetIcon(kStopIcon);
        record->SetActive(true);
    }
    EnableControls(false);
}

void MacroPage::StopMacroRecording() {
    if (!m_recorder.IsRecording() || m_events == nullptr) return;
    ListTarget target(*m_events);
    m_recorder.Stop(target);
    FinishRecording();
}

void MacroPage::FinishRecording() {
    m_capture = CaptureMode::None;
    if (auto* record = ControlOf<DUI::CIconButton>(m_owner, kRecordButton)) {
        record->SetTitle(GetLanText(text::kStartRecording));
        record->SetIcon(kRecordIcon);
        record->SetActive(false);
    }
    SaveMacroEvents();
    EnableControls(true);
}

void MacroPage::EnableControls(bool enabled) {
    for (int id : kRecordingLocked) SetEnabled(m_owner, id, enabled);
    if (enabled) {
        // The two fields are only open with their radio.
        SetEnabled(m_owner, kFixedDelayField, IsChecked(m_owner, kFixedDelayRadio));
        SetEnabled(m_owner, kPlayTimesField, IsChecked(m_owner, kPlayTimesRadio));
    }
}

}  // namespace kestrix
