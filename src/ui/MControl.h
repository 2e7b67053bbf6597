// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "ui/DuiTypes.h"

class QWidget;
class QPainter;
class QMouseEvent;
class QKeyEvent;
class QWheelEvent;

namespace DUI {

class MDialog;
class ControlHost;
struct VisualState;

// Base of every control: a rectangle inside a dialog (or inside another control) with an
// id, visibility, enabled state, focus, a tool tip and an optional skin image. Created only
// by MDialog::CreateControl, owned by the dialog. UI thread only.
class MControl {
  public:
    MControl();
    virtual ~MControl();
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    // Shows or hides the control (and everything placed inside it).
    void SetVisible(bool visible);
    // The control's own visibility flag (a hidden parent is not taken into account).
    bool IsVisible() const;
    // Enables or disables input; disabled controls are drawn faded.
    void SetEnabled(bool enabled);
    // True unless SetEnabled(false).
    bool IsEnabled() const;
    // Moves and resizes the control (parent's coordinates).
    void SetRect(const Rect& rect);
    // The rectangle in the parent's coordinates.
    Rect GetRect() const;
    // Gives the control the keyboard focus.
    void OnFocus();
    // Takes the keyboard focus away (an edit then reports that it was left).
    void KillFocus();
    // True while the control (or its edit field) has the keyboard focus.
    bool HasFocus() const;
    // The id given to CreateControl.
    int GetID() const;
    // The class name it was created by ("MButton").
    const std::string& GetClassName() const;
    // The owning dialog.
    MDialog* GetOwner() const;
    // Sets the hover tip; "" removes it.
    void SetToolTip(const std::string& text);
    // The hover tip ("" when none).
    const std::string& GetToolTip() const;
    // Sets the name assistive technologies read for a control that shows no text of its own
    // (an image button); "" = its title, else its tool tip.
    void SetAccessibleName(const std::string& name);
    // The name assistive technologies read: the accessible name, else the title of a control
    // with one, else the tool tip; "" when it has none.
    virtual std::string AccessibleName() const;
    // Sets the main skin image ("img_button.png"); a missing image makes the control draw
    // itself from the theme.
    virtual void SetImage(const std::string& imageName);
    // The skin image name given to SetImage.
    const std::string& GetImage() const;
    // Repaints the control.
    void Invalidate();
    // Paints the control as hovered and/or pressed regardless of the pointer (previews and
    // the gallery).
    void SetPreviewState(bool hover, bool pressed);

  protected:
    friend class MDialog;
    friend class ControlHost;
    friend class AccessibleControl;

    // Sends (id, code, param) to the owner's OnMessage.
    void Notify(int code, std::intptr_t param = 0);
    // The control's widget (nullptr after its window was destroyed).
    QWidget* Widget() const;
    // Current look: hover, pressed, checked (from IsCheckedForPaint), disabled, focused (only
    // while the keyboard is in use: a click gives the focus without a ring).
    VisualState State() const;
    // True while the pointer is over the control (or previewed so).
    bool IsHovered() const;
    // True while the left button is held on the control (or previewed so).
    bool IsPressed() const;
    // Whether the control paints as checked (default false).
    virtual bool IsCheckedForPaint() const;

    // The widget exists; add child widgets here.
    virtual void OnCreated();
    // Paints the control into its rectangle (0, 0, width, height).
    virtual void Paint(QPainter& painter);
    // Mouse hooks; the defaults track the pressed state and call Clicked.
    virtual void MousePress(QMouseEvent& event);
    virtual void MouseMove(QMouseEvent& event);
    virtual void MouseRelease(QMouseEvent& event);
    virtual void MouseDoubleClick(QMouseEvent& event);
    virtual void Wheel(QWheelEvent& event);
    // A key while focused; true when used.
    virtual bool KeyPress(QKeyEvent& event);
    // Focus gained or lost.
    virtual void FocusChanged(bool focused);
    // Pointer entered or left.
    virtual void HoverChanged(bool hovered);
    // The size changed.
    virtual void Resized();
    // Left button pressed and released inside the enabled control.
    virtual void Clicked();
    // Whether the control takes keyboard focus by clicking and tabbing (default false).
    virtual bool AcceptsFocus() const;
    // Whether the pointer passes through to what is below (labels; default false).
    virtual bool TransparentForMouse() const;
    // The dialog's control timer ticked (SetMTimer); called only while the control animates.
    virtual void Tick();
    // Starts or ends the control's animation: the dialog runs its control timer only while at
    // least one control animates.
    void SetAnimating(bool animating);
    // True between SetAnimating(true) and SetAnimating(false).
    bool IsAnimating() const { return m_animating; }
    // A control was created inside this one.
    virtual void ChildAdded(MControl* child);

  private:
    // Stops notifications once the owner's window is going away.
    void Detach();
    void Attach(MDialog* owner, QWidget* parentWidget, int id, const std::string& className,
                const Rect& rect);
    MDialog* m_owner = nullptr;
    ControlHost* m_host = nullptr;
    int m_id = 0;
    std::string m_className;
    std::string m_image;
    std::string m_toolTip;
    std::string m_accessibleName;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_hovered = false;
    // Focus rings show after a key press until the next mouse press, in every window.
    static bool s_focusVisible;
    bool m_pressed = false;
    bool m_previewHover = false;
    bool m_previewPressed = false;
    bool m_animating = false;
};

}  // namespace DUI
