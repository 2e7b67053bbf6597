// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix {

// The argument the log-on entry adds after the executable; start-up accepts and ignores it.
inline constexpr char kAutorunArgument[] = "-autorun";

// Starting the program when the user logs on. The entry's presence is the state.
class Autostart {
  public:
    virtual ~Autostart() = default;
    // True when the log-on entry exists.
    virtual bool IsEnabled() const = 0;
    // Writes the entry that starts "<executable> -autorun"; false (logged) when it cannot.
    virtual bool Enable() = 0;
    // Removes the entry; true when it is gone afterwards (also when there was none).
    virtual bool Disable() = 0;
};

// The XDG autostart entry $XDG_CONFIG_HOME/autostart/<program name>.desktop.
class LinuxAutostart final : public Autostart {
  public:
    // executablePath defaults to the running program ($APPIMAGE when run as an AppImage,
    // since /proc/self/exe then points into a mount that is gone after exit).
    explicit LinuxAutostart(const std::string& programName, std::string executablePath = {});

    bool IsEnabled() const override;
    bool Enable() override;
    bool Disable() override;

    // Full path of the .desktop file.
    const std::string& EntryPath() const { return m_entryPath; }
    // The Exec value for executablePath: "<exe> -autorun", the path quoted only when it holds
    // characters the desktop-entry format reserves, '%' doubled, backslashes escaped for the file.
    static std::string ExecValue(const std::string& executablePath);

  private:
    std::string m_programName;
    std::string m_executablePath;
    std::string m_entryPath;
};

}  // namespace kestrix
