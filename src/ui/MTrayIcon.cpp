// SPDX-License-Identifier: MIT
#include "ui/MTrayIcon.h"

#include <QIcon>
#include <QSystemTrayIcon>

#include "base/Log.h"
#include "ui/MWindow.h"
#include "ui/UiThread.h"

namespace DUI {

struct TrayIconImpl {
    std::unique_ptr<QSystemTrayIcon> icon;
    WindowHandle owner = 0;
    unsigned message = 0;
};

MTrayIcon::MTrayIcon() : m_impl(std::make_unique<TrayIconImpl>()) {}

MTrayIcon::~MTrayIcon() { Remove(); }

bool MTrayIcon::IsAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool MTrayIcon::Add(MWindow* owner, unsigned message, const std::string& iconPath,
                    const std::string& tip) {
    Remove();
    if (!owner || !IsAvailable()) {
        kestrix::LogLine("tray icon not shown: %s",
                         owner ? "the desktop has no notification area" : "no owner window");
        return false;
    }
    const QIcon image(QString::fromStdString(iconPath));
    if (image.isNull() || image.availableSizes().isEmpty()) {
        kestrix::LogLine("tray icon not shown: cannot read %s", iconPath.c_str());
        return false;
    }
    m_impl->owner = owner->GetSafeHwnd();
    m_impl->message = message;
    m_impl->icon = std::make_unique<QSystemTrayIcon>(image);
    m_impl->icon->setToolTip(QString::fromStdString(tip));
    TrayIconImpl* impl = m_impl.get();
    QObject::connect(m_impl->icon.get(), &QSystemTrayIcon::activated, m_impl->icon.get(),
                     [impl](QSystemTrayIcon::ActivationReason reason) {
                         unsigned mouse = 0;
                         switch (reason) {
                             case QSystemTrayIcon::Trigger:
                             case QSystemTrayIcon::MiddleClick:
                                 mouse = kWmLButtonDown;
                                 break;
                             case QSystemTrayIcon::DoubleClick:
                                 mouse = kWmLButtonDblClk;
                                 break;
                             case QSystemTrayIcon::Context:
                                 mouse = kWmRButtonUp;
                                 break;
                             default:
                                 return;
                         }
                         PostWindowMessage(impl->owner, impl->message, 0, mouse);
                     });
    m_impl->icon->show();
    return true;
}

void MTrayIcon::Remove() {
    if (m_impl->icon) {
        m_impl->icon->hide();
        m_impl->icon.reset();
    }
}

bool MTrayIcon::IsShown() const { return m_impl->icon != nullptr; }

void MTrayIcon::SetTip(const std::string& tip) {
    if (m_impl->icon) {
        m_impl->icon->setToolTip(QString::fromStdString(tip));
    }
}

void MTrayIcon::Simulate(unsigned mouseMessage) {
    if (m_impl->owner != 0) {
        PostWindowMessage(m_impl->owner, m_impl->message, 0, mouseMessage);
    }
}

}  // namespace DUI
