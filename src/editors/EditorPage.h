// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/DeviceTask.h"
#include "ui/DuiTypes.h"

namespace DUI {
class MDialog;
class MControl;
class MWindow;
}  // namespace DUI

namespace kestrix {

class DataStore;
class PointerSystem;

// What the main window hands every editor page: the store, the device state, the model
// description and the window services a page needs. The main window fills it once and keeps
// it current (the definition and folders change with the selected model); pages read it at the
// moment of use and never keep copies of its values.
struct EditorContext {
    DataStore* store = nullptr;
    PointerSystem* pointer = nullptr;
    std::string programFolder;                     // ends in '/': model files, skins
    std::string deviceAttr;                        // the selected model's file and database name
    const DeviceDefinition* definition = nullptr;  // the selected model's description

    // Appends a DeviceTask code to the worker's queue.
    std::function<void(DeviceTask task)> queueTask;
    // A copy of the device state, and a change of its editor-owned parts (stage count and
    // index, lighting effect, selected key, pending macro key).
    std::function<DeviceState()> deviceState;
    std::function<void(const std::function<void(DeviceState&)>&)> updateDeviceState;
    // Shows the save-wait window (the page decides when, by the model's show_savetips).
    std::function<void()> showSaveWait;
    // Runs action once the save-wait window is gone, at once when it is not shown (a window
    // that would open under it); null: at once.
    std::function<void(std::function<void()> action)> afterSaveWait;
    // Shows the on-screen DPI indicator with this value.
    std::function<void(int dpi)> showDpiIndicator;
    // Modal message box: type 0 (one button) or 4 (two buttons), upper and lower text; 1 when
    // the first button was chosen.
    std::function<int(int type, const std::string& upperText, const std::string& lowerText)>
        messageBox;
    // Open (save = false) or save file dialog with a filter such as "Macro (*.xml)"; the chosen
    // path, or "" when cancelled.
    std::function<std::string(bool save, const std::string& filter, const std::string& pattern)>
        chooseFile;
    // Refreshes the main window's own DPI display (device column) after a page changed stages.
    std::function<void()> refreshDeviceColumn;

    // True when store points to an opened database. Pages are built, and may be refreshed,
    // before a mouse was found; they read the store only when this holds.
    bool HasOpenStore() const;
};

// One tab page of the main window (performance, buttons, macros, lighting, device settings).
// The main window creates the page's controls in its own dialog, routes every control
// notification through OnMessage until one page claims it, forwards key events, and calls
// Refresh when the store or the device changed.
class EditorPage {
  public:
    virtual ~EditorPage() = default;

    // Creates the page's controls in owner, inside panel (an area of the main window that the
    // window shows and hides with the tab), laid out in rect (panel coordinates).
    virtual void Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) = 0;
    // Lays the controls out again for a new panel rectangle (the window was resized).
    virtual void Layout(const DUI::Rect& rect) = 0;
    // A control notification of the owner; true when the control belongs to this page.
    virtual bool OnMessage(int id, int code, std::intptr_t param) = 0;
    // Re-reads the store and the device state into the controls.
    virtual void Refresh() = 0;
    // Sets every text again from the language file (the language changed).
    virtual void ApplyTexts() = 0;
    // A key event while the page is shown; true consumes it (key capture, recorder).
    virtual bool OnKeyEvent(const DUI::KeyEvent& /*key*/) { return false; }
    // Escape while the page is shown and no control used it: true when the page closed
    // something of its own (a panel over its controls).
    virtual bool OnEscape() { return false; }
    // The owner's timer id fired; true when the timer belongs to this page.
    virtual bool OnTimer(int /*id*/) { return false; }
    // The page is shown (true) or hidden.
    virtual void OnShow(bool /*shown*/) {}
};

}  // namespace kestrix
