// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrix {

class HidDeviceManager;

// Boot-loader output report: report ID 0x05 first, 64 bytes in all, unused bytes 0xFF.
inline constexpr size_t kBootLoaderReportLength = 64;
using BootReport = std::array<uint8_t, kBootLoaderReportLength>;
// Image bytes per data record, records per data report, bytes of one record on the wire.
inline constexpr size_t kBootRecordImageBytes = 16;
inline constexpr size_t kBootRecordsPerReport = 3;
inline constexpr size_t kBootRecordLength = 20;
inline constexpr size_t kBootBlockBytes = kBootRecordImageBytes * kBootRecordsPerReport;
// Record numbers are 16 bits wide, so a larger image cannot be addressed without wrapping.
inline constexpr size_t kBootLargestImage = size_t{0x10000} * kBootRecordImageBytes;

// Language texts of the firmware window's steps.
inline constexpr int kFirmwareTextDownload = 590;
inline constexpr int kFirmwareTextPrepare = 591;
inline constexpr int kFirmwareTextTransfer = 592;
inline constexpr int kFirmwareTextDone = 593;

// What the firmware flow needs from outside the device layer.
struct FirmwareUpgradeSteps {
    // The firmware window shows language text textId with percent ("%s: %d%%") and its bar.
    std::function<void(int textId, int percent)> progress;
    // Downloads url to path (the web client's download routine).
    std::function<void(const std::string& url, const std::string& path)> download;
    // Extracts the zip at zipPath into folder; true when every entry was extracted.
    std::function<bool(const std::string& zipPath, const std::string& folder)> extract;
};

// How a firmware upgrade ended: ok once the whole image went to the boot loader and the
// finish report was taken; otherwise the reason of the first failure (also logged).
struct FirmwareUpgradeResult {
    bool ok = false;
    std::string reason;  // empty when ok
};

// Worker task 27: downloads the firmware package, extracts the image and writes it to the
// mouse's boot-loader interface (usage page 0xFFEF of the command interface's vid/pid) as
// enter, data and finish reports. Runs on the device worker only.
class FirmwareUpgrade {
  public:
    // The manager must outlive this object.
    FirmwareUpgrade(HidDeviceManager& manager, FirmwareUpgradeSteps steps);

    // The whole task for firmware version `version` from server base `base`, working in
    // workFolder (ends in '/'). Every failure is logged and skips the steps that need its
    // result; the window always ends at 100 %. Ok only when the image was flashed.
    FirmwareUpgradeResult UpgradeFirmware(const std::string& version, const std::string& base,
                                          const std::string& workFolder);

    // Writes one report to the open boot-loader interface. Sent when the write takes it;
    // otherwise after 3 ms one more write, after 5 ms a read of up to 1000 ms, and sent only
    // when that read returns data. False without a boot-loader interface.
    bool SendBootReport(const BootReport& report);
    // Sends the image as data reports of three records (the last one shorter when the size
    // is not a multiple of 48) with progress after every full report. Stops at the first
    // report that is not sent; returns false then.
    bool TransferImage(const uint8_t* image, size_t size);

    // "firmware-<version>.zip".
    static std::string PackageName(const std::string& version);
    // "<base>//mouse//firmware-<version>.zip".
    static std::string PackageUrl(const std::string& base, const std::string& version);
    // "firmware     -<version>.bin" (five spaces before the hyphen).
    static std::string ImageName(const std::string& version);

    // The enter and finish reports.
    static BootReport EnterReport();
    static BootReport FinishReport();
    // A data report with `records` (1 to 3) records numbered from firstRecord, holding the
    // image bytes from firstRecord * 16 on; bytes past the end of the image are 0xFF.
    static BootReport DataReport(const uint8_t* image, size_t size, uint16_t firstRecord,
                                 size_t records);

    // True when version can stand inside a file name: not empty, no '/', '\\', control
    // characters, and not "." or "..". The server's text is input from the network.
    static bool IsPlainVersion(const std::string& version);

    // Progress percent after `sent` full reports of an image of size bytes.
    static int TransferPercent(size_t sent, size_t size);

  private:
    void Progress(int textId, int percent);
    // Reads the image at path; false with the reason when it is missing, empty or too large.
    bool LoadImage(const std::string& path, std::vector<uint8_t>& image, std::string& reason);

    HidDeviceManager& m_manager;
    FirmwareUpgradeSteps m_steps;
};

}  // namespace kestrix
