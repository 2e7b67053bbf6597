// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editors/EditorPage.h"
#include "editors/KeyNames.h"
#include "rules/KeyCapture.h"
#include "store/StoreRows.h"

namespace DUI {
class MComboBox2;
class MouseCtrl;
class MouseKeyCtrl;
}  // namespace DUI

namespace kestrix {

// The button page: gives each physical button of the mouse a function (mouse button, key
// combination, multimedia, macro, DPI, device function, rapid fire, system shortcut or the
// fixed function of button 89). Every change is stored as the button's row of the current
// profile and then task 6 sends the whole button table to the mouse.
class KeyPage : public EditorPage {
  public:
    // Control ids of the page.
    static constexpr int kButtonList = 68;
    static constexpr int kMousePicture = 108;
    static constexpr int kMouseBox = 73;
    static constexpr int kMultimediaBox = 75;
    static constexpr int kMacroBox = 77;
    static constexpr int kShortcutBox = 79;
    static constexpr int kDpiBox = 81;
    static constexpr int kDeviceBox = 83;
    static constexpr int kOpenKeyPanel = 85;
    static constexpr int kOpenRepeatPanel = 87;
    static constexpr int kFixedFunction = 89;
    static constexpr int kResetButton = 71;
    static constexpr int kResetAll = 67;
    static constexpr int kKeyPanel = 90;
    static constexpr int kKeyPanelClose = 91;
    static constexpr int kKeyPanelTitle = 92;
    static constexpr int kCaptureField = 93;
    static constexpr int kCtrlToggle = 94;
    static constexpr int kWinToggle = 95;
    static constexpr int kAltToggle = 96;
    static constexpr int kShiftToggle = 97;
    static constexpr int kKeyConfirm = 98;
    static constexpr int kRepeatPanel = 99;
    static constexpr int kRepeatTitle = 100;
    static constexpr int kSecondParamLabel = 101;
    static constexpr int kSecondParamField = 102;
    static constexpr int kFirstParamLabel = 103;
    static constexpr int kFirstParamField = 105;
    static constexpr int kRepeatConfirm = 106;
    static constexpr int kRepeatClose = 107;
    // Page decorations without a fixed id.
    static constexpr int kSelectedTitle = 1101;
    static constexpr int kFunctionArea = 1102;
    // Under the key-combination panel's toggles: the text the combination will be stored
    // with, or why the key just pressed cannot be part of one.
    static constexpr int kComboPreview = 1112;

    // The task that sends the button table.
    static constexpr DeviceTask kWriteButtonsTask = DeviceTask::WriteButtons;

    explicit KeyPage(EditorContext& context);
    ~KeyPage() override;

    void Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) override;
    void Layout(const DUI::Rect& rect) override;
    bool OnMessage(int id, int code, std::intptr_t param) override;
    // RefreshKeyPage: fills the button list and picture from the model, shows the model's
    // default texts overwritten by the profile's rows, selects the first button.
    void Refresh() override;
    void ApplyTexts() override;
    // Takes keys while the capture field of the key-combination panel has the focus.
    bool OnKeyEvent(const DUI::KeyEvent& key) override;
    // Escape closes an open panel without storing anything.
    bool OnEscape() override;
    // Leaving the page closes its panels (and ends a key capture).
    void OnShow(bool shown) override;

    // ---- For the macro page ----
    // Replaces the items of the macro box (shown name, macro id).
    void SetMacroChoices(const std::vector<std::pair<std::string, int>>& macros);
    // Appends an item to the macro box.
    void AddMacroChoice(const std::string& name, int macroId);
    // Removes item index of the macro box and selects item index - 1 (none for the first).
    void RemoveMacroChoice(int index);
    // Replaces the text of item index of the macro box.
    void SetMacroChoiceText(int index, const std::string& name);
    // Shows text as the function of the button keyCode in the list and on the picture.
    void SetButtonDescription(int keyCode, const std::string& text);

    // ---- State for the window and tests ----
    // Button selected in the list (0 = primary button, also after a refresh).
    int SelectedKey() const { return m_selectedKey; }
    // The key captured by the key-combination panel (vk 0 = none) and whether a capture runs.
    int CapturedVk() const { return m_capturedVk; }
    bool IsCapturing() const { return m_capturing; }
    // Text the list shows for a button now.
    std::string ButtonDescription(int keyCode) const;

  private:
    void CreateControls(const DUI::Rect& rect);
    void FillButtons();
    // Each button's description in the list and the picture: its stored assignment, else its
    // default function.
    void ShowButtonDescriptions();
    // Text the list shows for a stored row (HasOpenStore).
    std::string DisplayText(const KeyAssignmentRow& row) const;
    void LoadMacroChoices();
    void SelectButton(int index);
    // ShowAssignment: hides the panels and shows the selected button's row in the boxes.
    void ShowAssignment();
    // Primary-button guard: false when the user declined changing the primary button.
    bool ConfirmAssignment();
    // Stores row for the selected button; shows its description when it was stored.
    void StoreAssignment(KeyFunctionType type, int value, int value2, const std::string& desc);
    void AssignFromBox(int boxId);
    void OpenPanel(int panelId);
    // Sets the button list's row height for its current size.
    void FitListRows();
    void HidePanels();
    void ConfirmKeyCombination();
    // Modifier bits of the checked toggles.
    int ToggledModifiers() const;
    // Shows under the toggles the text the combination would be stored with.
    void ShowCombinationPreview();
    void ConfirmRepeat();
    void AssignFixedFunction();
    void ResetSelectedButton();
    void ResetAllButtons();
    void ClampRepeatField(int fieldId);
    void QueueWriteButtons();
    std::string DefaultDescription(int keyCode) const;
    std::string ButtonName(int index) const;
    void StartCapture();

    EditorContext& m_context;
    DUI::MDialog* m_owner = nullptr;
    DUI::MControl* m_panel = nullptr;
    DUI::MouseKeyCtrl* m_list = nullptr;
    DUI::MouseCtrl* m_picture = nullptr;
    std::vector<int> m_filledKeys;  // key values the list was filled with
    std::string m_filledPicture;
    int m_selectedKey = 0;
    int m_capturedVk = 0;
    std::string m_capturedName;
    bool m_capturing = false;
};

}  // namespace kestrix
