// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "store/StoreRows.h"
#include "ui/MDialog.h"

namespace kestrix {

class DataStore;

// Title the profile pop-up is found by.
inline constexpr char kProfileDlgTitle[] = "ProfileDlg";

// The profile pop-up above the profile control: the profiles of the model with in-place
// rename, and import and export buttons. Choices reach the main window as message 1705
// (wParam 0 choose, 1 import, 2 export; lParam the profile). A click outside closes it; a
// name edited before still selects that profile.
class ProfileDlg : public DUI::MDialog {
  public:
    static constexpr int kList = 31;
    static constexpr int kImport = 32;
    static constexpr int kExport = 33;
    static constexpr int kBackground = 34;
    static constexpr int kHeight = 205;

    ProfileDlg(DUI::MWindow& mainWindow, DataStore& store, ProfileId currentProfile);

    // The pop-up's screen rectangle for the profile control's screen rectangle: same left
    // and right, bottom 5 px above the control's top, top 210 px above it.
    static DUI::Rect PlaceAbove(const DUI::Rect& anchor);
    // Shows the pop-up modally above anchor (screen coordinates of the profile control).
    static void ShowAbove(DUI::MWindow& mainWindow, const DUI::Rect& anchor, DataStore& store,
                          ProfileId currentProfile);

    bool OnInitDialog() override;
    void InitUI(const DUI::Rect& rect) override;
    void OnMessage(int id, int code, std::intptr_t param) override;
    int OnNcActivate(bool active) override;
    // Closed from outside (a click elsewhere ends a Wayland pop-up): as losing the focus.
    void OnUserCloseWindow() override;

  private:
    // Posts 1705 (action, profile) to the main window.
    void PostToMain(std::uintptr_t action, ProfileId profile);
    // Posts the choice of an edited name first, then closes.
    void Finish();
    ProfileId SelectedProfile() const;

    DUI::MWindow& m_main;
    DataStore& m_store;
    ProfileId m_current;
    ProfileId m_edited = 0;
    bool m_finished = false;
};

}  // namespace kestrix
