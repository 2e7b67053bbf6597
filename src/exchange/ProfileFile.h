// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "device/DeviceTask.h"
#include "exchange/SettingRanges.h"
#include "store/StoreRows.h"

namespace kestrix {

class DataStore;

// Device task that writes every stored setting of the current profile to the mouse.
inline constexpr DeviceTask kApplyProfileTask = DeviceTask::WriteAll;

// Shown form of a stored profile name (the language's profile rule), used for the name the
// file carries.
using ProfileNameRenderer = std::function<std::string(const std::string& storedName)>;
// Appends a device task to the worker's queue.
using TaskQueuer = std::function<void(DeviceTask task)>;

// Writes profile as a profile file at path: button assignments, the lighting rows and the
// active effect (only when lightingPage), the DPI stages and the listed performance
// settings; UTF-8 without BOM, "\r\n" after every element. A setting that cannot be read is
// written empty. False (and a log line) when the file cannot be written.
bool ExportProfile(DataStore& store, ProfileId profile, const std::string& path, bool lightingPage,
                   const ProfileNameRenderer& shownName);

// What an import did.
struct ProfileImportResult {
    bool imported = false;    // false: nothing was changed
    std::string profileName;  // the new stored name (file name without its last four characters)
    std::string refusal;      // why a file whose values are out of range was refused; else empty
};

// Loads a profile file into profile: renames it after the file, replaces its button
// assignments, updates the lighting rows of modes it has (only when lightingPage and the
// file has lighting), stores the DPI and performance settings the file holds, then queues
// kApplyProfileTask through queueTask. All rows are written in one transaction. A file that
// is missing, not well formed, or has no <profile> root with a <profileinfo>, and a write the
// store refuses, change nothing and queue nothing (imported false, a log line with the
// reason as the last line). Every value is checked first against the ranges of the mouse in
// limits (CheckProfileValues): a file with a value out of range changes nothing and queues
// nothing (imported false, refusal and the log line name the attribute and the accepted range).
ProfileImportResult ImportProfile(DataStore& store, ProfileId profile, const std::string& path,
                                  bool lightingPage, const SettingLimits& limits,
                                  const TaskQueuer& queueTask);

}  // namespace kestrix
