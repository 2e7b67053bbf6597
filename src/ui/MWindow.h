// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/DuiTypes.h"

namespace DUI {

struct WindowImpl;

// A top-level toolkit window of class "MWindow" named by its title; the program finds its
// own windows by that pair (FindWindows). Frameless and painted by the toolkit. All calls
// on the UI thread except PostMessage and GetSafeHwnd.
class MWindow {
  public:
    MWindow();
    // Destroys the native window if it still exists (without calling the virtual handlers
    // of a derived class, which is already gone).
    virtual ~MWindow();
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    // Makes the native window: owner window (may be null), title, style (kWsVisible shows
    // it at the next turn of the event loop unless hidden before), extended style
    // (kWsExToolWindow, kWsExTopmost, kWsExLayered) and rectangle in screen coordinates.
    // False when it already exists or no toolkit application was set up.
    bool Create(MWindow* parent, const std::string& title, std::uint32_t style,
                std::uint32_t exStyle, const Rect& rect);
    // Runs a nested event loop until the window is destroyed and returns its result (kIdOk,
    // kIdCancel or the wParam of the closing WM_CLOSE). show 0 keeps the window hidden while
    // the loop runs; any other value shows it with that ShowWindow command, modal to its owner.
    int ShowModal(int show);
    // Centres the window on its owner, or on the screen's work area without one.
    void CenterWindow();
    // Ends the window: OnDestroy runs, the native window goes, a running ShowModal returns.
    // Harmless when called twice.
    void DestroyWindow();
    // Sets the window (and task bar) icon from an image file; false when it cannot be read.
    bool SetIcon(const std::string& path);
    // Opaque handle of the live window, 0 when there is none. Any thread.
    WindowHandle GetSafeHwnd() const;
    // Converts a client point to screen coordinates in place.
    void ClientToScreen(Point& point) const;
    // Converts a client rectangle to screen coordinates in place.
    void ClientToScreen(Rect& rect) const;
    // Starts (or restarts) timer id with the period in ms; each expiry sends WM_TIMER (id).
    void SetTimer(int id, int milliseconds);
    // Stops timer id; unknown ids are ignored.
    void KillTimer(int id);
    // Queues msg for OnWindowMessage on the UI thread, in order with PostToUiThread. Any
    // thread; false when the window does not exist.
    bool PostMessage(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // Delivers msg to OnWindowMessage and returns its result; from another thread it waits
    // for the UI thread. Returns 0 when the window does not exist.
    std::intptr_t SendMessage(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

    // True while the native window exists.
    bool IsWindow() const;
    // True when the native window exists and is shown.
    bool IsWindowVisible() const;
    // True when shown maximised.
    bool IsMaximized() const;
    // True when minimised.
    bool IsMinimized() const;
    // True once the window system shows the window (on Wayland: after its first configure,
    // when its pop-ups can be placed on it).
    bool IsExposed() const;
    // The title given to Create.
    const std::string& GetTitle() const;
    // The owner given to Create (may be null).
    MWindow* GetParent() const;
    // Client area: (0, 0, width, height).
    Rect GetClientRect() const;
    // Window rectangle in screen coordinates.
    Rect GetWindowRect() const;
    // Moves and resizes the window (screen coordinates).
    void MoveWindow(const Rect& screenRect);
    // Keeps the window above others (or not).
    void SetTopMost(bool topMost);
    // Shows (restoring from minimised), raises and activates the window. On Wayland the
    // compositor activates it only with an activation token from the process that asked for
    // it (a second launch); on X11 the token is not needed and is ignored.
    void BringToFront(const std::string& activationToken = {});
    // Height of the top band (client px) that moves the window when dragged; 0 = none.
    void SetCaptionHeight(int height);
    // Width of the band along the edges (client px) that resizes the window when dragged,
    // with the resize cursors over it; 0 = not resizable from its edges (the default).
    void SetResizeBorder(int width);
    // Result ShowModal returns (kIdCancel until something sets it).
    int GetResult() const;
    // Sets the result ShowModal will return.
    void SetResult(int result);

    // Class name the window is found by ("MWindow").
    virtual std::string GetWindowClassName() const;
    // Class it is based on ("" = none).
    virtual std::string GetSuperClassName() const;
    // The smallest size the user can give the window.
    void SetMinimumSize(int width, int height);
    // Shows, hides, minimises, maximises or restores (kSwHide, kSwShow, ...).
    virtual void ShowWindow(int command);
    // Receives every window message (posted, sent and the toolkit's own WM_CLOSE, WM_TIMER,
    // WM_SIZE, WM_NCACTIVATE, WM_DESTROY); the default closes on WM_CLOSE (result = wParam).
    virtual std::intptr_t OnWindowMessage(unsigned msg, std::uintptr_t wParam,
                                          std::intptr_t lParam);
    // Sees each posted or sent message before OnWindowMessage; true swallows it.
    virtual bool PreTranslateMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

  private:
    friend struct WindowImpl;
    friend class MDialog;
    friend class MControl;
    std::unique_ptr<WindowImpl> m_impl;
};

}  // namespace DUI
