// SPDX-License-Identifier: MIT
#include "app/EditorPageSet.h"

#include "app/FrameControls.h"
#include "app/MainViewState.h"
#include "editors/DeviceSettingsPage.h"
#include "editors/KeyPage.h"
#include "editors/LightingPage.h"
#include "editors/MacroPage.h"
#include "editors/PerformancePage.h"
#include "ui/CArea.h"
#include "ui/MDialog.h"

namespace kestrix {

void EditorPageSet::Create(DUI::MDialog& owner, DesktopLauncher* launcher, const DUI::Rect& panel) {
    auto keys = std::make_unique<KeyPage>(m_context);
    auto macros = std::make_unique<MacroPage>(m_context);
    macros->ConnectKeyPage(keys.get());
    m_pages.emplace_back(kPageButtons, std::move(keys));
    m_pages.emplace_back(kPagePerformance, std::make_unique<PerformancePage>(m_context));
    m_pages.emplace_back(kPageMacros, std::move(macros));
    m_pages.emplace_back(kPageLighting, std::make_unique<LightingPage>(m_context));
    m_pages.emplace_back(kPageDeviceSettings,
                         std::make_unique<DeviceSettingsPage>(m_context, launcher));

    for (auto& [itemId, page] : m_pages) {
        DUI::MControl* area = owner.GetControl(frame_id::kPagePanelBase + itemId);
        // The page draws its own panels; the area only holds and hides them.
        if (auto* holder = dynamic_cast<DUI::CArea*>(area)) holder->SetTransparent(true);
        if (DUI::MControl* title = owner.GetControl(frame_id::kPageTitleBase + itemId))
            title->SetVisible(false);
        page->Create(owner, area, {0, 0, panel.Width(), panel.Height()});
    }
}

void EditorPageSet::Layout(const DUI::Rect& panel) {
    for (auto& [itemId, page] : m_pages) page->Layout({0, 0, panel.Width(), panel.Height()});
}

EditorPage* EditorPageSet::Page(int itemId) const {
    for (const auto& [id, page] : m_pages) {
        if (id == itemId) return page.get();
    }
    return nullptr;
}

MacroPage* EditorPageSet::Macros() const { return dynamic_cast<MacroPage*>(Page(kPageMacros)); }

void EditorPageSet::Refresh(int itemId) {
    if (itemId == kPageLighting &&
        (m_context.definition == nullptr || !m_context.definition->lightingPage))
        return;
    if (EditorPage* page = Page(itemId)) page->Refresh();
}

void EditorPageSet::RefreshAll() {
    for (auto& [itemId, page] : m_pages) Refresh(itemId);
}

void EditorPageSet::ApplyTexts() {
    for (auto& [itemId, page] : m_pages) page->ApplyTexts();
}

bool EditorPageSet::OnMessage(int id, int code, std::intptr_t param) {
    for (auto& [itemId, page] : m_pages) {
        if (page->OnMessage(id, code, param)) return true;
    }
    return false;
}

bool EditorPageSet::OnTimer(int id) {
    for (auto& [itemId, page] : m_pages) {
        if (page->OnTimer(id)) return true;
    }
    return false;
}

bool EditorPageSet::OnKeyEvent(const DUI::KeyEvent& key) {
    EditorPage* page = Page(m_shown);
    return page != nullptr && page->OnKeyEvent(key);
}

bool EditorPageSet::OnEscape() {
    EditorPage* page = Page(m_shown);
    return page != nullptr && page->OnEscape();
}

bool EditorPageSet::Show(int itemId) {
    if (itemId == m_shown) return false;
    if (EditorPage* old = Page(m_shown)) old->OnShow(false);
    m_shown = itemId;
    if (EditorPage* shown = Page(m_shown)) shown->OnShow(true);
    return true;
}

}  // namespace kestrix
