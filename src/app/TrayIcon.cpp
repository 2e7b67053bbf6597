// SPDX-License-Identifier: MIT
#include "app/TrayIcon.h"

#include "ui/Desktop.h"
#include "ui/DuiTypes.h"
#include "ui/MTrayIcon.h"
#include "ui/MenuWnd.h"

namespace kestrix {
namespace {

constexpr unsigned kTrayCallbackMessage = 1690;
constexpr int kExitItem = 100;

}  // namespace

TrayIcon::TrayIcon() = default;
TrayIcon::~TrayIcon() = default;

bool TrayIcon::Available() { return DUI::MTrayIcon::IsAvailable(); }

bool TrayIcon::Add(DUI::MWindow& owner, const std::string& iconPath, const std::string& tip) {
    m_tip = tip;
    auto icon = std::make_unique<DUI::MTrayIcon>();
    if (!icon->Add(&owner, kTrayCallbackMessage, iconPath, tip)) return false;
    m_icon = std::move(icon);
    return true;
}

void TrayIcon::Remove() {
    if (!m_icon) return;
    m_icon->Remove();
    m_icon.reset();
}

void TrayIcon::SetTip(const std::string& tip) {
    m_tip = tip;
    if (m_icon) m_icon->SetTip(tip);
}

bool TrayIcon::IsShown() const { return m_icon != nullptr && m_icon->IsShown(); }

void TrayIcon::ShowMenu(DUI::MWindow& owner, const std::string& exitText) {
    DUI::MenuWnd::Popup(&owner, DUI::kWmCommand, {{kExitItem, exitText}}, DUI::GetCursorPos());
}

void TrayIcon::Simulate(unsigned mouseMessage) {
    if (m_icon) m_icon->Simulate(mouseMessage);
}

}  // namespace kestrix
