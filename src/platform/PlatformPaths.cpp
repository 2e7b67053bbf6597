// SPDX-License-Identifier: MIT
#include "platform/PlatformPaths.h"

#include "base/Log.h"
#include "base/UniqueFd.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kestrix {
namespace {

std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    // The XDG rules say a relative value is invalid and must be ignored.
    if (value == nullptr || value[0] != '/') return {};
    std::string path = value;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    LogLine("platform: no home folder for uid %u", static_cast<unsigned>(getuid()));
    return {};
}

std::string XdgConfigHome() {
    std::string path = AbsoluteEnv("XDG_CONFIG_HOME");
    return path.empty() ? HomeFolder() + "/.config" : path;
}

std::string XdgDataHome() {
    std::string path = AbsoluteEnv("XDG_DATA_HOME");
    return path.empty() ? HomeFolder() + "/.local/share" : path;
}

std::string ProgramFileName(std::string_view programName) {
    if (programName.empty() || programName == "." || programName == "..") return "kestrix";
    std::string name(programName);
    for (char& c : name) {
        if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '_';
    }
    return name;
}

bool CreateFolderPath(const std::string& path) {
    if (path.empty()) return false;
    // Walk the path and create each prefix that ends before a '/', then the whole path.
    for (size_t pos = path.find('/', 1);; pos = path.find('/', pos + 1)) {
        const std::string prefix = pos == std::string::npos ? path : path.substr(0, pos);
        if (!prefix.empty() && mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            LogLine("platform: cannot create folder %s: %s", prefix.c_str(), std::strerror(errno));
            return false;
        }
        if (pos == std::string::npos) break;
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        LogLine("platform: %s is not a folder", path.c_str());
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    std::string temporary = path + ".XXXXXX";
    UniqueFd fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.Valid()) {
        LogLine("platform: cannot create %s: %s", temporary.c_str(), std::strerror(errno));
        return false;
    }
    // mkstemp makes the file 0600; a settings file is not secret, give it the usual mode.
    bool ok = fd.WriteAll(content.data(), content.size()) && fchmod(fd.Get(), 0644) == 0 &&
              fsync(fd.Get()) == 0;
    const int savedErrno = errno;
    if (!fd.Close()) ok = false;
    if (!ok) {
        LogLine("platform: cannot write %s: %s", temporary.c_str(), std::strerror(savedErrno));
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        LogLine("platform: cannot replace %s: %s", path.c_str(), std::strerror(errno));
        unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here loses nothing already visible.
    const UniqueFd folder(open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid()) fsync(folder.Get());
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    const UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) return false;
    content.clear();
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        content.append(buffer, static_cast<size_t>(n));
    }
}

std::string CurrentExecutablePath() {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        LogLine("platform: cannot read /proc/self/exe: %s", std::strerror(errno));
        return {};
    }
    return std::string(buffer.data(), static_cast<size_t>(length));
}

}  // namespace kestrix
