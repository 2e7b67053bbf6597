// SPDX-License-Identifier: MIT
#include "platform/AppRegistry.h"

#include "base/Log.h"
#include "base/Text.h"
#include "platform/PlatformPaths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace kestrix {
namespace {

constexpr size_t kMaxValueBytes = 255;
constexpr char kFileHeader[] = "# Kestrix program values, one name=text per line\n";

using ValueList = std::vector<std::pair<std::string, std::string>>;

// Serialises every access in this process; the folder lock below does it between processes.
std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}

// Exclusive flock on the key's folder for the lifetime of the object (released by close).
class FolderLock {
  public:
    explicit FolderLock(const std::string& folder) {
        m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd >= 0) {
            while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {}
        }
    }
    ~FolderLock() {
        if (m_fd >= 0) close(m_fd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int m_fd = -1;
};

ValueList ParseValues(const std::string& content) {
    ValueList values;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        values.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return values;
}

std::string FormatValues(const ValueList& values) {
    std::string content = kFileHeader;
    for (const auto& [name, text] : values) content += name + "=" + text + "\n";
    return content;
}

bool HasLineBreakOrNul(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

}  // namespace

LinuxAppRegistry::LinuxAppRegistry(const std::string& programName)
    : m_folder(XdgConfigHome() + "/" + ProgramFileName(programName)),
      m_filePath(m_folder + "/registry.ini") {}

int LinuxAppRegistry::ReadAppRegistryInt(const std::string& valueName) {
    std::lock_guard guard(RegistryMutex());
    std::string content;
    if (!ReadWholeFile(m_filePath, content)) {
        if (errno != ENOENT) {
            LogLine("registry: cannot read %s: %s", m_filePath.c_str(), std::strerror(errno));
            return 0;
        }
        // A missing key is created by the first read; the value itself is then missing.
        if (CreateFolderPath(m_folder)) {
            FolderLock lock(m_folder);
            if (access(m_filePath.c_str(), F_OK) != 0) WriteFileAtomically(m_filePath, kFileHeader);
        }
        return 0;
    }
    for (const auto& [name, text] : ParseValues(content)) {
        if (name == valueName)
            return ParseDecimal(std::string_view(text).substr(0, kMaxValueBytes));
    }
    return 0;
}

bool LinuxAppRegistry::WriteAppRegistryString(const std::string& valueName,
                                              const std::string& text) {
    // One line per value: a name with '=' or a line break, or a text with a line break, would
    // corrupt the neighbouring values, so such input is refused rather than stored.
    if (valueName.empty() || valueName.find('=') != std::string::npos ||
        HasLineBreakOrNul(valueName) || valueName[0] == '#' || valueName[0] == ';' ||
        valueName[0] == '[' || HasLineBreakOrNul(text)) {
        LogLine("registry: value name or text cannot be stored: \"%s\"", valueName.c_str());
        return false;
    }
    std::lock_guard guard(RegistryMutex());
    if (access(m_folder.c_str(), F_OK) != 0) {
        LogLine("registry: key %s missing, %s not written", m_filePath.c_str(), valueName.c_str());
        return false;
    }
    FolderLock lock(m_folder);
    std::string content;
    if (!ReadWholeFile(m_filePath, content)) {
        if (errno == ENOENT) {
            LogLine("registry: key %s missing, %s not written", m_filePath.c_str(),
                    valueName.c_str());
        } else {
            LogLine("registry: cannot read %s: %s", m_filePath.c_str(), std::strerror(errno));
        }
        return false;
    }
    ValueList values = ParseValues(content);
    bool replaced = false;
    for (auto& [name, oldText] : values) {
        if (name == valueName) {
            oldText = text;
            replaced = true;
        }
    }
    if (!replaced) values.emplace_back(valueName, text);
    return WriteFileAtomically(m_filePath, FormatValues(values));
}

}  // namespace kestrix
