// SPDX-License-Identifier: MIT
#include "editors/KeyPage.h"

#include <algorithm>

#include "base/Text.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "rules/KeyUsageTable.h"
#include "store/DataStore.h"
#include "ui/CArea.h"
#include "ui/MButton2.h"
#include "ui/MComboBox2.h"
#include "ui/MDialog.h"
#include "ui/MEdit.h"
#include "ui/MText.h"
#include "ui/MouseCtrl.h"
#include "ui/MouseKeyCtrl.h"

namespace kestrix {

namespace {

constexpr int kPicturePanel = 1111;
constexpr int kBoxLabelFirst = 1103;  // 1103..1108: labels of the six boxes
constexpr int kKeyComboLabel = 1109;
constexpr int kRepeatLabel = 1110;

constexpr int kMessageYesNo = 4;
constexpr int kAnswerNo = 2;

constexpr int kMinFirstParam = 5;
constexpr int kMaxParam = 255;
// What the repeat panel offers before the user types: the fixed rapid-fire preset.
constexpr int kDefaultFirstParam = 50;
constexpr int kDefaultSecondParam = 3;

constexpr int kHeadingColour = DUI::MakeColour(235, 235, 235);
constexpr int kSecondaryColour = DUI::MakeColour(150, 150, 150);

// The labels above the six boxes, in box order.
constexpr std::pair<int, int> kBoxLabels[] = {
    {KeyPage::kMouseBox, text::kMouseFunctions}, {KeyPage::kMultimediaBox, text::kMultimedia},
    {KeyPage::kMacroBox, text::kMacro},          {KeyPage::kShortcutBox, text::kShortcuts},
    {KeyPage::kDpiBox, text::kDpiFunctions},     {KeyPage::kDeviceBox, text::kDeviceFunctions},
};

// Where one control goes: its class, the control it is placed in (0 = the page's panel)
// and its rectangle there.
struct Placement {
    int id;
    const char* className;
    int parent;
    DUI::Rect rect;
};

// Every control of the page for a page rectangle of the given size. Left part: the mouse
// picture; right part: the button list above the function area, over which the two panels
// open. The function area holds the six boxes as labelled rows (label left, box filling the
// rest of the row) and, under them, the key-combination, repeat and fixed-function buttons.
std::vector<Placement> Placements(int width, int height) {
    constexpr int kMargin = 16;
    constexpr int kGap = 12;
    constexpr int kRowsTop = 52;
    constexpr int kRowHeight = 36;
    constexpr int kBoxHeight = 32;
    constexpr int kButtonsTop = kRowsTop + 6 * kRowHeight + 4;
    constexpr int kFunctionHeight = kButtonsTop + 56 + 12;
    const int pictureRight = width / 2;
    const int rightLeft = pictureRight + kMargin;
    const int rightWidth = width - kMargin - rightLeft;
    const int functionTop = height - kMargin - kFunctionHeight;

    std::vector<Placement> places = {
        {kPicturePanel, "CArea", 0, {kMargin, kMargin, pictureRight, height - kMargin}},
        {KeyPage::kMousePicture,
         "MouseCtrl",
         kPicturePanel,
         {8, 8, pictureRight - kMargin - 8, height - 2 * kMargin - 8}},
        {KeyPage::kButtonList,
         "MouseKeyCtrl",
         0,
         {rightLeft, kMargin, width - kMargin, functionTop - 8}},
        {KeyPage::kFunctionArea,
         "CArea",
         0,
         {rightLeft, functionTop, width - kMargin, height - kMargin}},
        {KeyPage::kSelectedTitle,
         "MText",
         KeyPage::kFunctionArea,
         {kMargin, 10, rightWidth - 260, 42}},
        {KeyPage::kResetButton,
         "CImageButton",
         KeyPage::kFunctionArea,
         {rightWidth - kMargin - 150 - 8 - 36, 8, rightWidth - kMargin - 150 - 8, 44}},
        {KeyPage::kResetAll,
         "MButton",
         KeyPage::kFunctionArea,
         {rightWidth - kMargin - 150, 8, rightWidth - kMargin, 44}},
    };

    // The six boxes, one labelled row each.
    const int labelWidth = (rightWidth - 2 * kMargin) * 36 / 100;
    int row = 0;
    for (const auto& [boxId, labelText] : kBoxLabels) {
        (void)labelText;
        const int y = kRowsTop + row * kRowHeight;
        places.push_back({kBoxLabelFirst + row,
                          "MText",
                          KeyPage::kFunctionArea,
                          {kMargin, y, kMargin + labelWidth, y + kBoxHeight}});
        places.push_back({boxId,
                          "MComboBox2",
                          KeyPage::kFunctionArea,
                          {kMargin + labelWidth + 8, y, rightWidth - kMargin, y + kBoxHeight}});
        ++row;
    }
    // The three buttons in three columns, each under its label.
    const int cellWidth = (rightWidth - 2 * kMargin - 2 * kGap) / 3;
    auto cell = [&](int index, int top, int bottom) {
        const int x = kMargin + index * (cellWidth + kGap);
        return DUI::Rect{x, kButtonsTop + top, x + cellWidth, kButtonsTop + bottom};
    };
    // A label may use the gap after its column (the third button has no label).
    DUI::Rect comboLabel = cell(0, 0, 20);
    comboLabel.right += kGap;
    DUI::Rect repeatLabel = cell(1, 0, 20);
    repeatLabel.right += kGap;
    places.push_back({kKeyComboLabel, "MText", KeyPage::kFunctionArea, comboLabel});
    places.push_back({KeyPage::kOpenKeyPanel, "MButton2", KeyPage::kFunctionArea, cell(0, 22, 56)});
    places.push_back({kRepeatLabel, "MText", KeyPage::kFunctionArea, repeatLabel});
    places.push_back(
        {KeyPage::kOpenRepeatPanel, "MButton2", KeyPage::kFunctionArea, cell(1, 22, 56)});
    places.push_back(
        {KeyPage::kFixedFunction, "MButton2", KeyPage::kFunctionArea, cell(2, 22, 56)});

    // The panels slide over the cells.
    const DUI::Rect panel{8, 48, rightWidth - 8, kFunctionHeight - 8};
    const int panelWidth = panel.Width();
    const DUI::Rect title{kMargin, 8, panelWidth - 56, 40};
    const DUI::Rect close{panelWidth - 44, 8, panelWidth - 14, 40};
    constexpr int kConfirmWidth = 120;
    const int fieldRight = panelWidth - kMargin - kConfirmWidth - kGap;
    const int confirmLeft = panelWidth - kMargin - kConfirmWidth;
    places.push_back({KeyPage::kKeyPanel, "CArea", KeyPage::kFunctionArea, panel});
    places.push_back({KeyPage::kKeyPanelTitle, "MText", KeyPage::kKeyPanel, title});
    places.push_back({KeyPage::kKeyPanelClose, "CImageButton", KeyPage::kKeyPanel, close});
    places.push_back(
        {KeyPage::kCaptureField, "MEdit", KeyPage::kKeyPanel, {kMargin, 52, fieldRight, 88}});
    places.push_back({KeyPage::kKeyConfirm,
                      "MButton",
                      KeyPage::kKeyPanel,
                      {confirmLeft, 52, panelWidth - kMargin, 88}});
    places.push_back({KeyPage::kComboPreview,
                      "MText",
                      KeyPage::kKeyPanel,
                      {kMargin, 148, panelWidth - kMargin, 176}});
    const int toggleWidth = (fieldRight - kMargin - 3 * 8) / 4;
    int toggle = 0;
    for (int id :
         {KeyPage::kCtrlToggle, KeyPage::kWinToggle, KeyPage::kAltToggle, KeyPage::kShiftToggle}) {
        const int x = kMargin + toggle * (toggleWidth + 8);
        places.push_back({id, "MButton3", KeyPage::kKeyPanel, {x, 100, x + toggleWidth, 136}});
        ++toggle;
    }

    constexpr int kLabelWidth = 140;
    places.push_back({KeyPage::kRepeatPanel, "CArea", KeyPage::kFunctionArea, panel});
    places.push_back({KeyPage::kRepeatTitle, "MText", KeyPage::kRepeatPanel, title});
    places.push_back({KeyPage::kRepeatClose, "CImageButton", KeyPage::kRepeatPanel, close});
    places.push_back({KeyPage::kFirstParamLabel,
                      "MText",
                      KeyPage::kRepeatPanel,
                      {kMargin, 52, kMargin + kLabelWidth, 88}});
    places.push_back({KeyPage::kFirstParamField,
                      "MEdit",
                      KeyPage::kRepeatPanel,
                      {kMargin + kLabelWidth + 8, 52, fieldRight, 88}});
    places.push_back({KeyPage::kSecondParamLabel,
                      "MText",
                      KeyPage::kRepeatPanel,
                      {kMargin, 100, kMargin + kLabelWidth, 136}});
    places.push_back({KeyPage::kSecondParamField,
                      "MEdit",
                      KeyPage::kRepeatPanel,
                      {kMargin + kLabelWidth + 8, 100, fieldRight, 136}});
    places.push_back({KeyPage::kRepeatConfirm,
                      "MButton",
                      KeyPage::kRepeatPanel,
                      {confirmLeft, 100, panelWidth - kMargin, 136}});
    return places;
}

template <class T>
T* ControlOf(DUI::MDialog* owner, int id) {
    return owner != nullptr ? owner->GetControlAs<T>(id) : nullptr;
}

void SetText(DUI::MDialog* owner, int id, const std::string& text) {
    if (auto* control = ControlOf<DUI::MControlFont>(owner, id)) control->SetTitle(text);
}

}  // namespace

KeyPage::KeyPage(EditorContext& context) : m_context(context) {}

KeyPage::~KeyPage() = default;

void KeyPage::Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) {
    m_owner = &owner;
    m_panel = panel;
    CreateControls(rect);
    ApplyTexts();
}

void KeyPage::CreateControls(const DUI::Rect& rect) {
    for (const Placement& place : Placements(rect.Width(), rect.Height())) {
        DUI::MControl* parent = place.parent == 0 ? m_panel : m_owner->GetControl(place.parent);
        m_owner->CreateControl(place.className, place.id, place.rect, "", parent);
    }
    m_list = ControlOf<DUI::MouseKeyCtrl>(m_owner, kButtonList);
    FitListRows();
    m_picture = ControlOf<DUI::MouseCtrl>(m_owner, kMousePicture);

    if (auto* title = ControlOf<DUI::MText>(m_owner, kSelectedTitle)) {
        title->SetFont(18);
        title->SetTextColor(kHeadingColour);
    }
    for (int id :
         {kBoxLabelFirst, kBoxLabelFirst + 1, kBoxLabelFirst + 2, kBoxLabelFirst + 3,
          kBoxLabelFirst + 4, kBoxLabelFirst + 5, kKeyComboLabel, kRepeatLabel, kComboPreview}) {
        if (auto* label = ControlOf<DUI::MText>(m_owner, id)) {
            label->SetFont(13);
            label->SetTextColor(kSecondaryColour);
        }
    }
    for (int id : {kKeyPanelTitle, kRepeatTitle}) {
        if (auto* title = ControlOf<DUI::MText>(m_owner, id)) {
            title->SetFont(18);
            title->SetTextColor(kHeadingColour);
        }
    }
    for (int id : {kKeyPanelClose, kRepeatClose}) {
        if (auto* close = m_owner->GetControl(id)) close->SetImage("sysbtn_close.png");
    }
    if (auto* reset = m_owner->GetControl(kResetButton)) reset->SetImage("btn_reset.png");
    if (auto* field = ControlOf<DUI::MEdit>(m_owner, kCaptureField)) {
        field->SetImage("img_edit.png");
        field->SetReadOnly(true);
    }
    for (int id : {kFirstParamField, kSecondParamField}) {
        if (auto* field = ControlOf<DUI::MEdit>(m_owner, id)) {
            field->SetImage("img_edit.png");
            field->SetNumber(true);
            field->SetLimitText(3);
        }
    }
    for (int id : {kKeyConfirm, kRepeatConfirm}) {
        if (auto* confirm = ControlOf<DUI::MButton>(m_owner, id)) confirm->SetPrimary(true);
    }
    HidePanels();
}

void KeyPage::Layout(const DUI::Rect& rect) {
    if (m_owner == nullptr) return;
    for (const Placement& place : Placements(rect.Width(), rect.Height())) {
        if (auto* control = m_owner->GetControl(place.id)) control->SetRect(place.rect);
    }
    FitListRows();
}

void KeyPage::FitListRows() {
    // Six buttons (the most common count) fill the list without scrolling.
    if (m_list != nullptr)
        m_list->SetItemHeight(std::clamp(m_list->GetRect().Height() / 6, 30, 44));
}

void KeyPage::ApplyTexts() {
    if (m_owner == nullptr) return;
    int index = 0;
    for (const auto& [boxId, labelText] : kBoxLabels) {
        (void)boxId;
        SetText(m_owner, kBoxLabelFirst + index, GetLanText(labelText));
        ++index;
    }
    SetText(m_owner, kKeyComboLabel, GetLanText(text::kKeyCombination));
    SetText(m_owner, kRepeatLabel, GetLanText(text::kRapidFire));
    SetText(m_owner, kOpenKeyPanel, GetLanText(text::kSetUp));
    SetText(m_owner, kOpenRepeatPanel, GetLanText(text::kSetUp));
    SetText(m_owner, kFixedFunction, GetLanText(text::kDisableButton));
    SetText(m_owner, kResetAll, GetLanText(text::kResetAll));
    if (auto* reset = m_owner->GetControl(kResetButton))
        reset->SetToolTip(GetLanText(text::kRestoreDefault));
    SetText(m_owner, kKeyPanelTitle, GetLanText(text::kKeyCombination));
    SetText(m_owner, kCtrlToggle, "Ctrl");
    SetText(m_owner, kWinToggle, "Win");
    SetText(m_owner, kAltToggle, "Alt");
    SetText(m_owner, kShiftToggle, "Shift");
    SetText(m_owner, kKeyConfirm, GetLanText(text::kOk));
    if (auto* field = ControlOf<DUI::MEdit>(m_owner, kCaptureField))
        field->SetTip(GetLanText(text::kPressKeyTip));
    SetText(m_owner, kRepeatTitle, GetLanText(text::kRapidFire));
    SetText(m_owner, kFirstParamLabel, GetLanText(text::kFireInterval));
    SetText(m_owner, kSecondParamLabel, GetLanText(text::kFireCount));
    SetText(m_owner, kRepeatConfirm, GetLanText(text::kOk));

    for (const KeyFunctionBox& box : KeyFunctionBoxes()) {
        auto* combo = ControlOf<DUI::MComboBox2>(m_owner, box.controlId);
        if (combo == nullptr || box.offered.empty()) continue;
        const int selected = combo->GetCurSel();
        combo->DeleteAllItems();
        for (const KeyFunctionItem& item : box.offered)
            combo->AddItem(KeyFunctionItemText(item), item.value);
        combo->SetCurSel(selected >= 0 ? selected : 0);
    }

    // Button names and default texts are language texts too: rebuild the list in place.
    if (!m_filledKeys.empty()) {
        const int selected = m_list != nullptr ? m_list->GetCurSel() : -1;
        m_filledKeys.clear();
        FillButtons();
        // The rebuilt list shows the defaults; the stored assignments go back over them.
        ShowButtonDescriptions();
        if (m_list != nullptr) m_list->SetCurSel(selected);
        if (m_picture != nullptr) m_picture->SetCurSel(selected);
        if (selected >= 0) SetText(m_owner, kSelectedTitle, ButtonName(selected));
        LoadMacroChoices();
        ShowAssignment();
    }
}

void KeyPage::FillButtons() {
    if (m_list == nullptr || m_picture == nullptr || m_context.definition == nullptr) return;
    const DeviceDefinition& definition = *m_context.definition;
    std::vector<int> keys;
    for (const ModelKeyEntry& key : definition.keys) keys.push_back(key.keyValue);
    if (keys == m_filledKeys && definition.mousePicture == m_filledPicture) return;

    m_list->DeleteAllItems();
    m_picture->DeleteAllKeys();
    m_picture->SetImage(definition.mousePicture);
    for (const ModelKeyEntry& key : definition.keys) {
        const std::string description = GetLanText(key.funcDesc);
        m_list->AddItem(GetLanText(key.name), description, key.keyValue);
        m_picture->AddKey(key.keyValue, description, key.direction, key.rect[0], key.rect[1],
                          key.rect[2]);
    }
    m_filledKeys = keys;
    m_filledPicture = definition.mousePicture;
}

void KeyPage::ShowButtonDescriptions() {
    if (m_context.definition != nullptr) {
        for (const ModelKeyEntry& key : m_context.definition->keys) {
            SetButtonDescription(key.keyValue, GetLanText(key.funcDesc));
        }
    }
    if (m_context.HasOpenStore()) {
        std::vector<KeyAssignmentRow> rows;
        m_context.store->ListKeyAssignments(m_context.store->CurrentProfile(), rows);
        for (const KeyAssignmentRow& row : rows)
            SetButtonDescription(row.keyCode, DisplayText(row));
    }
}

std::string KeyPage::DisplayText(const KeyAssignmentRow& row) const {
    // A macro row's description is its name as shown when it was assigned (the macro box's
    // text), in the language of that moment; converting it again would stack a second
    // conversion on the first. The macro's stored name is converted once instead.
    MacroRow macro;
    if (row.macroType == static_cast<int>(KeyFunctionType::Macro) &&
        m_context.store->GetMacro(row.macroValue, macro)) {
        return ShownMacroName(macro.name);
    }
    return AssignmentDisplayText(row);
}

void KeyPage::LoadMacroChoices() {
    if (!m_context.HasOpenStore()) return;
    std::vector<MacroRow> macros;
    m_context.store->ListMacros(macros);
    std::vector<std::pair<std::string, int>> choices;
    choices.reserve(macros.size());
    for (const MacroRow& macro : macros)
        choices.emplace_back(ShownMacroName(macro.name), macro.macroId);
    SetMacroChoices(choices);
}

void KeyPage::Refresh() {
    if (m_owner == nullptr) return;
    FillButtons();
    LoadMacroChoices();
    if (m_list != nullptr) m_list->SetCurSel(0);
    if (m_picture != nullptr) m_picture->SetCurSel(0);
    m_selectedKey = 0;
    if (m_context.updateDeviceState)
        m_context.updateDeviceState([](DeviceState& state) { state.selectedKey = 0; });
    SetText(m_owner, kSelectedTitle, ButtonName(0));

    ShowButtonDescriptions();
    ShowAssignment();
    if (auto* area = m_owner->GetControl(kFunctionArea))
        area->SetVisible(m_list != nullptr && m_list->GetCount() > 0);
}

bool KeyPage::OnMessage(int id, int code, std::intptr_t param) {
    const int index = static_cast<int>(param);
    switch (id) {
        case kButtonList:
            if (code == DUI::kNotifyClick) SelectButton(index);
            return true;
        case kMousePicture:
            if (code == DUI::kNotifyClick && m_picture != nullptr && m_list != nullptr) {
                SelectButton(m_list->FindKey(m_picture->GetKeyValue(index)));
            }
            return true;
        case kMouseBox:
        case kMultimediaBox:
        case kMacroBox:
        case kShortcutBox:
        case kDpiBox:
        case kDeviceBox:
            if (code == DUI::kNotifyClick) AssignFromBox(id);
            return true;
        case kOpenKeyPanel:
        case kOpenRepeatPanel:
            if (code == DUI::kNotifyClick)
                OpenPanel(id == kOpenKeyPanel ? kKeyPanel : kRepeatPanel);
            return true;
        case kFixedFunction:
            if (code == DUI::kNotifyClick) AssignFixedFunction();
            return true;
        case kResetButton:
            if (code == DUI::kNotifyClick) ResetSelectedButton();
            return true;
        case kResetAll:
            if (code == DUI::kNotifyClick) ResetAllButtons();
            return true;
        case kKeyPanelClose:
        case kRepeatClose:
            if (code == DUI::kNotifyClick) HidePanels();
            return true;
        case kCaptureField:
            if (code == DUI::kNotifyEditEnter) StartCapture();
            if (code == DUI::kNotifyEditDone) m_capturing = false;
            return true;
        case kKeyConfirm:
            if (code == DUI::kNotifyClick) ConfirmKeyCombination();
            return true;
        case kFirstParamField:
        case kSecondParamField:
            if (code == DUI::kNotifyEditDone) ClampRepeatField(id);
            return true;
        case kRepeatConfirm:
            if (code == DUI::kNotifyClick) ConfirmRepeat();
            return true;
        case kCtrlToggle:
        case kWinToggle:
        case kAltToggle:
        case kShiftToggle:
            if (code == DUI::kNotifyClick) ShowCombinationPreview();
            return true;
        default:
            return false;
    }
}

bool KeyPage::OnKeyEvent(const DUI::KeyEvent& key) {
    if (!m_capturing) return false;
    // Tab is a key like any other until one is chosen; then it leaves the field, so the
    // keyboard can go on to the confirm button.
    if (key.scanCode == DUI::kScanTab && m_capturedVk != 0) return false;
    const KeyEvent event = DecodeKeyEvent(key.scanCode, key.pressed);
    // Modifiers alone are never the key of a combination: the toggles choose them.
    if (event.kind != KeyEvent::kKeyboard || event.name.empty() || IsSidedModifierKey(event.vk))
        return true;
    if (VkToHidUsage(event.vk) <= 0) {
        // The mouse sends a combination as a keyboard usage; a key without one (Mute, the
        // media keys) would be dropped from the stored row while its name stayed in the text.
        m_capturedVk = 0;
        m_capturedName.clear();
        SetText(m_owner, kCaptureField, "");
        SetText(m_owner, kComboPreview, GetLanText(text::kKeyWithoutUsage));
        return true;
    }
    m_capturedVk = event.vk;
    m_capturedName = event.name;
    SetText(m_owner, kCaptureField, event.name);
    ShowCombinationPreview();
    return true;
}

void KeyPage::SetMacroChoices(const std::vector<std::pair<std::string, int>>& macros) {
    auto* box = ControlOf<DUI::MComboBox2>(m_owner, kMacroBox);
    if (box == nullptr) return;
    box->DeleteAllItems();
    for (const auto& [name, id] : macros) box->AddItem(name, id);
    box->SetCurSel(macros.empty() ? -1 : 0);
    // A selected button with a macro shows that macro again in the refilled box.
    KeyAssignmentRow row;
    if (m_context.HasOpenStore() &&
        m_context.store->GetKeyAssignment(m_context.store->CurrentProfile(), m_selectedKey, row) &&
        row.macroType == static_cast<int>(KeyFunctionType::Macro)) {
        box->SelectData(row.macroValue);
    }
}

void KeyPage::OnShow(bool shown) {
    if (!shown && m_owner != nullptr) HidePanels();
}

void KeyPage::AddMacroChoice(const std::string& name, int macroId) {
    if (auto* box = ControlOf<DUI::MComboBox2>(m_owner, kMacroBox)) box->AddItem(name, macroId);
}

void KeyPage::RemoveMacroChoice(int index) {
    if (auto* box = ControlOf<DUI::MComboBox2>(m_owner, kMacroBox)) {
        box->DeleteItem(index);
        box->SetCurSel(index - 1);
    }
}

void KeyPage::SetMacroChoiceText(int index, const std::string& name) {
    if (auto* box = ControlOf<DUI::MComboBox2>(m_owner, kMacroBox)) box->SetItemText(index, name);
}

void KeyPage::SetButtonDescription(int keyCode, const std::string& text) {
    if (m_list != nullptr) m_list->SetItemKeyDesc(keyCode, text);
    if (m_picture != nullptr) m_picture->SetKeyText(keyCode, text);
}

std::string KeyPage::ButtonDescription(int keyCode) const {
    if (m_list == nullptr) return {};
    const int index = m_list->FindKey(keyCode);
    return index >= 0 ? m_list->GetItemKeyDesc(index) : std::string();
}

std::string KeyPage::ButtonName(int index) const {
    return m_list != nullptr ? m_list->GetItemName(index) : std::string();
}

std::string KeyPage::DefaultDescription(int keyCode) const {
    if (m_context.definition == nullptr) return {};
    for (const ModelKeyEntry& key : m_context.definition->keys) {
        if (key.keyValue == keyCode) return GetLanText(key.funcDesc);
    }
    return {};
}

void KeyPage::SelectButton(int index) {
    DUI::MControl* area = m_owner->GetControl(kFunctionArea);
    if (index < 0 || m_list == nullptr) {
        if (area != nullptr) area->SetVisible(false);
        return;
    }
    m_list->SetCurSel(index);
    const int keyCode = m_list->GetItemKeyValue(index);
    if (m_picture != nullptr) m_picture->SetCurSel(m_picture->FindKey(keyCode));
    m_selectedKey = keyCode;
    if (m_context.updateDeviceState) {
        m_context.updateDeviceState([keyCode](DeviceState& state) { state.selectedKey = keyCode; });
    }
    SetText(m_owner, kSelectedTitle, ButtonName(index));
    ShowAssignment();
    if (area != nullptr) area->SetVisible(true);
}

void KeyPage::HidePanels() {
    for (auto [id, opener] :
         {std::pair{kKeyPanel, kOpenKeyPanel}, {kRepeatPanel, kOpenRepeatPanel}}) {
        auto* panel = m_owner->GetControl(id);
        if (panel == nullptr || !panel->IsVisible()) continue;
        // The keyboard goes back to the button that opened the panel.
        const bool focused = panel->HasFocus();
        panel->SetVisible(false);
        if (focused) m_owner->SetFocusControl(opener);
    }
    m_capturing = false;
}

bool KeyPage::OnEscape() {
    bool open = false;
    for (int id : {kKeyPanel, kRepeatPanel}) {
        const DUI::MControl* panel = m_owner->GetControl(id);
        open = open || (panel != nullptr && panel->IsVisible());
    }
    if (open) HidePanels();
    return open;
}

void KeyPage::ShowAssignment() {
    HidePanels();
    for (const KeyFunctionBox& box : KeyFunctionBoxes()) {
        if (auto* combo = ControlOf<DUI::MComboBox2>(m_owner, box.controlId)) combo->SetCheck(0);
    }
    // Neutral state: no box marked, each on its first item.
    for (const KeyFunctionBox& box : KeyFunctionBoxes()) {
        if (box.type == KeyFunctionType::Dpi || box.type == KeyFunctionType::Device) continue;
        if (auto* combo = ControlOf<DUI::MComboBox2>(m_owner, box.controlId)) {
            combo->SetCurSel(combo->GetCount() > 0 ? box.neutralIndex : -1);
        }
    }
    auto* fixed = ControlOf<DUI::MButton2>(m_owner, kFixedFunction);
    if (fixed != nullptr) fixed->SetCheck(0);

    // The function in force: the stored row, else the button's default function. Only its
    // category is marked; a key combination or rapid fire has no box to mark.
    KeyAssignmentRow row;
    const bool stored =
        m_context.HasOpenStore() &&
        m_context.store->GetKeyAssignment(m_context.store->CurrentProfile(), m_selectedKey, row);
    if (!stored) {
        if (m_context.definition == nullptr) return;
        const auto& keys = m_context.definition->keys;
        const auto key = std::find_if(keys.begin(), keys.end(), [this](const ModelKeyEntry& k) {
            return k.keyValue == m_selectedKey;
        });
        if (key == keys.end()) return;
        row.macroType = key->funcType;
        row.macroValue = key->funcValue;
    }
    const auto type = static_cast<KeyFunctionType>(row.macroType);
    if (type == KeyFunctionType::FixedFunction) {
        if (fixed != nullptr) fixed->SetCheck(1);
        return;
    }
    for (const KeyFunctionBox& box : KeyFunctionBoxes()) {
        if (box.type != type) continue;
        if (auto* combo = ControlOf<DUI::MComboBox2>(m_owner, box.controlId)) {
            combo->SetCheck(1);
            combo->SelectData(row.macroValue);
        }
    }
}

bool KeyPage::ConfirmAssignment() {
    if (m_selectedKey != 0 || !m_context.messageBox) return true;
    return m_context.messageBox(kMessageYesNo, GetLanText(text::kWarning),
                                GetLanText(text::kPrimaryButtonWarning)) != kAnswerNo;
}

void KeyPage::StoreAssignment(KeyFunctionType type, int value, int value2,
                              const std::string& desc) {
    if (m_context.store == nullptr) return;
    KeyAssignmentRow row;
    row.profile = m_context.store->CurrentProfile();
    row.fnLayer = 0;
    row.keyCode = m_selectedKey;
    row.macroType = static_cast<int>(type);
    row.macroValue = value;
    row.macroValue2 = value2;
    row.macroDesc = RemoveControlCharacters(desc);
    if (m_context.store->ReplaceKeyAssignment(row) > 0)
        SetButtonDescription(m_selectedKey, row.macroDesc);
}

void KeyPage::QueueWriteButtons() {
    if (m_context.queueTask) m_context.queueTask(kWriteButtonsTask);
    if (m_context.showSaveWait && m_context.definition != nullptr &&
        m_context.definition->showSaveTips) {
        m_context.showSaveWait();
    }
}

void KeyPage::AssignFromBox(int boxId) {
    const KeyFunctionBox* box = KeyFunctionBoxOf(boxId);
    auto* combo = ControlOf<DUI::MComboBox2>(m_owner, boxId);
    if (box == nullptr || combo == nullptr) return;
    if (!ConfirmAssignment()) {
        ShowAssignment();  // the box shows the declined choice: put the stored one back
        return;
    }
    HidePanels();
    StoreAssignment(box->type, combo->GetCurData(), 0, combo->GetTitle());
    if (box->type == KeyFunctionType::Macro && m_context.updateDeviceState) {
        const int keyCode = m_selectedKey;
        m_context.updateDeviceState(
            [keyCode](DeviceState& state) { state.pendingMacroKey = keyCode; });
    }
    QueueWriteButtons();
    ShowAssignment();
}

void KeyPage::StartCapture() {
    m_capturedVk = 0;
    m_capturedName.clear();
    SetText(m_owner, kCaptureField, "");
    ShowCombinationPreview();
    m_capturing = true;
}

void KeyPage::OpenPanel(int panelId) {
    if (!ConfirmAssignment()) return;
    m_capturedVk = 0;
    m_capturedName.clear();
    SetText(m_owner, kCaptureField, "");
    if (panelId == kRepeatPanel) {
        int first = kDefaultFirstParam;
        int second = kDefaultSecondParam;
        KeyAssignmentRow row;
        if (m_context.HasOpenStore() &&
            m_context.store->GetKeyAssignment(m_context.store->CurrentProfile(), m_selectedKey,
                                              row) &&
            row.macroType == static_cast<int>(KeyFunctionType::Repeat)) {
            first = row.macroValue;
            second = row.macroValue2;
        }
        SetText(m_owner, kFirstParamField, std::to_string(first));
        SetText(m_owner, kSecondParamField, std::to_string(second));
    }
    ShowCombinationPreview();
    const int other = panelId == kKeyPanel ? kRepeatPanel : kKeyPanel;
    if (auto* hidden = m_owner->GetControl(other)) hidden->SetVisible(false);
    if (auto* shown = m_owner->GetControl(panelId)) shown->SetVisible(true);
    // The panel covers the button that opened it: the keyboard moves on into the panel.
    if (DUI::MControl* opener =
            m_owner->GetControl(panelId == kKeyPanel ? kOpenKeyPanel : kOpenRepeatPanel);
        opener != nullptr && opener->HasFocus())
        m_owner->SetFocusControl(panelId == kKeyPanel ? kKeyPanelClose : kRepeatClose);
}

int KeyPage::ToggledModifiers() const {
    int bits = 0;
    for (const auto& [toggleId, bit] :
         {std::pair{kShiftToggle, kComboShift}, std::pair{kCtrlToggle, kComboCtrl},
          std::pair{kWinToggle, kComboWin}, std::pair{kAltToggle, kComboAlt}}) {
        auto* toggle = ControlOf<DUI::MButton2>(m_owner, toggleId);
        if (toggle != nullptr && toggle->GetCheck() != 0) bits |= bit;
    }
    return bits;
}

void KeyPage::ShowCombinationPreview() {
    auto* field = ControlOf<DUI::MEdit>(m_owner, kCaptureField);
    SetText(m_owner, kComboPreview,
            CombinationText(ToggledModifiers(), field != nullptr ? field->GetTitle() : ""));
}

void KeyPage::ConfirmKeyCombination() {
    if (!ConfirmAssignment()) return;
    auto* field = ControlOf<DUI::MEdit>(m_owner, kCaptureField);
    const std::string keyText = field != nullptr ? field->GetTitle() : std::string();
    const int usage = m_capturedVk != 0 ? VkToHidUsage(m_capturedVk) : 0;
    const int bits = ToggledModifiers();
    if (usage <= 0 && bits <= 0) return;
    HidePanels();
    StoreAssignment(KeyFunctionType::Keyboard, usage, bits, CombinationText(bits, keyText));
    QueueWriteButtons();
}

void KeyPage::ClampRepeatField(int fieldId) {
    auto* field = ControlOf<DUI::MEdit>(m_owner, fieldId);
    if (field == nullptr) return;
    const int lowest = fieldId == kFirstParamField ? kMinFirstParam : 0;
    const int value = field->GetInt();
    const int clamped = std::clamp(value, lowest, kMaxParam);
    if (clamped != value || field->GetTitle().empty()) field->SetInt(clamped);
}

void KeyPage::ConfirmRepeat() {
    if (!ConfirmAssignment()) return;
    ClampRepeatField(kFirstParamField);
    ClampRepeatField(kSecondParamField);
    auto* first = ControlOf<DUI::MEdit>(m_owner, kFirstParamField);
    auto* second = ControlOf<DUI::MEdit>(m_owner, kSecondParamField);
    auto* title = ControlOf<DUI::MText>(m_owner, kRepeatTitle);
    if (first == nullptr || second == nullptr) return;
    HidePanels();
    StoreAssignment(KeyFunctionType::Repeat, first->GetInt(), second->GetInt(),
                    title != nullptr ? title->GetTitle() : GetLanText(text::kRapidFire));
    QueueWriteButtons();
}

void KeyPage::AssignFixedFunction() {
    if (!ConfirmAssignment()) return;
    HidePanels();
    StoreAssignment(KeyFunctionType::FixedFunction, 1, 0, GetLanText(text::kDisableButton));
    QueueWriteButtons();
    ShowAssignment();
}

void KeyPage::ResetSelectedButton() {
    if (m_context.messageBox &&
        m_context.messageBox(kMessageYesNo, GetLanText(text::kResetButtonsTitle),
                             GetLanText(text::kResetButtonsText)) == kAnswerNo) {
        return;
    }
    // A row without values only deletes the button's row: the button returns to its default.
    StoreAssignment(KeyFunctionType::Mouse, 0, 0, "");
    SetButtonDescription(m_selectedKey, DefaultDescription(m_selectedKey));
    ShowAssignment();
    QueueWriteButtons();
}

void KeyPage::ResetAllButtons() {
    if (m_context.messageBox &&
        m_context.messageBox(kMessageYesNo, GetLanText(text::kResetButtonsTitle),
                             GetLanText(text::kResetButtonsText)) == kAnswerNo) {
        return;
    }
    if (m_list != nullptr) m_list->SetCurSel(0);
    if (m_picture != nullptr) m_picture->SetCurSel(0);
    m_selectedKey = 0;
    if (m_context.updateDeviceState)
        m_context.updateDeviceState([](DeviceState& state) { state.selectedKey = 0; });
    SetText(m_owner, kSelectedTitle, ButtonName(0));
    if (m_context.definition != nullptr) {
        for (const ModelKeyEntry& key : m_context.definition->keys) {
            SetButtonDescription(key.keyValue, GetLanText(key.funcDesc));
        }
    }
    if (m_context.store != nullptr)
        m_context.store->DeleteProfileKeyAssignments(m_context.store->CurrentProfile());
    ShowAssignment();
    QueueWriteButtons();
}

}  // namespace kestrix
