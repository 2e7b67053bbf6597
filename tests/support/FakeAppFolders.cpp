// SPDX-License-Identifier: MIT
#include "support/FakeAppFolders.h"

namespace kestrix {
namespace {

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace

FakeAppFolders::FakeAppFolders(std::string moduleFolder, std::string dataFolder)
    : m_moduleFolder(WithSlash(std::move(moduleFolder))),
      m_dataFolder(WithSlash(std::move(dataFolder))) {}

std::string FakeAppFolders::ModuleFolder() const { return m_moduleFolder; }
std::string FakeAppFolders::DataFolder() const { return m_dataFolder; }
void FakeAppFolders::SetProgramName(const std::string& programName) { m_programName = programName; }
std::string FakeAppFolders::ProgramName() const { return m_programName; }

}  // namespace kestrix
