// SPDX-License-Identifier: MIT
#include "app/StoreAlerts.h"

#include <string>

#include "app/CUIMessageBox.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/MWindow.h"
#include "ui/UiThread.h"

namespace kestrix {
namespace {

// Shows the box over the window when it still exists.
void ShowOver(DUI::WindowHandle handle, int textId, const std::string& detail) {
    DUI::MWindow* window = DUI::FromHandle(handle);
    if (window == nullptr) return;
    ShowMessageBox(kMessageBoxOk, GetLanText(textId), detail, window);
}

}  // namespace

StoreAlerts::StoreAlerts(DataStore& store)
    : m_store(store),
      m_window(std::make_shared<DUI::WindowHandle>()),
      m_failurePending(std::make_shared<std::atomic<bool>>(false)) {
    m_store.SetFailureListener(
        [window = m_window, pending = m_failurePending](const std::string& reason) {
            // Called with the store's lock held: only hand it on.
            if (pending->exchange(true)) return;
            DUI::PostToUiThread([window, pending, reason] {
                ShowOver(*window, text::kStoreWriteFailed, reason);
                pending->store(false);
            });
        });
    m_store.SetMovedAsideListener([window = m_window](const std::string& movedTo) {
        DUI::PostToUiThread(
            [window, movedTo] { ShowOver(*window, text::kStoreMovedAside, movedTo); });
    });
}

StoreAlerts::~StoreAlerts() {
    m_store.SetFailureListener({});
    m_store.SetMovedAsideListener({});
}

}  // namespace kestrix
