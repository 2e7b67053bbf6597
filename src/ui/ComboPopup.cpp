// SPDX-License-Identifier: MIT
#include "ui/ComboPopup.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/PopupList.h"

namespace DUI {

bool ComboPopup::Open(MWindow* owner, const Rect& anchor, std::vector<std::string> texts,
                      int current) {
    m_texts = std::move(texts);
    m_current = current;
    const int rows = std::min<int>(8, std::max<int>(1, static_cast<int>(m_texts.size())));
    const int height = rows * PopupList::kRowHeight + 8;
    Rect rect{anchor.left, anchor.bottom + 4, anchor.right, anchor.bottom + 4 + height};
    if (QScreen* screen = QGuiApplication::screenAt(QPoint(anchor.left, anchor.top))) {
        if (rect.bottom > screen->availableGeometry().bottom()) {
            rect = {anchor.left, anchor.top - 4 - height, anchor.right, anchor.top - 4};
        }
    }
    if (!Create(owner, "ComboWnd", kWsPopup, kWsExPopupMenu, rect)) {
        return false;
    }
    ShowWindow(kSwShow);
    if (m_list) {
        m_list->OnFocus();
    }
    return true;
}

void ComboPopup::InitUI(const Rect& rect) {
    auto list = std::make_unique<PopupList>();
    m_list = list.get();
    AddControl(std::move(list), "PopupList", 1, rect);
    m_list->SetItems(m_texts, m_current);
    m_list->onChoose = [this](int row) { Choose(row); };
    m_list->onCancel = [this] { OnUserCloseWindow(); };
}

void ComboPopup::Choose(int row) {
    if (onChoose) {
        onChoose(row);
    }
    SetResult(kIdOk);
    DestroyWindow();
}

void ComboPopup::OnUserCloseWindow() {
    SetResult(kIdCancel);
    DestroyWindow();
}

}  // namespace DUI
