#include "app/TrayIcon.h"

namespace kestrix {

TrayIcon::TrayIcon() = default;
TrayIcon::~TrayIcon() = default;

bool TrayIcon::Available() { return false; }

bool TrayIcon::Add(DUI::MWindow& /*owner*/, const std::string& /*iconPath*/, const std::string& tip) {
    m_tip = tip;
    return false;
}

void TrayIcon::Remove() { m_shown = false; }

bool TrayIcon::IsShown() const { return m_shown; }

void TrayIcon::ShowMenu(DUI::MWindow& /*owner*/, const std::string& /*exitText*/) {}

}  // namespace kestrix
