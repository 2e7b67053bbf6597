// SPDX-License-Identifier: MIT
#include "ui/AccessibleControl.h"

#include <string_view>

#include "ui/CCheckButton.h"
#include "ui/CRadioButton.h"
#include "ui/ControlHost.h"
#include "ui/FocusOrder.h"
#include "ui/MButton2.h"
#include "ui/MComboBox.h"
#include "ui/MControl.h"
#include "ui/MControlFont.h"
#include "ui/MEdit.h"
#include "ui/SliderCtrl.h"

namespace DUI {
namespace {

struct ClassRole {
    std::string_view className;
    QAccessible::Role role;
};

constexpr ClassRole kRoles[] = {
    {"MButton", QAccessible::PushButton},
    {"MButton2", QAccessible::PushButton},
    {"MButton3", QAccessible::PushButton},
    {"CTextButton", QAccessible::PushButton},
    {"CImageButton", QAccessible::PushButton},
    {"CIconButton", QAccessible::PushButton},
    {"CHelpButton", QAccessible::PushButton},
    {"CColorButton", QAccessible::PushButton},
    {"CCheckButton", QAccessible::CheckBox},
    {"CRadioButton", QAccessible::RadioButton},
    {"MComboBox", QAccessible::ComboBox},
    {"MComboBox2", QAccessible::ComboBox},
    {"SliderCtrl", QAccessible::Slider},
    {"LightSlider", QAccessible::Slider},
    {"DPISlider", QAccessible::Slider},
    {"MEdit", QAccessible::EditableText},
    {"NumberEdit", QAccessible::EditableText},
    {"MTabCtrl", QAccessible::PageTabList},
    {"DListBox", QAccessible::List},
    {"MacroList", QAccessible::List},
    {"CRecordList", QAccessible::List},
    {"PopupList", QAccessible::List},
    {"CDeviceList", QAccessible::List},
    {"MouseKeyCtrl", QAccessible::List},
    {"DPIControl", QAccessible::List},
    {"ReporteCtrl", QAccessible::List},
    {"MouseCtrl", QAccessible::List},
    {"MPalette", QAccessible::ColorChooser},
    {"MText", QAccessible::StaticText},
    {"CDeviceState", QAccessible::StaticText},
    {"MPicture", QAccessible::Graphic},
    {"BatteryCtrl", QAccessible::ProgressBar},
    {"MProgress", QAccessible::ProgressBar},
    {"MProgress2", QAccessible::ProgressBar},
    {"CArea", QAccessible::Pane},
    {"CRoundArea", QAccessible::Pane},
};

QAccessibleInterface* MakeAccessible(const QString&, QObject* object) {
    auto* host = dynamic_cast<ControlHost*>(object);
    if (host == nullptr || host->m_control == nullptr) return nullptr;
    return new AccessibleControl(host);
}

}  // namespace

AccessibleControl::AccessibleControl(ControlHost* host)
    : QAccessibleWidget(host, RoleOfClass(host->m_control->GetClassName())) {}

QAccessible::Role AccessibleControl::RoleOfClass(const std::string& className) {
    for (const ClassRole& entry : kRoles) {
        if (entry.className == className) return entry.role;
    }
    return QAccessible::Client;
}

bool AccessibleControl::IsInteractive(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::Slider:
        case QAccessible::EditableText:
        case QAccessible::PageTabList:
        case QAccessible::List:
        case QAccessible::ColorChooser:
            return true;
        default:
            return false;
    }
}

MControl* AccessibleControl::Control() const {
    auto* host = static_cast<ControlHost*>(widget());
    return host != nullptr ? host->m_control : nullptr;
}

QString AccessibleControl::text(QAccessible::Text kind) const {
    const MControl* control = Control();
    if (control == nullptr) return {};
    switch (kind) {
        case QAccessible::Name:
            // An edit's title is its text, its value; its name is the one given or its tip.
            if (dynamic_cast<const MEdit*>(control) != nullptr)
                return QString::fromStdString(control->MControl::AccessibleName());
            return QString::fromStdString(control->AccessibleName());
        case QAccessible::Description:
            return QString::fromStdString(control->GetToolTip());
        case QAccessible::Value: {
            if (const auto* combo = dynamic_cast<const MComboBox*>(control)) {
                const int selected = combo->GetCurSel();
                return selected < 0 ? QString()
                                    : QString::fromStdString(combo->GetItemText(selected));
            }
            if (const auto* edit = dynamic_cast<const MEdit*>(control))
                return QString::fromStdString(edit->GetTitle());
            if (const auto* slider = dynamic_cast<const SliderCtrl*>(control))
                return QString::number(slider->GetValue());
            return {};
        }
        default:
            return QAccessibleWidget::text(kind);
    }
}

QAccessible::State AccessibleControl::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    const MControl* control = Control();
    if (control == nullptr) return state;
    state.disabled = !control->IsEnabled();
    // A control under a panel slid over it is out of sight, as far as the user can tell.
    if (IsCovered(widget())) state.invisible = true;
    state.focusable = control->AcceptsFocus();
    state.focused = control->HasFocus();
    const QAccessible::Role role = RoleOfClass(control->GetClassName());
    const bool checkable = role == QAccessible::CheckBox || role == QAccessible::RadioButton ||
                           dynamic_cast<const MButton2*>(control) != nullptr;
    state.checkable = checkable;
    state.checked = checkable && control->IsCheckedForPaint();
    return state;
}

void* AccessibleControl::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && dynamic_cast<SliderCtrl*>(Control()) != nullptr)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant AccessibleControl::currentValue() const {
    const auto* slider = dynamic_cast<const SliderCtrl*>(Control());
    return slider != nullptr ? QVariant(slider->GetValue()) : QVariant();
}

// Screen readers move a slider with its keys, as the user does; nothing is set from outside.
void AccessibleControl::setCurrentValue(const QVariant&) {}

QVariant AccessibleControl::maximumValue() const {
    const auto* slider = dynamic_cast<const SliderCtrl*>(Control());
    return slider != nullptr ? QVariant(slider->GetMax()) : QVariant();
}

QVariant AccessibleControl::minimumValue() const {
    const auto* slider = dynamic_cast<const SliderCtrl*>(Control());
    return slider != nullptr ? QVariant(slider->GetMin()) : QVariant();
}

QVariant AccessibleControl::minimumStepSize() const { return QVariant(1); }

void InstallAccessibility() {
    // The last factory installed is asked first: ours goes after the one QApplication installs
    // for every widget, which would otherwise answer for the controls as plain widgets.
    QAccessible::removeFactory(MakeAccessible);
    QAccessible::installFactory(MakeAccessible);
}

}  // namespace DUI
