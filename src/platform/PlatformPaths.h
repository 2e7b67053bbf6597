// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Small POSIX helpers shared by the platform services: the XDG base folders, folder
// creation and whole-file replacement. Paths are UTF-8 and never end in '/' unless noted.
namespace kestrix {

// The user's home folder: $HOME, else the password database entry; empty when neither exists.
std::string HomeFolder();
// $XDG_CONFIG_HOME when it is an absolute path, else <home>/.config.
std::string XdgConfigHome();
// $XDG_DATA_HOME when it is an absolute path, else <home>/.local/share.
std::string XdgDataHome();
// The program name made safe as one path component: '/' and control characters become '_';
// an empty name, "." and ".." become "kestrix" so that no file lands one level too high.
std::string ProgramFileName(std::string_view programName);
// Creates path and every missing parent (mode 0700 for new folders, as for per-user state);
// an existing folder counts as success. Logs and returns false on failure.
bool CreateFolderPath(const std::string& path);
// Replaces path's content in one step (temporary file, fsync, rename), so a reader sees the old
// or the new file and never half of one. Logs and returns false on failure.
bool WriteFileAtomically(const std::string& path, std::string_view content);
// Reads a whole file into content; false (not logged) when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);
// Absolute path of the running executable from /proc/self/exe; empty (and logged) on failure.
std::string CurrentExecutablePath();

}  // namespace kestrix
