// SPDX-License-Identifier: MIT
#include "app/PlatformFactory.h"

#include "platform/AppFolders.h"
#include "platform/AppRegistry.h"
#include "platform/Autostart.h"
#include "platform/DesktopLauncher.h"
#include "platform/PointerSystem.h"
#include "platform/SingleInstance.h"

namespace kestrix {

std::shared_ptr<AppFolders> LinuxPlatformFactory::Folders() {
    if (!m_folders) m_folders = std::make_shared<LinuxAppFolders>();
    return m_folders;
}

std::shared_ptr<SingleInstance> LinuxPlatformFactory::MakeSingleInstance(
    const std::string& programName) {
    return std::make_shared<LinuxSingleInstance>(programName);
}

std::shared_ptr<AppRegistry> LinuxPlatformFactory::MakeRegistry(const std::string& programName) {
    return std::make_shared<LinuxAppRegistry>(programName);
}

std::shared_ptr<Autostart> LinuxPlatformFactory::MakeAutostart(const std::string& programName) {
    return std::make_shared<LinuxAutostart>(programName);
}

std::shared_ptr<DesktopLauncher> LinuxPlatformFactory::MakeLauncher() {
    return std::make_shared<LinuxDesktopLauncher>();
}

std::shared_ptr<PointerSystem> LinuxPlatformFactory::MakePointerSystem() {
    return std::make_shared<GnomePointerSystem>();
}

}  // namespace kestrix
