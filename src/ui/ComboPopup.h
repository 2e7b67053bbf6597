// SPDX-License-Identifier: MIT
#pragma once

// Private to the toolkit: the drop-down list window of MComboBox, titled "ComboWnd".

#include <functional>
#include <string>
#include <vector>

#include "ui/MDialog.h"

namespace DUI {

class PopupList;

class ComboPopup : public MDialog {
  public:
    // Opens below (or above, near the screen's bottom) the given screen rectangle.
    bool Open(MWindow* owner, const Rect& anchorOnScreen, std::vector<std::string> texts,
              int current);
    // Called with the chosen row; the pop-up closes itself afterwards.
    std::function<void(int)> onChoose;
    // Chooses a row as a click would (tests).
    void Choose(int row);

    void InitUI(const Rect& rect) override;
    void OnUserCloseWindow() override;

  private:
    std::vector<std::string> m_texts;
    int m_current = -1;
    PopupList* m_list = nullptr;
};

}  // namespace DUI
