// SPDX-License-Identifier: MIT
#pragma once

#include "base/Log.h"

#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kestrix::test {

// A fresh folder under the system temp folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrix-platform-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

// Sets (or with nullptr unsets) an environment variable for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv() {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// Collects the log lines written while it lives.
class LogCapture {
  public:
    LogCapture() {
        Log::SetSink([this](std::string_view line) {
            std::lock_guard guard(m_mutex);
            m_lines.emplace_back(line);
        });
    }
    ~LogCapture() { Log::SetSink({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Lines() const {
        std::lock_guard guard(m_mutex);
        return m_lines;
    }
    // How many lines contain text.
    size_t Count(const std::string& text) const {
        size_t count = 0;
        for (const std::string& line : Lines()) count += line.find(text) != std::string::npos;
        return count;
    }

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteText(const std::string& path, const std::string& content,
                      bool executable = false) {
    std::ofstream(path, std::ios::binary) << content;
    if (executable) chmod(path.c_str(), 0755);
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace kestrix::test
