// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "store/StoreRows.h"

namespace kestrix {

struct AppContext;
class DeviceMainDlg;

// What the profile button of the main window's device column offers: the pop-up of the
// profiles and its choices (switch to a profile, import into the current one, export one).
class ProfileActions {
  public:
    // Both must outlive this object.
    ProfileActions(DeviceMainDlg& window, AppContext& context);

    // Opens the pop-up above the profile label; with the mouse off line, says so instead.
    void OpenMenu();
    // A choice of the pop-up: action 0 switches to profile, 1 imports a file into the current
    // profile, 2 exports profile to a file.
    void OnChoice(std::uintptr_t action, std::intptr_t profile);

  private:
    // Makes profile the active and current one and sends all of it to the mouse, its active
    // lighting effect included.
    void SwitchTo(ProfileId profile);

    DeviceMainDlg& m_window;
    AppContext& m_context;
};

}  // namespace kestrix
