// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

namespace kestrix {

class AppFolders;
class AppRegistry;
class Autostart;
class DesktopLauncher;
class PointerSystem;
class SingleInstance;

// Makes the operating-system services of the shell. Services named after the program are
// made once config.xml has given the name. Shared pointers, so a test can keep the fakes it
// handed out and look at them afterwards.
class PlatformFactory {
  public:
    virtual ~PlatformFactory() = default;
    // Program folder and per-user data folder (made before config.xml is read).
    virtual std::shared_ptr<AppFolders> Folders() = 0;
    // The one-instance guard named after the program.
    virtual std::shared_ptr<SingleInstance> MakeSingleInstance(const std::string& programName) = 0;
    // The program's key of stored values.
    virtual std::shared_ptr<AppRegistry> MakeRegistry(const std::string& programName) = 0;
    // The start-at-log-on entry.
    virtual std::shared_ptr<Autostart> MakeAutostart(const std::string& programName) = 0;
    // Links, files and the desktop's mouse settings.
    virtual std::shared_ptr<DesktopLauncher> MakeLauncher() = 0;
    // The desktop's pointer settings.
    virtual std::shared_ptr<PointerSystem> MakePointerSystem() = 0;
};

// The Linux services of src/platform.
class LinuxPlatformFactory final : public PlatformFactory {
  public:
    std::shared_ptr<AppFolders> Folders() override;
    std::shared_ptr<SingleInstance> MakeSingleInstance(const std::string& programName) override;
    std::shared_ptr<AppRegistry> MakeRegistry(const std::string& programName) override;
    std::shared_ptr<Autostart> MakeAutostart(const std::string& programName) override;
    std::shared_ptr<DesktopLauncher> MakeLauncher() override;
    std::shared_ptr<PointerSystem> MakePointerSystem() override;

  private:
    std::shared_ptr<AppFolders> m_folders;
};

}  // namespace kestrix
