// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/DuiTypes.h"
#include "ui/MWindow.h"

namespace DUI {

class MControl;
class CArea;

// Base of every window class: owns the controls it creates, routes their notifications to
// OnMessage and the native events to the handlers below. Create calls, in this order,
// OnCreate, InitUI (build the controls) and OnInitDialog; later size changes call UISize.
class MDialog : public MWindow {
  public:
    MDialog();
    ~MDialog() override;

    // "MWindow".
    std::string GetWindowClassName() const override;
    // "" (no super class).
    std::string GetSuperClassName() const override;
    // Shows or hides the window (kSwHide, kSwShow, kSwShowMaximized, ...).
    void ShowWindow(int command) override;
    // Dispatches WM_CLOSE (result = wParam, then OnClose), WM_TIMER (OnTimer), WM_SIZE
    // (UISize), WM_NCACTIVATE (OnNcActivate), WM_DESTROY (OnDestroyMessage, OnDestroy); other
    // messages return 0. Overrides call it for the messages they do not handle.
    std::intptr_t OnWindowMessage(unsigned msg, std::uintptr_t wParam,
                                  std::intptr_t lParam) override;
    // Sees each posted or sent message first; false by default.
    bool PreTranslateMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    // Called once the controls exist; return value is ignored (true by default).
    virtual bool OnInitDialog();
    // Called on WM_DESTROY before OnDestroy.
    virtual void OnDestroyMessage();
    // Screen point a balloon tip of this window points at (top centre by default).
    virtual Point GetAirBladderPoint();
    // Minimise button: minimises the window.
    virtual void OnMinimize();
    // Maximise button: maximises, or restores when maximised.
    virtual void OnMaximize();
    // Builds the controls; rect is the client area.
    virtual void InitUI(const Rect& rect);
    // Re-lays out the controls for a new client area.
    virtual void UISize(const Rect& rect);
    // A control's notification (control id, code, parameter), on the UI thread:
    // 2 = clicked or committed, 29 = edit finished; see kNotify* for the others.
    virtual void OnMessage(int id, int code, std::intptr_t param);
    // The user asked the window manager to close the window (Alt+F4); default: WM_CLOSE
    // with wParam kIdCancel.
    virtual void OnUserCloseWindow();
    // The native window was just made (before InitUI).
    virtual void OnCreate();
    // Activation changed; active false when another window took it. Result is ignored.
    virtual int OnNcActivate(bool active);
    // A key event of this window (any control of it focused); true consumes the key.
    virtual bool OnKeyEvent(const KeyEvent& key);
    // Escape was pressed and no control used it; true when it was used. Default: the same as
    // the window manager's close (OnUserCloseWindow), so a dialog ends as cancelled.
    virtual bool OnEscape();
    // The background was painted.
    virtual void OnPaint();
    // Timer id of SetTimer expired.
    virtual void OnTimer(int id);
    // Frame painting (the toolkit's windows are frameless; never called with a frame).
    virtual void OnNcPaint();
    // WM_CLOSE arrived; default: CloseWindow.
    virtual void OnClose();
    // The window is being destroyed; controls still exist.
    virtual void OnDestroy();
    // The native window is gone; the controls are released after this returns.
    virtual void PostNcDestroy();
    // Closes the window: default DestroyWindow.
    virtual void CloseWindow();

    // Creates a control by class name ("MButton", "DPIControl", ...) with id, rectangle in
    // the parent's coordinates, text (title of text controls) and optional parent control
    // (an area); the dialog owns it. nullptr for an unknown class name (logged) or before
    // Create.
    MControl* CreateControl(const std::string& className, int id, const Rect& rect,
                            const std::string& text = "", MControl* parent = nullptr);
    // CreateControl with the result cast to T (nullptr when the class does not match).
    template <class T>
    T* CreateControlAs(const std::string& className, int id, const Rect& rect,
                       const std::string& text = "", MControl* parent = nullptr) {
        return dynamic_cast<T*>(CreateControl(className, id, rect, text, parent));
    }
    // Attaches a control made by the caller (a custom MControl subclass) like CreateControl;
    // the dialog takes ownership. nullptr before Create.
    MControl* AddControl(std::unique_ptr<MControl> control, const std::string& className, int id,
                         const Rect& rect, MControl* parent = nullptr);
    // Creates a "CArea" panel that other controls can be placed in (parent argument).
    CArea* CreateArea(int id, const Rect& rect, MControl* parent = nullptr);
    // The first control with this id, or nullptr.
    MControl* GetControl(int id) const;
    // GetControl cast to T, or nullptr.
    template <class T>
    T* GetControlAs(int id) const {
        return dynamic_cast<T*>(GetControl(id));
    }
    // Every control in creation order.
    std::vector<MControl*> GetControls() const;
    // Background image (skin name); drawn by the back mode. false when missing (the theme
    // background is drawn instead).
    bool LoadBKImage(const std::string& file);
    // How the background image is drawn: mode 1 = nine-slice with corners of value px,
    // otherwise stretched.
    void SetBackMode(int mode, int value);
    // Lets the background image's transparency show (rounded or shaped windows).
    void SetLayeredWindow(bool layered);
    // Background and border colours (colour integers) used without a background image.
    void SetBkColor(int background, int border);
    // Sets the period in ms of the toolkit's control timer (animations); 0 turns it off. The
    // timer runs only while a control animates (MControl::SetAnimating), so an idle window
    // wakes for nothing. It ends with the window (DestroyWindow) or the dialog object,
    // whichever is first.
    void SetMTimer(int milliseconds);
    // Ends the window with kIdOk.
    void DoOK();
    // Ends the window with kIdCancel.
    void DoCancel();
    // Gives the keyboard focus to control id.
    void SetFocusControl(int id);

  private:
    friend struct WindowImpl;
    friend class MWindow;
    friend class MControl;
    struct DialogImpl;
    std::unique_ptr<DialogImpl> m_dialog;
    // Starts the control timer when it has a period and a control animates; stops it otherwise.
    void UpdateControlTimer();
    // Called by the native side after the window exists.
    void AfterCreate();
    // Called after the native window is gone.
    void AfterDestroy();
};

}  // namespace DUI
