// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "app/AppContext.h"
#include "app/TrayIcon.h"
#include "ui/DuiTypes.h"

namespace kestrix {

struct AppContext;
class DeviceMainDlg;

// A second launch asks for the window; the single-instance guard posts this message.
inline constexpr unsigned kWmShowRequest = DUI::kWmUser + 101;

// The main window's place on the desktop: its icon, the tray icon and its menu, what closing
// the window does (hide to the tray or end the program), and the requests of a second launch.
class WindowShell {
  public:
    // Both must outlive this object.
    WindowShell(DeviceMainDlg& window, AppContext& context);

    // Hands the second launch's requests to the window as messages, sets the window icon and
    // adds the tray icon when the desktop has a tray.
    void Install();
    // Drops the second launch's requests and removes the tray icon (the window is closing).
    void Uninstall();
    // True when the window can hide and come back through a tray icon.
    bool TrayAvailable() const { return m_trayAvailable; }
    TrayIcon& Tray() { return m_tray; }
    // A mouse message of the tray icon: left click shows the window, right click the menu.
    void OnTrayNotify(std::intptr_t mouseMessage);
    // The close button: hides to the tray when the user chose so and a tray exists, else ends
    // the program.
    void OnCloseButton();
    // Removes the tray icon and ends the process.
    void EndProgram();
    // Shows the window normally and raises it, with the activation token of the second launch
    // that asked for it, if any (Wayland gives the focus only with one).
    void BringBack();
    // Open or save file dialog over the window (or the context's chooser); "" when cancelled.
    std::string ChooseFile(FileDialogKind kind, const std::string& filter,
                           const std::string& pattern);

  private:
    DeviceMainDlg& m_window;
    AppContext& m_context;
    TrayIcon m_tray;
    bool m_trayAvailable = false;
    // Set on the single-instance listener thread, taken on the UI thread.
    std::mutex m_tokenMutex;
    std::string m_activationToken;
};

}  // namespace kestrix
