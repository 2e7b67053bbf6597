// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/MDialog.h"

namespace DUI {

class PopupList;

// Pop-up menu, a window titled "Menu Window". The choice arrives at the owner as the
// message number it asked for, with the chosen item id in both wParam and lParam (so
// WM_COMMAND owners read wParam, the numbered menus 1709..1711 read lParam). A click
// elsewhere or Escape closes it without a message.
class MenuWnd : public MDialog {
  public:
    MenuWnd();
    ~MenuWnd() override;

    // Sets the owner window and the message to post; clears the items. False without owner.
    bool Create(MWindow* owner, unsigned message);
    // Appends an item.
    void AddMenu(int id, const std::string& text);
    // Number of items.
    int GetCount() const;
    // Shows the menu at a screen point (kept on the screen); returns at once. False when
    // there are no items or no owner.
    bool TrackPopup(const Point& screenPoint);
    // Chooses the item at index as a click would: posts the message and closes.
    void Choose(int index);
    // Makes the object delete itself once its window is gone (menus made with new).
    void SetAutoDelete(bool autoDelete);
    // Builds, shows and forgets a menu in one call; the menu deletes itself when closed.
    static MenuWnd* Popup(MWindow* owner, unsigned message,
                          const std::vector<std::pair<int, std::string>>& items,
                          const Point& screenPoint);

    void InitUI(const Rect& rect) override;
    void OnUserCloseWindow() override;
    void PostNcDestroy() override;

  private:
    WindowHandle m_owner = 0;
    MWindow* m_ownerWindow = nullptr;
    unsigned m_message = 0;
    std::vector<std::pair<int, std::string>> m_items;
    PopupList* m_list = nullptr;
    bool m_autoDelete = false;
};

}  // namespace DUI
