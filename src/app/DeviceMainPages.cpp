// SPDX-License-Identifier: MIT
// DeviceMainDlg: the editor pages of the tabs, built into the page panels and kept in step
// with the store, the device and the language.
#include "app/CUIMessageBox.h"
#include "app/DPIMsgDlg.h"
#include "app/DeviceMainDlg.h"
#include "app/MainLayout.h"
#include "device/DeviceWorker.h"
#include "editors/DeviceSettingsPage.h"
#include "editors/KeyPage.h"
#include "editors/LightingPage.h"
#include "editors/MacroPage.h"
#include "editors/PerformancePage.h"
#include "ui/CArea.h"

namespace kestrix {

using namespace frame_id;

EditorPage* DeviceMainDlg::Page(int itemId) const {
    for (const auto& [id, page] : m_pages) {
        if (id == itemId) return page.get();
    }
    return nullptr;
}

void DeviceMainDlg::CreateEditorPages(const MainLayout& layout) {
    EditorContext& context = m_editorContext;
    context.store = m_context.store;
    context.pointer = m_context.pointer.get();
    context.programFolder = m_context.moduleFolder;
    context.definition = &m_definition;
    context.queueTask = [this](DeviceTask task) { QueueTask(task); };
    context.deviceState = [this] { return m_worker ? m_worker->State() : DeviceState{}; };
    context.updateDeviceState = [this](const std::function<void(DeviceState&)>& change) {
        if (m_worker) m_worker->UpdateState(change);
    };
    context.showSaveWait = [this] { ShowSaveWait(); };
    context.showDpiIndicator = [this](int dpi) {
        if (m_dpiIndicator) m_dpiIndicator->Show(dpi);
    };
    context.messageBox = [this](int type, const std::string& upper, const std::string& lower) {
        return ShowMessageBox(type, upper, lower, this);
    };
    context.chooseFile = [this](bool save, const std::string& filter, const std::string& pattern) {
        return ChooseFile(save ? FileDialogKind::Save : FileDialogKind::Open, filter, pattern);
    };
    context.refreshDeviceColumn = [this] { ShowCurrentStage(); };

    auto keys = std::make_unique<KeyPage>(context);
    auto macros = std::make_unique<MacroPage>(context);
    macros->ConnectKeyPage(keys.get());
    m_pages.emplace_back(kPageButtons, std::move(keys));
    m_pages.emplace_back(kPagePerformance, std::make_unique<PerformancePage>(context));
    m_pages.emplace_back(kPageMacros, std::move(macros));
    m_pages.emplace_back(kPageLighting, std::make_unique<LightingPage>(context));
    m_pages.emplace_back(kPageDeviceSettings,
                         std::make_unique<DeviceSettingsPage>(context, m_context.launcher.get()));

    const DUI::Rect panel = layout.PagePanel();
    for (auto& [itemId, page] : m_pages) {
        DUI::MControl* area = PagePanel(itemId);
        // The page draws its own panels; the area only holds and hides them.
        if (auto* holder = dynamic_cast<DUI::CArea*>(area)) holder->SetTransparent(true);
        if (DUI::MControl* title = GetControl(kPageTitleBase + itemId)) title->SetVisible(false);
        page->Create(*this, area, {0, 0, panel.Width(), panel.Height()});
    }
}

void DeviceMainDlg::LayoutEditorPages(const MainLayout& layout) {
    const DUI::Rect panel = layout.PagePanel();
    for (auto& [itemId, page] : m_pages) page->Layout({0, 0, panel.Width(), panel.Height()});
}

void DeviceMainDlg::RefreshPage(int itemId) {
    if (itemId == kPageLighting && !m_definition.lightingPage) return;
    if (EditorPage* page = Page(itemId)) page->Refresh();
}

bool DeviceMainDlg::OnKeyEvent(const DUI::KeyEvent& key) {
    EditorPage* page = Page(m_shownPage);
    return page != nullptr && page->OnKeyEvent(key);
}

}  // namespace kestrix
