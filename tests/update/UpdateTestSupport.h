// SPDX-License-Identifier: MIT
#pragma once

// Shared by the update tests: a temporary folder, zip packages built with minizip, and a
// recorder of the update events.

#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "base/Text.h"
#include "update/UpdateEvents.h"

namespace kestrix::testing {

// A fresh folder below the system temp folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrix-update-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder, ending in '/'.
    std::string Path() const { return m_path.string() + "/"; }

  private:
    std::filesystem::path m_path;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

// One entry of a zip built by the tests.
struct ZipEntry {
    std::string name;
    std::string data;
    unsigned long unixMode = 0100644;  // 0120777 makes a symbolic link whose target is data
};

// Builds a zip with minizip (deflated entries, "made by" Unix so the modes count); false when
// minizip refuses.
inline bool BuildZip(const std::string& path, const std::vector<ZipEntry>& entries) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) return false;
    bool good = true;
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info{};
        info.external_fa = entry.unixMode << 16;
        const int opened =
            zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                    Z_DEFAULT_STRATEGY, nullptr, 0, (3 << 8) | 30, 0, 0);
        good = good && opened == ZIP_OK &&
               zipWriteInFileInZip(zip, entry.data.data(),
                                   static_cast<unsigned>(entry.data.size())) == ZIP_OK &&
               zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && good;
}

inline std::string ZipBytes(const std::string& scratchFolder,
                            const std::vector<ZipEntry>& entries) {
    const std::string path = scratchFolder + "built.zip";
    if (!BuildZip(path, entries)) return {};
    std::string bytes = ReadFile(path);
    std::filesystem::remove(path);
    return bytes;
}

// Records every update event as one line, e.g. "FirmwareStep(592,55)".
class RecordingUpdateEvents : public UpdateEvents {
  public:
    void ShowApplicationCheck(const std::string& latest, const std::string& label,
                              bool enabled) override {
        Add(Format("ShowApplicationCheck(%s,%s,%d)", latest.c_str(), label.c_str(), enabled));
    }
    void ShowFirmwareCheck(const std::string& latest, const std::string& label,
                           int state) override {
        Add(Format("ShowFirmwareCheck(%s,%s,%d)", latest.c_str(), label.c_str(), state));
    }
    void FirmwareStep(int textId, int percent) override {
        Add(Format("FirmwareStep(%d,%d)", textId, percent));
    }
    void DownloadFailed() override { Add("DownloadFailed"); }

    std::vector<std::string> Calls() const {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

  private:
    void Add(std::string call) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

}  // namespace kestrix::testing
