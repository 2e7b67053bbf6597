// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix {

// The program's two folders: where its shipped data lives and where per-user state goes.
// Both end in '/'.
class AppFolders {
  public:
    virtual ~AppFolders() = default;
    // Folder holding config.xml, device/, language/ and skins/, ending in '/'.
    virtual std::string ModuleFolder() const = 0;
    // Per-user data folder "<data home>/<program name> Files/", ending in '/'; created (with
    // its parents) when missing. A creation failure is logged and the path still returned, so
    // the caller's own open fails on its own terms.
    virtual std::string DataFolder() const = 0;
    // Sets the program name read from config.xml; DataFolder depends on it.
    virtual void SetProgramName(const std::string& programName) = 0;
};

// The folders on a Linux desktop: KESTRIX_HOME, the executable's folder or the installed
// share/kestrix/ for the data; $XDG_DATA_HOME (default ~/.local/share) for per-user state.
class LinuxAppFolders final : public AppFolders {
  public:
    explicit LinuxAppFolders(std::string programName = {});

    std::string ModuleFolder() const override;
    std::string DataFolder() const override;
    void SetProgramName(const std::string& programName) override;

    // The rule behind ModuleFolder: kestrixHome when not empty; else the folder of exePath
    // when it holds config.xml (a build tree); else ../share/kestrix/ beside it (installed).
    static std::string FindModuleFolder(const std::string& exePath, const std::string& kestrixHome);

  private:
    std::string m_programName;
};

}  // namespace kestrix
