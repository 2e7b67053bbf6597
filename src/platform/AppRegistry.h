// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix {

// Value names under the program's key.
inline constexpr char kLcidValue[] = "LCID";              // last chosen language
inline constexpr char kDeviceTypeValue[] = "DeviceType";  // type code of the selected model
inline constexpr char kExitModeValue[] = "exit_mode";     // 1 = close hides to the tray
inline constexpr char kAutorunMinimizeValue[] = "autorun_minimize";  // "1" or "0"
// "1" = no look for a program update at start-up; missing or "0" = look.
inline constexpr char kSkipUpdateCheckValue[] = "skip_update_check";
// Low-battery warning threshold in percent: missing or "0" = the default, "-1" = no warning.
inline constexpr char kLowBatteryValue[] = "low_battery_percent";

// The program's own key of text values. Reading creates a missing key; writing never does,
// so writes before the first read of a fresh installation are dropped.
class AppRegistry {
  public:
    virtual ~AppRegistry() = default;
    // The value as a decimal number (at most its first 255 bytes are read); 0 for a missing key,
    // a missing value or non-numeric text. Creates the key when it does not exist.
    virtual int ReadAppRegistryInt(const std::string& valueName) = 0;
    // Sets valueName to text when the key exists; never creates the key. False when nothing was
    // written (missing key, a name or text that cannot be stored, or a file error, logged).
    virtual bool WriteAppRegistryString(const std::string& valueName, const std::string& text) = 0;
};

// The key as the file $XDG_CONFIG_HOME/<program name>/registry.ini with one "name=text" line
// per value. The file is the key: it exists or not. Writes replace the file atomically and
// are serialised between processes by a lock on its folder.
class LinuxAppRegistry final : public AppRegistry {
  public:
    // The file's place is fixed here from the program name and $XDG_CONFIG_HOME.
    explicit LinuxAppRegistry(const std::string& programName);

    int ReadAppRegistryInt(const std::string& valueName) override;
    bool WriteAppRegistryString(const std::string& valueName, const std::string& text) override;

    // Full path of registry.ini.
    const std::string& FilePath() const { return m_filePath; }

  private:
    std::string m_folder;
    std::string m_filePath;
};

}  // namespace kestrix
