// SPDX-License-Identifier: MIT
#include "platform/Autostart.h"

#include "base/Log.h"
#include "platform/PlatformPaths.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kestrix {
namespace {

constexpr char kReservedInExec[] = " \t\n\"'\\><~|&;$*?#()`";

// A desktop-entry string value: backslash and control characters escaped.
std::string EscapeString(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

LinuxAutostart::LinuxAutostart(const std::string& programName, std::string executablePath)
    : m_programName(programName),
      m_executablePath(std::move(executablePath)),
      m_entryPath(XdgConfigHome() + "/autostart/" + ProgramFileName(programName) + ".desktop") {
    if (m_executablePath.empty()) {
        const char* appImage = std::getenv("APPIMAGE");
        m_executablePath =
            appImage != nullptr && appImage[0] == '/' ? appImage : CurrentExecutablePath();
    }
}

std::string LinuxAutostart::ExecValue(const std::string& executablePath) {
    std::string program = executablePath;
    if (program.find_first_of(kReservedInExec) != std::string::npos) {
        std::string quoted = "\"";
        for (const char c : program) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
            quoted += c;
        }
        program = quoted + "\"";
    }
    std::string exec;
    for (const char c : program) {
        exec += c;
        if (c == '%') exec += '%';
    }
    return EscapeString(exec + " " + kAutorunArgument);
}

bool LinuxAutostart::IsEnabled() const {
    struct stat info {};
    return stat(m_entryPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool LinuxAutostart::Enable() {
    if (m_executablePath.empty()) {
        LogLine("autostart: no executable path, log-on entry not written");
        return false;
    }
    const std::string folder = m_entryPath.substr(0, m_entryPath.rfind('/'));
    if (!CreateFolderPath(folder)) return false;
    const std::string content =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=" +
        EscapeString(m_programName) +
        "\n"
        "Exec=" +
        ExecValue(m_executablePath) +
        "\n"
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    return WriteFileAtomically(m_entryPath, content);
}

bool LinuxAutostart::Disable() {
    if (unlink(m_entryPath.c_str()) == 0 || errno == ENOENT) return true;
    LogLine("autostart: cannot remove %s: %s", m_entryPath.c_str(), std::strerror(errno));
    return false;
}

}  // namespace kestrix
