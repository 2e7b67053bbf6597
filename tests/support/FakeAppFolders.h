// SPDX-License-Identifier: MIT
#pragma once

#include "platform/AppFolders.h"

namespace kestrix {

// Folders fixed by a test: no environment, no creation.
class FakeAppFolders final : public AppFolders {
  public:
    // moduleFolder and dataFolder are returned as given (a '/' is appended when missing).
    FakeAppFolders(std::string moduleFolder, std::string dataFolder);

    std::string ModuleFolder() const override;
    std::string DataFolder() const override;
    void SetProgramName(const std::string& programName) override;
    // The last name given to SetProgramName.
    std::string ProgramName() const;

  private:
    std::string m_moduleFolder;
    std::string m_dataFolder;
    std::string m_programName;
};

}  // namespace kestrix
