// SPDX-License-Identifier: MIT
#include "editors/DeviceSettingsPage.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "editors/PerfLayout.h"
#include "platform/DesktopLauncher.h"
#include "platform/LanguageTexts.h"
#include "platform/PointerSystem.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/CArea.h"
#include "ui/CCheckButton.h"
#include "ui/CRadioButton.h"
#include "ui/LightSlider.h"
#include "ui/MButton.h"
#include "ui/MComboBox.h"
#include "ui/MDialog.h"
#include "ui/MText.h"
#include "ui/NumberEdit.h"
#include "ui/UiThread.h"

namespace kestrix {
namespace {

using perf_layout::kPad;

// Ids of the page's own panels and labels.
constexpr int kDevicePanelId = 3200;
constexpr int kPointerPanelId = 3201;
constexpr int kLiftOffLabelId = 3202;
constexpr int kSensorHeadingId = 3203;
constexpr int kButtonResponseLabelId = 3204;
constexpr int kPowerHeadingId = 3205;
constexpr int kSleepLabelId = 3206;
constexpr int kPointerHeadingId = 3210;
constexpr int kSpeedLabelId = 3211;
constexpr int kSpeedValueId = 3212;
constexpr int kSpeedSlowId = 3213;
constexpr int kSpeedFastId = 3214;
constexpr int kWheelHeadingId = 3215;
constexpr int kDoubleClickLabelId = 3216;
constexpr int kDoubleClickValueId = 3217;
constexpr int kDoubleClickSlowId = 3218;
constexpr int kDoubleClickFastId = 3219;

constexpr const char* kLiftOffGroup = "IDC_PER_STC_LOD";
constexpr const char* kScrollGroup = "IDC_PTR_STC_SCROLL";
// Sleep delays: the stored value and the number of minutes shown ("5 min" = 30).
constexpr struct {
    int minutes;
    int value;
} kSleepItems[] = {{1, 6}, {2, 12}, {5, 30}, {10, 60}, {20, 120}, {30, 180}};
constexpr int kButtonResponseMin = 4;
constexpr int kButtonResponseMax = 20;
constexpr int kWheelLinesMin = 1;
constexpr int kWheelLinesMax = 20;
constexpr int kDefaultWheelLines = 3;
constexpr int kSpeedPositions = 19;        // positions 0..19 = speed 1..20
constexpr int kDoubleClickPositions = 10;  // positions 0..10 = 900..200 ms

DUI::CRadioButton* Radio(DUI::MDialog& owner, int id, const char* group, DUI::MControl* parent) {
    auto* radio = owner.CreateControlAs<DUI::CRadioButton>("CRadioButton", id, {}, "", parent);
    if (radio != nullptr) radio->SetGroupName(group);
    return radio;
}

}  // namespace

DeviceSettingsPage::DeviceSettingsPage(EditorContext& context, DesktopLauncher* launcher)
    : m_context(context), m_launcher(launcher) {
    if (m_launcher == nullptr) {
        m_ownLauncher = std::make_unique<LinuxDesktopLauncher>();
        m_launcher = m_ownLauncher.get();
    }
    // The desktop's pointer settings arrive after the window is up (they are read off the UI
    // thread) and change when another program changes them: show them then.
    if (m_context.pointer != nullptr) {
        std::weak_ptr<bool> alive = m_alive;
        m_context.pointer->SetChangeListener([this, alive] {
            DUI::PostToUiThread([this, alive] {
                if (alive.expired() || !*alive.lock()) return;
                RefreshPointerControls();
            });
        });
    }
}

DeviceSettingsPage::~DeviceSettingsPage() {
    *m_alive = false;
    if (m_context.pointer != nullptr) m_context.pointer->SetChangeListener({});
}

int DeviceSettingsPage::DoubleClickTimeOf(int position) {
    if (position >= 0 && position <= kDoubleClickPositions) return 900 - 70 * position;
    return position;
}

void DeviceSettingsPage::Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) {
    m_owner = &owner;
    m_devicePanel = owner.CreateArea(kDevicePanelId, {}, panel);
    m_pointerPanel = owner.CreateArea(kPointerPanelId, {}, panel);

    // Mouse: lift-off, sensor options, button response, power saving.
    perf_layout::Heading(owner, kLiftOffLabelId, m_devicePanel);
    Radio(owner, kLiftOff1Id, kLiftOffGroup, m_devicePanel);
    Radio(owner, kLiftOff2Id, kLiftOffGroup, m_devicePanel);
    perf_layout::Heading(owner, kSensorHeadingId, m_devicePanel);
    for (int id : {kSensorBit4Id, kSensorBit8Id, kSensorBit16Id}) {
        owner.CreateControl("CCheckButton", id, {}, "", m_devicePanel);
    }
    perf_layout::Label(owner, kButtonResponseLabelId, m_devicePanel);
    if (auto* edit = owner.CreateControlAs<DUI::NumberEdit>("NumberEdit", kButtonResponseId, {}, "",
                                                            m_devicePanel)) {
        edit->SetRange(kButtonResponseMin, kButtonResponseMax);
        edit->SetLimitText(2);
        edit->SetAlignment(DUI::kAlignCenter);
    }
    perf_layout::Heading(owner, kPowerHeadingId, m_devicePanel);
    perf_layout::Label(owner, kSleepLabelId, m_devicePanel);
    owner.CreateControl("MComboBox", kSleepId, {}, "", m_devicePanel);
    owner.CreateControl("CCheckButton", kMoveWakeupId, {}, "", m_devicePanel);
    owner.CreateControl("CCheckButton", kMoveCloseLightId, {}, "", m_devicePanel);

    // Desktop pointer: speed, precision, wheel, double-click, the desktop's own settings.
    perf_layout::Heading(owner, kPointerHeadingId, m_pointerPanel);
    perf_layout::Label(owner, kSpeedLabelId, m_pointerPanel);
    perf_layout::Note(owner, kSpeedValueId, m_pointerPanel, DUI::kAlignRight);
    if (auto* speed = owner.CreateControlAs<DUI::LightSlider>("LightSlider", kPointerSpeedId, {},
                                                              "", m_pointerPanel)) {
        speed->SetImage("img_slider_bar.png");
        speed->SetRange(0, kSpeedPositions);
    }
    perf_layout::Note(owner, kSpeedSlowId, m_pointerPanel, DUI::kAlignLeft);
    perf_layout::Note(owner, kSpeedFastId, m_pointerPanel, DUI::kAlignRight);
    owner.CreateControl("CCheckButton", kPrecisionId, {}, "", m_pointerPanel);
    perf_layout::Heading(owner, kWheelHeadingId, m_pointerPanel);
    Radio(owner, kScrollScreenId, kScrollGroup, m_pointerPanel);
    Radio(owner, kScrollLinesId, kScrollGroup, m_pointerPanel);
    if (auto* wheel = owner.CreateControlAs<DUI::LightSlider>("LightSlider", kWheelSliderId, {}, "",
                                                              m_pointerPanel)) {
        wheel->SetImage("img_slider_bar.png");
        wheel->SetRange(kWheelLinesMin, kWheelLinesMax);
    }
    if (auto* lines = owner.CreateControlAs<DUI::NumberEdit>("NumberEdit", kWheelLinesId, {}, "",
                                                             m_pointerPanel)) {
        lines->SetRange(kWheelLinesMin, kWheelLinesMax);
        lines->SetLimitText(3);
        lines->SetAlignment(DUI::kAlignCenter);
    }
    perf_layout::Label(owner, kDoubleClickLabelId, m_pointerPanel);
    perf_layout::Note(owner, kDoubleClickValueId, m_pointerPanel, DUI::kAlignRight);
    if (auto* click = owner.CreateControlAs<DUI::LightSlider>("LightSlider", kDoubleClickId, {}, "",
                                                              m_pointerPanel)) {
        click->SetImage("img_slider_bar.png");
        click->SetRange(0, kDoubleClickPositions);
    }
    perf_layout::Note(owner, kDoubleClickSlowId, m_pointerPanel, DUI::kAlignLeft);
    perf_layout::Note(owner, kDoubleClickFastId, m_pointerPanel, DUI::kAlignRight);
    owner.CreateControl("MButton", kMouseSettingsId, {}, "", m_pointerPanel);

    ApplyTexts();
    m_rect = rect;
    ApplyModelGroups();
    RefreshPointerControls();
}

void DeviceSettingsPage::Layout(const DUI::Rect& rect) {
    m_rect = rect;
    if (m_owner == nullptr) return;
    DUI::MDialog& owner = *m_owner;
    const double scale = perf_layout::Scale(rect);
    auto s = [scale](int v) { return perf_layout::S(v, scale); };
    auto place = [&owner](int id, const DUI::Rect& r) { perf_layout::Place(owner, id, r); };

    const int half = (rect.Width() - s(perf_layout::kGap)) / 2;
    if (m_devicePanel != nullptr)
        m_devicePanel->SetRect({rect.left, rect.top, rect.left + half, rect.bottom});
    if (m_pointerPanel != nullptr)
        m_pointerPanel->SetRect({rect.right - half, rect.top, rect.right, rect.bottom});

    // Mouse panel, top to bottom; hidden groups give their room to the next.
    const int pad = s(kPad);
    const int right = half - pad;
    const int row = s(32);
    int y = s(20);
    const bool liftOff = m_context.definition == nullptr || m_context.definition->showLod;
    const bool sensor = m_context.definition == nullptr || m_context.definition->showSensor;
    if (liftOff) {
        place(kLiftOffLabelId, {pad, y, right, y + row});
        y += row + s(8);
        place(kLiftOff1Id, {pad, y, pad + s(130), y + row});
        place(kLiftOff2Id, {pad + s(150), y, pad + s(280), y + row});
        y += row + s(24);
    }
    if (sensor) {
        place(kSensorHeadingId, {pad, y, right, y + row});
        y += row + s(8);
        for (int id : {kSensorBit4Id, kSensorBit8Id, kSensorBit16Id}) {
            place(id, {pad, y, right, y + row});
            y += row + s(4);
        }
        y += s(20);
    }
    place(kButtonResponseLabelId, {pad, y, right - s(128), y + s(36)});
    place(kButtonResponseId, {right - s(112), y, right, y + s(36)});
    y += s(36) + s(28);
    place(kPowerHeadingId, {pad, y, right, y + row});
    y += row + s(8);
    place(kSleepLabelId, {pad, y, right - s(168), y + s(36)});
    place(kSleepId, {right - s(152), y, right, y + s(36)});
    y += s(36) + s(12);
    place(kMoveWakeupId, {pad, y, right, y + row});
    y += row + s(4);
    place(kMoveCloseLightId, {pad, y, right, y + row});

    // Pointer panel.
    y = s(20);
    place(kPointerHeadingId, {pad, y, right, y + row});
    y += row + s(12);
    place(kSpeedLabelId, {pad, y, right - s(60), y + s(24)});
    place(kSpeedValueId, {right - s(60), y, right, y + s(24)});
    y += s(26);
    place(kPointerSpeedId, {pad - s(14), y, right + s(14), y + s(32)});
    y += s(32);
    place(kSpeedSlowId, {pad, y, pad + s(120), y + s(18)});
    place(kSpeedFastId, {right - s(120), y, right, y + s(18)});
    y += s(26);
    place(kPrecisionId, {pad, y, right, y + row});
    y += row + s(24);
    place(kWheelHeadingId, {pad, y, right, y + row});
    y += row + s(8);
    place(kScrollScreenId, {pad, y, pad + s(200), y + row});
    place(kScrollLinesId, {pad + s(210), y, right, y + row});
    y += row + s(8);
    place(kWheelSliderId, {pad - s(14), y, right - s(96), y + s(36)});
    place(kWheelLinesId, {right - s(80), y, right, y + s(36)});
    y += s(36) + s(24);
    place(kDoubleClickLabelId, {pad, y, right - s(90), y + s(24)});
    place(kDoubleClickValueId, {right - s(90), y, right, y + s(24)});
    y += s(26);
    place(kDoubleClickId, {pad - s(14), y, right + s(14), y + s(32)});
    y += s(32);
    place(kDoubleClickSlowId, {pad, y, pad + s(120), y + s(18)});
    place(kDoubleClickFastId, {right - s(120), y, right, y + s(18)});
    const int bottom = rect.Height() - pad;
    place(kMouseSettingsId, {pad, bottom - s(40), right, bottom});
}

void DeviceSettingsPage::ApplyTexts() {
    if (m_owner == nullptr) return;
    DUI::MDialog& owner = *m_owner;
    const struct {
        int id;
        int textId;
    } texts[] = {
        {kLiftOffLabelId, text::kLiftOffDistance},
        {kSensorHeadingId, text::kSensorSettings},
        {kSensorBit4Id, text::kAngleSnapping},
        {kSensorBit8Id, text::kRippleControl},
        {kSensorBit16Id, text::kMotionSync},
        {kButtonResponseLabelId, text::kButtonResponseTime},
        {kPowerHeadingId, text::kPowerSaving},
        {kSleepLabelId, text::kSleepTime},
        {kMoveWakeupId, text::kWakeOnMovement},
        {kMoveCloseLightId, text::kLightsOffWhileMoving},
        {kPointerHeadingId, text::kPointerSettings},
        {kSpeedLabelId, text::kPointerSpeed},
        {kPrecisionId, text::kEnhancePointerPrecision},
        {kWheelHeadingId, text::kScrollWheel},
        {kScrollScreenId, text::kScrollOneScreen},
        {kScrollLinesId, text::kScrollLines},
        {kDoubleClickLabelId, text::kDoubleClickSpeed},
        {kMouseSettingsId, text::kSystemMouseSettings},
        {kSpeedSlowId, text::kSlow},
        {kSpeedFastId, text::kFast},
        {kDoubleClickSlowId, text::kSlow},
        {kDoubleClickFastId, text::kFast},
    };
    for (const auto& entry : texts)
        perf_layout::SetTitle(owner, entry.id, GetLanText(entry.textId));
    const std::string millimetres = GetLanText(text::kUnitMm);
    perf_layout::SetTitle(owner, kLiftOff1Id, Format("1.0 %s", millimetres.c_str()));
    perf_layout::SetTitle(owner, kLiftOff2Id, Format("2.0 %s", millimetres.c_str()));
    if (auto* sleep = owner.GetControlAs<DUI::MComboBox>(kSleepId)) {
        const int selected = sleep->GetCurSel();
        sleep->DeleteAllItems();
        const std::string unit = GetLanText(text::kMinutes);
        for (const auto& item : kSleepItems)
            sleep->AddItem(Format("%d %s", item.minutes, unit.c_str()), item.value);
        sleep->SetCurSel(selected);
    }
}

bool DeviceSettingsPage::OnMessage(int id, int code, std::intptr_t /*param*/) {
    const bool click = code == DUI::kNotifyClick;
    switch (id) {
        case kLiftOff1Id:
        case kLiftOff2Id:
            if (click) OnLiftOff();
            return true;
        case kSensorBit4Id:
        case kSensorBit8Id:
        case kSensorBit16Id:
            if (click) OnSensorBox();
            return true;
        case kButtonResponseId:
            OnButtonResponse(code);
            return true;
        case kSleepId:
            if (click) OnSleep();
            return true;
        case kMoveWakeupId:
        case kMoveCloseLightId:
            if (click) OnMotionBox(id);
            return true;
        case kMouseSettingsId:
            if (click && !m_launcher->OpenMouseSettings())
                LogLine("the desktop's mouse settings could not be opened");
            return true;
        case kPointerSpeedId:
            OnPointerSpeed(code);
            return true;
        case kPrecisionId:
            if (click) OnPrecision();
            return true;
        case kWheelSliderId:
            OnWheelSlider(code);
            return true;
        case kWheelLinesId:
            OnWheelLines(code);
            return true;
        case kScrollScreenId:
        case kScrollLinesId:
            if (click) OnScrollMode();
            return true;
        case kDoubleClickId:
            OnDoubleClick(code);
            return true;
        default:
            return false;
    }
}

void DeviceSettingsPage::Refresh() {
    if (m_owner == nullptr) return;
    DUI::MDialog& owner = *m_owner;
    perf_layout::SetTitle(owner, kButtonResponseId, GetText("button_respondtime"));

    const int flags = GetInt("sensor_flag");
    SetChecked(kSensorBit4Id, (flags & 4) != 0);
    SetChecked(kSensorBit8Id, (flags & 8) != 0);
    SetChecked(kSensorBit16Id, (flags & 16) != 0);

    // Anything but exactly "2" shows as 1.0 mm.
    const bool twoMillimetres = GetText("liftoff_height") == "2";
    SetChecked(twoMillimetres ? kLiftOff2Id : kLiftOff1Id, true);

    // A stored value that is no item (the default "1") selects nothing.
    if (auto* sleep = owner.GetControlAs<DUI::MComboBox>(kSleepId))
        sleep->SelectData(GetInt("sleep_light"));
    SetChecked(kMoveWakeupId, GetInt("move_wakeup") == 1);
    SetChecked(kMoveCloseLightId, GetInt("move_closelight") == 1);

    ApplyModelGroups();
    RefreshPointerControls();
}

void DeviceSettingsPage::ApplyModelGroups() {
    if (m_owner == nullptr) return;
    const bool liftOff = m_context.definition == nullptr || m_context.definition->showLod;
    const bool sensor = m_context.definition == nullptr || m_context.definition->showSensor;
    for (int id : {kLiftOffLabelId, kLiftOff1Id, kLiftOff2Id}) {
        if (DUI::MControl* control = m_owner->GetControl(id)) control->SetVisible(liftOff);
    }
    for (int id : {kSensorHeadingId, kSensorBit4Id, kSensorBit8Id, kSensorBit16Id}) {
        if (DUI::MControl* control = m_owner->GetControl(id)) control->SetVisible(sensor);
    }
    Layout(m_rect);
}

void DeviceSettingsPage::OnLiftOff() {
    SetText("liftoff_height", Checked(kLiftOff2Id) != 0 ? "2" : "1");
    Queue(DeviceTask::WriteLiftOffAndSensor);
}

void DeviceSettingsPage::OnSensorBox() {
    // The three boxes make the whole value: other bits of the stored flags are dropped.
    const int flags = (Checked(kSensorBit4Id) ? 4 : 0) | (Checked(kSensorBit8Id) ? 8 : 0) |
                      (Checked(kSensorBit16Id) ? 16 : 0);
    SetInt("sensor_flag", flags);
    Queue(DeviceTask::WriteLiftOffAndSensor);
}

void DeviceSettingsPage::OnButtonResponse(int code) {
    auto* edit = m_owner->GetControlAs<DUI::NumberEdit>(kButtonResponseId);
    if (edit == nullptr || (code != DUI::kNotifyEditDone && code != DUI::kNotifyClick)) return;
    // Leaving the field and committing it both keep the value within 4..20, so the mouse is
    // never sent a value the field would not show.
    const int clamped = std::clamp(edit->GetInt(), kButtonResponseMin, kButtonResponseMax);
    const std::string text = Format("%d", clamped);
    if (edit->GetTitle() != text) edit->SetTitle(text);
    SetText("button_respondtime", text);
    if (code == DUI::kNotifyClick) Queue(DeviceTask::WriteSleepOptions);
}

void DeviceSettingsPage::OnSleep() {
    auto* sleep = m_owner->GetControlAs<DUI::MComboBox>(kSleepId);
    if (sleep == nullptr || sleep->GetCurSel() < 0) return;
    SetInt("sleep_light", sleep->GetCurData());
    Queue(DeviceTask::WriteSleepOptions);
}

void DeviceSettingsPage::OnMotionBox(int id) {
    SetText(id == kMoveWakeupId ? "move_wakeup" : "move_closelight", Checked(id) != 0 ? "1" : "0");
    Queue(DeviceTask::WriteSleepOptions);
}

void DeviceSettingsPage::OnPointerSpeed(int code) {
    auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kPointerSpeedId);
    if (slider == nullptr) return;
    const int speed = slider->GetPos() + 1;
    perf_layout::SetTitle(*m_owner, kSpeedValueId, Format("%d", speed));
    SetInt("mouse_speed", speed);
    if (code == DUI::kNotifyClick) {
        m_pendingSpeed = speed;
        QueuePointerChange(PendingChange::PointerSpeed);
    }
}

void DeviceSettingsPage::OnPrecision() {
    const bool enabled = Checked(kPrecisionId) != 0;
    if (m_context.pointer != nullptr) m_context.pointer->SetEnhancedPrecision(enabled);
    SetText("mouse_sensitivity", enabled ? "1" : "0");
}

void DeviceSettingsPage::OnWheelSlider(int code) {
    auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kWheelSliderId);
    if (slider == nullptr) return;
    const int lines = slider->GetPos();
    if (auto* edit = m_owner->GetControlAs<DUI::NumberEdit>(kWheelLinesId)) edit->SetInt(lines);
    if (code != DUI::kNotifyClick) return;
    // The slider's lines are recorded as the edit's are, so the stored value is what is applied.
    SetInt("wheel_scrolllines", lines);
    m_pendingWheelLines = lines;
    QueuePointerChange(PendingChange::WheelLines);
}

void DeviceSettingsPage::OnWheelLines(int code) {
    auto* edit = m_owner->GetControlAs<DUI::NumberEdit>(kWheelLinesId);
    if (edit == nullptr) return;
    const std::string textNow = edit->GetTitle();
    // While typing only a complete number out of range is corrected (an emptied field stays
    // empty for the next digit); leaving or committing the field always leaves a valid count.
    if (code == DUI::kNotifyTextChanged && (textNow.empty() || textNow == "-")) return;
    if (code != DUI::kNotifyTextChanged && code != DUI::kNotifyEditDone &&
        code != DUI::kNotifyClick)
        return;
    const int lines = std::clamp(edit->GetInt(), kWheelLinesMin, kWheelLinesMax);
    if (textNow != Format("%d", lines)) edit->SetInt(lines);
    if (auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kWheelSliderId))
        slider->SetPos(lines);
    if (code != DUI::kNotifyClick) return;
    if (m_context.pointer != nullptr) m_context.pointer->SetWheelScrollLines(lines);
    SetInt("wheel_scrolllines", lines);
}

void DeviceSettingsPage::OnScrollMode() {
    const bool byScreen = Checked(kScrollScreenId) != 0;
    if (m_context.pointer != nullptr) {
        m_context.pointer->SetWheelScrollLines(byScreen ? kWheelPageScroll : kDefaultWheelLines);
    }
    ShowWheelMode(!byScreen, byScreen ? 0 : kDefaultWheelLines);
    SetText("wheel_scrollflag", byScreen ? "0" : "1");
    SetInt("wheel_scrolllines", byScreen ? 0 : kDefaultWheelLines);
}

void DeviceSettingsPage::OnDoubleClick(int code) {
    auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kDoubleClickId);
    if (slider == nullptr) return;
    const int milliseconds = DoubleClickTimeOf(slider->GetPos());
    perf_layout::SetTitle(*m_owner, kDoubleClickValueId, Format("%d ms", milliseconds));
    if (code != DUI::kNotifyClick) return;
    m_pendingDoubleClick = milliseconds;
    QueuePointerChange(PendingChange::DoubleClick);
    SetInt("doubleclick_time", milliseconds);
}

void DeviceSettingsPage::ApplyPendingPointerChange() {
    PointerSystem* pointer = m_context.pointer;
    if (pointer == nullptr) return;
    switch (static_cast<PendingChange>(m_pending.load())) {
        case PendingChange::PointerSpeed:
            pointer->SetPointerSpeed(m_pendingSpeed.load());
            break;
        case PendingChange::WheelLines:
            pointer->SetWheelScrollLines(m_pendingWheelLines.load());
            break;
        case PendingChange::DoubleClick: {
            pointer->SetDoubleClickTime(m_pendingDoubleClick.load());
            std::weak_ptr<bool> alive = m_alive;
            DUI::PostToUiThread([this, alive] {
                if (alive.expired() || !*alive.lock()) return;
                RefreshPointerControls();
            });
            break;
        }
        case PendingChange::None:
            break;
    }
}

void DeviceSettingsPage::Queue(DeviceTask task) {
    m_context.queueTask(task);
    if (m_context.definition != nullptr && m_context.definition->showSaveTips &&
        m_context.showSaveWait) {
        m_context.showSaveWait();
    }
}

void DeviceSettingsPage::QueuePointerChange(PendingChange change) {
    m_pending = static_cast<int>(change);
    m_context.queueTask(DeviceTask::PointerSettings);
}

void DeviceSettingsPage::RefreshPointerControls() {
    if (m_owner == nullptr) return;
    PointerSystem* pointer = m_context.pointer;
    const bool desktop = pointer != nullptr && pointer->Available();
    // The desktop's own values when it has them; otherwise what this program last recorded.
    int speed = GetInt("mouse_speed", 10);
    bool precision = GetInt("mouse_sensitivity", 1) == 1;
    int doubleClick = GetInt("doubleclick_time", 550);
    if (desktop) {
        speed = pointer->PointerSpeed().value_or(speed);
        precision = pointer->EnhancedPrecision().value_or(precision);
        doubleClick = pointer->DoubleClickTime().value_or(doubleClick);
    }
    speed = std::clamp(speed, 1, kSpeedPositions + 1);
    if (auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kPointerSpeedId))
        slider->SetPos(speed - 1);
    perf_layout::SetTitle(*m_owner, kSpeedValueId, Format("%d", speed));
    SetChecked(kPrecisionId, precision);
    ShowDoubleClickTime(doubleClick);
    const bool byLines = GetInt("wheel_scrollflag") == 1;
    ShowWheelMode(byLines, byLines ? GetInt("wheel_scrolllines", kDefaultWheelLines) : 0);
}

void DeviceSettingsPage::ShowDoubleClickTime(int milliseconds) {
    // The nearest position of the 70 ms grid; the label keeps the exact time.
    const int position = std::clamp((900 - milliseconds + 35) / 70, 0, kDoubleClickPositions);
    if (auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kDoubleClickId))
        slider->SetPos(position);
    perf_layout::SetTitle(*m_owner, kDoubleClickValueId, Format("%d ms", milliseconds));
}

void DeviceSettingsPage::ShowWheelMode(bool byLines, int lines) {
    SetChecked(byLines ? kScrollLinesId : kScrollScreenId, true);
    if (auto* edit = m_owner->GetControlAs<DUI::NumberEdit>(kWheelLinesId)) {
        edit->SetInt(lines);
        edit->SetEnabled(byLines);
    }
    if (auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kWheelSliderId)) {
        slider->SetPos(std::clamp(lines, kWheelLinesMin, kWheelLinesMax));
        slider->SetEnabled(byLines);
    }
}

int DeviceSettingsPage::GetInt(const std::string& key, int fallback) const {
    int value = fallback;
    if (!m_context.HasOpenStore() ||
        !m_context.store->GetSettingInt(m_context.store->CurrentProfile(), key, value)) {
        return fallback;
    }
    return value;
}

std::string DeviceSettingsPage::GetText(const std::string& key) const {
    std::string value;
    if (m_context.HasOpenStore())
        m_context.store->GetSetting(m_context.store->CurrentProfile(), key, value);
    return value;
}

void DeviceSettingsPage::SetInt(const std::string& key, int value) {
    if (m_context.store != nullptr)
        m_context.store->SetSettingInt(m_context.store->CurrentProfile(), key, value);
}

void DeviceSettingsPage::SetText(const std::string& key, const std::string& value) {
    if (m_context.store != nullptr)
        m_context.store->SetSetting(m_context.store->CurrentProfile(), key, value);
}

int DeviceSettingsPage::Checked(int id) const {
    if (auto* check = m_owner->GetControlAs<DUI::CCheckButton>(id)) return check->GetCheck();
    if (auto* radio = m_owner->GetControlAs<DUI::CRadioButton>(id)) return radio->GetCheck();
    return 0;
}

void DeviceSettingsPage::SetChecked(int id, bool checked) {
    if (auto* check = m_owner->GetControlAs<DUI::CCheckButton>(id))
        check->SetCheck(checked ? 1 : 0);
    else if (auto* radio = m_owner->GetControlAs<DUI::CRadioButton>(id))
        radio->SetCheck(checked ? 1 : 0);
}

}  // namespace kestrix
