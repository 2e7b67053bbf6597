// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace DUI {

class ControlHost;
class MControl;

// What assistive technologies (AT-SPI screen readers through Qt) learn about a toolkit control:
// its name (MControl::AccessibleName), a role from its control class, its state (disabled,
// focused, checkable and checked, invisible) and its value (a slider's position, a combo box's
// or an edit's text). Sliders also offer the value interface.
class AccessibleControl final : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit AccessibleControl(ControlHost* host);

    // The role of a control class ("MButton" is a push button); Client for a class it does not
    // know.
    static QAccessible::Role RoleOfClass(const std::string& className);
    // Whether a control of that role is one the user operates (and so needs a name).
    static bool IsInteractive(QAccessible::Role role);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

  private:
    MControl* Control() const;
};

// Makes the toolkit's controls known to Qt's accessibility layer; called once the application
// object exists (again later is harmless).
void InstallAccessibility();

}  // namespace DUI
