// SPDX-License-Identifier: MIT
#include "platform/AppFolders.h"

#include "platform/PlatformPaths.h"

#include <unistd.h>
#include <cstdlib>

namespace kestrix {
namespace {

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace

LinuxAppFolders::LinuxAppFolders(std::string programName) : m_programName(std::move(programName)) {}

std::string LinuxAppFolders::FindModuleFolder(const std::string& exePath,
                                              const std::string& kestrixHome) {
    if (!kestrixHome.empty()) return WithSlash(kestrixHome);
    const size_t slash = exePath.rfind('/');
    const std::string exeFolder =
        slash == std::string::npos ? "." : exePath.substr(0, slash == 0 ? 1 : slash);
    if (access((WithSlash(exeFolder) + "config.xml").c_str(), F_OK) == 0)
        return WithSlash(exeFolder);
    // Installed layout: <prefix>/bin/kestrix beside <prefix>/share/kestrix/.
    const size_t parentSlash = exeFolder.rfind('/');
    const std::string prefix = parentSlash == std::string::npos || parentSlash == 0
                                   ? ""
                                   : exeFolder.substr(0, parentSlash);
    return prefix + "/share/kestrix/";
}

std::string LinuxAppFolders::ModuleFolder() const {
    const char* home = std::getenv("KESTRIX_HOME");
    return FindModuleFolder(CurrentExecutablePath(), home != nullptr ? home : "");
}

std::string LinuxAppFolders::DataFolder() const {
    // The name is used as it is (" Files" keeps even an empty name a valid folder); only a
    // '/' in it would split it into two folders.
    std::string name = m_programName;
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    const std::string folder = XdgDataHome() + "/" + name + " Files";
    CreateFolderPath(folder);
    return folder + "/";
}

void LinuxAppFolders::SetProgramName(const std::string& programName) {
    m_programName = programName;
}

}  // namespace kestrix
