// SPDX-License-Identifier: MIT
#include "ui/MenuWnd.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include "base/Log.h"
#include "ui/PopupList.h"
#include "ui/Theme.h"
#include "ui/UiThread.h"

namespace DUI {

MenuWnd::MenuWnd() = default;

MenuWnd::~MenuWnd() = default;

bool MenuWnd::Create(MWindow* owner, unsigned message) {
    m_items.clear();
    m_ownerWindow = owner;
    m_owner = owner ? owner->GetSafeHwnd() : 0;
    m_message = message;
    return owner != nullptr;
}

void MenuWnd::AddMenu(int id, const std::string& text) { m_items.emplace_back(id, text); }

int MenuWnd::GetCount() const { return static_cast<int>(m_items.size()); }

bool MenuWnd::TrackPopup(const Point& screenPoint) {
    if (m_items.empty() || m_owner == 0 || IsWindow()) {
        return false;
    }
    const QFontMetrics metrics(Theme::MakeFont(14));
    int width = 160;
    for (const auto& item : m_items) {
        width =
            std::max(width, metrics.horizontalAdvance(QString::fromStdString(item.second)) + 56);
    }
    const int height = static_cast<int>(m_items.size()) * PopupList::kRowHeight + 8;
    Rect rect{screenPoint.x, screenPoint.y, screenPoint.x + width, screenPoint.y + height};
    if (QScreen* screen = QGuiApplication::screenAt(QPoint(screenPoint.x, screenPoint.y))) {
        const QRect area = screen->availableGeometry();
        const int dx = std::min(0, area.right() - rect.right);
        const int dy = std::min(0, area.bottom() - rect.bottom);
        rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
    if (!MWindow::Create(m_ownerWindow, "Menu Window", kWsPopup, kWsExPopupMenu, rect)) {
        return false;
    }
    ShowWindow(kSwShow);
    if (m_list) {
        m_list->OnFocus();
    }
    return true;
}

void MenuWnd::InitUI(const Rect& rect) {
    auto list = std::make_unique<PopupList>();
    m_list = list.get();
    AddControl(std::move(list), "PopupList", 1, rect);
    std::vector<std::string> texts;
    for (const auto& item : m_items) {
        texts.push_back(item.second);
    }
    m_list->SetItems(std::move(texts), -1);
    m_list->onChoose = [this](int index) { Choose(index); };
    m_list->onCancel = [this] { OnUserCloseWindow(); };
}

void MenuWnd::Choose(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) {
        return;
    }
    const int id = m_items[index].first;
    if (!PostWindowMessage(m_owner, m_message, static_cast<std::uintptr_t>(id), id)) {
        kestrix::LogLine("menu choice %d: owner window is gone", id);
    }
    SetResult(kIdOk);
    DestroyWindow();
}

void MenuWnd::SetAutoDelete(bool autoDelete) { m_autoDelete = autoDelete; }

MenuWnd* MenuWnd::Popup(MWindow* owner, unsigned message,
                        const std::vector<std::pair<int, std::string>>& items,
                        const Point& screenPoint) {
    auto* menu = new MenuWnd;
    menu->Create(owner, message);
    for (const auto& item : items) {
        menu->AddMenu(item.first, item.second);
    }
    menu->SetAutoDelete(true);
    if (!menu->TrackPopup(screenPoint)) {
        delete menu;
        return nullptr;
    }
    return menu;
}

void MenuWnd::OnUserCloseWindow() {
    // A pop-up closes at once when the user clicks elsewhere.
    SetResult(kIdCancel);
    DestroyWindow();
}

void MenuWnd::PostNcDestroy() {
    m_list = nullptr;
    if (m_autoDelete) {
        PostToUiThread([this] { delete this; });
    }
}

}  // namespace DUI
