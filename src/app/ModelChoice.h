// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kestrix {

struct AppContext;
class DeviceMainDlg;

// The user's choice of a mouse on the home view and the factory reset of the chosen one: a
// new choice switches the window to the model, opens its database and tells the worker; a
// mouse behind its receiver is read again.
class ModelChoice {
  public:
    // Both must outlive this object.
    ModelChoice(DeviceMainDlg& window, AppContext& context);

    // A card of the device list was clicked: param is its model (0 = the list's selection).
    // A model that is not identified on line gets a message box instead.
    void OnChosen(std::intptr_t param);
    // The worker chose model: the next click on it is no new choice.
    void SetChosen(int model) { m_chosen = model; }
    // Asks, then restores the factory settings of the mouse (a message when it is off line).
    void ResetToDefaults();

  private:
    DeviceMainDlg& m_window;
    AppContext& m_context;
    int m_chosen = 0;  // the model chosen last, by the user or the worker
};

}  // namespace kestrix
