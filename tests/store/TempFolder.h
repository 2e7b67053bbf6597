// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace kestrix::test {

// A fresh folder under the system temp folder for one test, removed afterwards. path()
// ends with '/', as the data folder does.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrix-test-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        if (!made) ADD_FAILURE() << "mkdtemp failed";
        m_path = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

}  // namespace kestrix::test
