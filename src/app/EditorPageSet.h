// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "editors/EditorPage.h"

namespace DUI {
class MDialog;
struct KeyEvent;
}  // namespace DUI

namespace kestrix {

class DesktopLauncher;
class MacroPage;

// The editor pages of the main window's tabs (buttons, performance, macros, lighting, device
// settings): built into the window's page panels with one shared context, and handed the
// control notifications, timers, keys, texts and refreshes that concern them.
class EditorPageSet {
  public:
    // What the pages are given; filled by the window before Create.
    EditorContext& Context() { return m_context; }
    // Builds every page into its panel of owner (frame_id::kPagePanelBase + item id), hiding
    // the panel's title; panel is the panel's rectangle.
    void Create(DUI::MDialog& owner, DesktopLauncher* launcher, const DUI::Rect& panel);
    // Places every page in a panel of this rectangle.
    void Layout(const DUI::Rect& panel);
    // The page of a tab (item id), null for home or before Create.
    EditorPage* Page(int itemId) const;
    // The macro page (null before Create).
    MacroPage* Macros() const;
    // The page re-reads the store; the lighting page only when the model has one.
    void Refresh(int itemId);
    // Every page re-reads the store.
    void RefreshAll();
    // Every page sets its texts again (after a language change).
    void ApplyTexts();
    // Offers a control notification to each page; true when one handled it.
    bool OnMessage(int id, int code, std::intptr_t param);
    // Offers a timer to each page; true when one handled it.
    bool OnTimer(int id);
    // A key event for the page shown; true when it consumed the key.
    bool OnKeyEvent(const DUI::KeyEvent& key);
    // Escape for the page shown; true when the page used it.
    bool OnEscape();
    // Tells the old and the new page that itemId (0 = none) is shown now; false when it
    // already was.
    bool Show(int itemId);
    // The item id of the page shown (0 = none).
    int Shown() const { return m_shown; }

  private:
    EditorContext m_context;
    std::vector<std::pair<int, std::unique_ptr<EditorPage>>> m_pages;  // item id -> page
    int m_shown = 0;
};

}  // namespace kestrix
