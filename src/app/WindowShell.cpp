// SPDX-License-Identifier: MIT
#include "app/WindowShell.h"

#include <utility>

#include "app/AppContext.h"
#include "app/DeviceMainDlg.h"
#include "platform/AppRegistry.h"
#include "platform/LanguageTexts.h"
#include "platform/SingleInstance.h"
#include "platform/UsedTextIds.h"
#include "ui/Desktop.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"

namespace kestrix {

WindowShell::WindowShell(DeviceMainDlg& window, AppContext& context)
    : m_window(window), m_context(context) {}

void WindowShell::Install() {
    // What a second launch looks for: the single-instance guard hands its requests here.
    const DUI::WindowHandle handle = m_window.GetSafeHwnd();
    if (m_context.instance) {
        m_context.instance->SetHandlers(
            [this, handle](const std::string& activationToken) {
                {
                    std::lock_guard guard(m_tokenMutex);
                    m_activationToken = activationToken;
                }
                DUI::PostWindowMessage(handle, kWmShowRequest, 0, 0);
            },
            [handle](int parameter) {
                DUI::PostWindowMessage(handle, kWmExitRequest, 0, parameter);
            });
    }
    // The window icon and the tray icon.
    const std::string iconPath = DUI::Manager::GetSkinPath("DeviceDriver.ico");
    m_window.SetIcon(iconPath);
    // Without an icon in a tray the window must never hide on close.
    const bool desktopHasTray =
        m_context.trayAvailable ? m_context.trayAvailable() : TrayIcon::Available();
    const bool iconShown = desktopHasTray && m_tray.Add(m_window, iconPath, m_context.programName);
    m_trayAvailable = m_context.trayAvailable ? desktopHasTray : iconShown;
}

void WindowShell::Uninstall() {
    if (m_context.instance) m_context.instance->SetHandlers([](const std::string&) {}, [](int) {});
    m_tray.Remove();
}

void WindowShell::OnTrayNotify(std::intptr_t mouseMessage) {
    switch (mouseMessage) {
        case DUI::kWmLButtonDown:
        case DUI::kWmLButtonDblClk:
            BringBack();
            break;
        case DUI::kWmRButtonUp:
            m_tray.ShowMenu(m_window, GetLanText(text::kTrayExit));
            break;
        default:
            break;
    }
}

void WindowShell::OnCloseButton() {
    // Hiding needs a tray to come back from; without one, close always ends the program.
    if (m_trayAvailable && m_context.registry->ReadAppRegistryInt(kExitModeValue) == 1) {
        m_window.ShowWindow(DUI::kSwHide);
        return;
    }
    EndProgram();
}

void WindowShell::EndProgram() {
    m_tray.Remove();
    m_context.exitProcess(0);
}

std::string WindowShell::ChooseFile(FileDialogKind kind, const std::string& filter,
                                    const std::string& pattern) {
    if (m_context.chooseFile) return m_context.chooseFile(kind, filter, pattern);
    (void)pattern;  // the filter text carries the pattern for the toolkit's dialogs
    std::string path;
    const bool chosen = kind == FileDialogKind::Open
                            ? DUI::ShowOpenFileDialog(&m_window, filter, path)
                            : DUI::ShowSaveFileDialog(&m_window, filter, {}, path);
    return chosen ? path : std::string();
}

void WindowShell::BringBack() {
    // The token of the latest second launch, used once: a later tray click has none.
    std::string activationToken;
    {
        std::lock_guard guard(m_tokenMutex);
        activationToken = std::exchange(m_activationToken, {});
    }
    m_window.ShowWindow(DUI::kSwShowNormal);
    m_window.BringToFront(activationToken);
}

}  // namespace kestrix
