// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editors/EditorPage.h"
#include "editors/MacroRecorder.h"
#include "editors/RecordEditDlg.h"
#include "rules/KeyCapture.h"

namespace DUI {
class CRecordList;
class MacroList;
}  // namespace DUI

namespace kestrix {

class KeyPage;

// The macro page: the library of named macros (shared by every profile), each macro's event
// list with its insert menu, event editor and moves, the delay and play options, the file
// commands of the macro list's menu, and the recorder. Every change is stored at once.
class MacroPage : public EditorPage {
  public:
    // Control ids of the page.
    static constexpr int kMacroList = 156;
    static constexpr int kNewMacro = 157;
    static constexpr int kDeleteMacro = 158;
    static constexpr int kEventList = 166;
    static constexpr int kInsertButton = 167;
    static constexpr int kDeleteEntry = 168;
    static constexpr int kDeleteAllEntries = 169;
    static constexpr int kRecordButton = 172;
    static constexpr int kNoDelayRadio = 174;
    static constexpr int kRealDelayRadio = 175;
    static constexpr int kFixedDelayRadio = 176;
    static constexpr int kFixedDelayField = 178;
    static constexpr int kPlayMode1Radio = 181;
    static constexpr int kPlayMode2Radio = 182;
    static constexpr int kPlayTimesRadio = 183;
    static constexpr int kPlayTimesField = 184;
    static constexpr int kEditKindBox = 186;
    static constexpr int kEditValueField = 187;
    static constexpr int kEditMouseBox = 188;
    static constexpr int kMoveUpButton = 190;
    static constexpr int kMoveDownButton = 191;

    // Window messages the menus of this page post to the main window, which hands the
    // chosen command to OnMacroListMenu, OnInsertMenu and OnEventListMenu.
    static constexpr unsigned kMacroListMenuMessage = 1709;
    static constexpr unsigned kInsertMenuMessage = 1710;
    static constexpr unsigned kEventListMenuMessage = 1711;

    // Asks the user for one key (the insert menu's key press); vk 0 when none.
    using KeyPrompt = std::function<RecordEditDlg::Result()>;

    explicit MacroPage(EditorContext& context);
    ~MacroPage() override;

    void Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) override;
    void Layout(const DUI::Rect& rect) override;
    bool OnMessage(int id, int code, std::intptr_t param) override;
    // Loads the macro list again (and the key page's macro box); nothing is selected after.
    void Refresh() override;
    void ApplyTexts() override;
    // Takes keys while recording and while the event editor's key field has the focus.
    bool OnKeyEvent(const DUI::KeyEvent& key) override;
    // Leaving the page stops a recording (and ends a key capture of the event editor).
    void OnShow(bool shown) override;

    // ---- For the main window ----
    // The button page whose macro box and button texts follow this page's macro list.
    void ConnectKeyPage(KeyPage* keyPage) { m_keyPage = keyPage; }
    // Stops a running recording (device removal, transient-window sweep); saves the events.
    void StopMacroRecording();
    // Command of the macro list's menu (message 1709): 101 import a macro file, 102 export
    // the selected macro, 105 import a macro-list file, 106 export every macro.
    void OnMacroListMenu(int command);
    // Command of the insert menu (message 1710): 105/106/107 left/middle/right click, 101 key
    // press (asks for the key), 103 delay.
    void OnInsertMenu(int command);
    // Command of the event list's menu (message 1711): 100 top, 101 up, 102 down, 103 bottom.
    void OnEventListMenu(int command);

    // ---- State, and seams for tests ----
    // Replaces the key prompt (RecordEditDlg by default).
    void SetKeyPrompt(KeyPrompt prompt) { m_keyPrompt = std::move(prompt); }
    // Replaces the tick source of the recorder and of the insert menu's stamps.
    void SetTickSource(MacroRecorder::TickSource ticks);
    // The selected macro's id, 0 when none.
    int SelectedMacroId() const;
    // True while recording.
    bool IsRecording() const { return m_recorder.IsRecording(); }
    // The event list's entries in order.
    std::vector<DUI::RecordEntry> Entries() const;

  private:
    class ListTarget;

    void CreateControls(const DUI::Rect& rect);
    void AddMacroToLists(const std::string& storedName, int macroId);
    void NewMacro();
    void DeleteSelectedMacro();
    void RenameMacro(int index);
    void ShowMacroListMenu();
    // ShowMacro: the macro's options and events.
    void ShowMacro(int macroId);
    void SaveMacroSettings(int changedId);
    void ClampField(int fieldId);
    // SaveMacroEvents: replaces the selected macro's stored events with the list.
    void SaveMacroEvents();
    void ShowInsertMenu();
    void ShowEventListMenu(int index);
    void InsertEntries(const std::vector<DUI::RecordEntry>& entries, int position);
    void OpenEventEditor(int index);
    void HideEventEditor();
    void EventValueFocus(bool gained);
    void EventMouseChosen();
    void MoveSelectedEntry(int command);
    void DeleteSelectedEntry();
    void DeleteAllEntries();
    void ToggleRecording();
    void StartRecording();
    void FinishRecording();
    void EnableControls(bool enabled);
    // The pointer position moved by (dx, dy): where a pop-up menu opens.
    DUI::Point MenuPoint(int dx, int dy) const;
    int EditKind() const;

    EditorContext& m_context;
    DUI::MDialog* m_owner = nullptr;
    DUI::MControl* m_panel = nullptr;
    DUI::MacroList* m_macros = nullptr;
    DUI::CRecordList* m_events = nullptr;
    KeyPage* m_keyPage = nullptr;
    MacroRecorder::TickSource m_ticks;
    MacroRecorder m_recorder;
    KeyPrompt m_keyPrompt;
    CaptureMode m_capture = CaptureMode::None;
    int m_capturedVk = 0;
    std::string m_capturedName;
    int m_editIndex = -1;
};

}  // namespace kestrix
