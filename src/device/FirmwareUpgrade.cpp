// SPDX-License-Identifier: MIT
#include "device/FirmwareUpgrade.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

#include "base/Log.h"
#include "base/Text.h"
#include "device/Crc16Modbus.h"
#include "device/HidDeviceManager.h"

namespace kestrix {
namespace {

using std::chrono::milliseconds;

constexpr uint8_t kBootReportId = 0x05;
constexpr uint8_t kBootTarget = 0x02;
constexpr uint8_t kEnterKind = 0x02;
constexpr uint8_t kEnterData = 0x01;
constexpr uint8_t kFinishKind = 0x06;
constexpr uint8_t kFinishData = 0x02;
constexpr size_t kFirstRecordOffset = 4;
constexpr size_t kCheckedRecordBytes = 2 + kBootRecordImageBytes;

// The boot loader needs time to erase before it takes the first records.
constexpr milliseconds kSettleAfterFirstReports{10};
constexpr size_t kSettledReports = 2;
// The retry rule of a write the interface did not take.
constexpr milliseconds kRetryWriteDelay{3};
constexpr milliseconds kRetryReadDelay{5};
constexpr int kRetryReadTimeoutMs = 1000;

constexpr int kPercentDownload = 5;
constexpr int kPercentExtracted = 7;
constexpr int kPercentImageRead = 10;
constexpr int kPercentDone = 100;

BootReport ControlReport(uint8_t kind, uint8_t data) {
    BootReport report;
    report.fill(0xFF);
    report[0] = kBootReportId;
    report[1] = kBootTarget;
    report[2] = kind;
    report[3] = 0x00;
    report[4] = data;
    return report;
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) LogLine("cannot delete %s: %s", path.c_str(), error.message().c_str());
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

FirmwareUpgrade::FirmwareUpgrade(HidDeviceManager& manager, FirmwareUpgradeSteps steps)
    : m_manager(manager), m_steps(std::move(steps)) {}

std::string FirmwareUpgrade::PackageName(const std::string& version) {
    return "firmware-" + version + ".zip";
}

std::string FirmwareUpgrade::PackageUrl(const std::string& base, const std::string& version) {
    return base + "//mouse//" + PackageName(version);
}

std::string FirmwareUpgrade::ImageName(const std::string& version) {
    return "firmware     -" + version + ".bin";
}

bool FirmwareUpgrade::IsPlainVersion(const std::string& version) {
    if (version.empty() || version == "." || version == "..") return false;
    for (const char c : version) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

BootReport FirmwareUpgrade::EnterReport() { return ControlReport(kEnterKind, kEnterData); }

BootReport FirmwareUpgrade::FinishReport() { return ControlReport(kFinishKind, kFinishData); }

BootReport FirmwareUpgrade::DataReport(const uint8_t* image, size_t size, uint16_t firstRecord,
                                       size_t records) {
    BootReport report;
    report.fill(0xFF);
    report[0] = kBootReportId;
    report[1] = kBootTarget;
    report[2] = static_cast<uint8_t>(kBootRecordLength * records);
    report[3] = 0x00;
    for (size_t r = 0; r < records && r < kBootRecordsPerReport; ++r) {
        uint8_t* record = report.data() + kFirstRecordOffset + r * kBootRecordLength;
        const auto number = static_cast<uint16_t>(firstRecord + r);
        record[0] = static_cast<uint8_t>(number & 0xFF);
        record[1] = static_cast<uint8_t>(number >> 8);
        const size_t start = (size_t{firstRecord} + r) * kBootRecordImageBytes;
        for (size_t i = 0; i < kBootRecordImageBytes && start + i < size; ++i) {
            record[2 + i] = image[start + i];
        }
        const uint16_t check = Crc16Modbus(record, kCheckedRecordBytes);
        record[18] = static_cast<uint8_t>(check & 0xFF);
        record[19] = static_cast<uint8_t>(check >> 8);
    }
    return report;
}

int FirmwareUpgrade::TransferPercent(size_t sent, size_t size) {
    const size_t blocks = size / kBootBlockBytes;
    if (blocks == 0) return kPercentImageRead;
    return static_cast<int>(90 * sent / blocks + 10);
}

void FirmwareUpgrade::Progress(int textId, int percent) {
    if (m_steps.progress) m_steps.progress(textId, percent);
}

bool FirmwareUpgrade::SendBootReport(const BootReport& report) {
    HidDevice* boot = m_manager.BootLoaderInterface();
    if (boot == nullptr) {
        LogLine("boot report %02X not sent: no boot-loader interface", report[2]);
        return false;
    }
    if (boot->Write(report.data(), report.size()) > 0) return true;
    std::this_thread::sleep_for(kRetryWriteDelay);
    if (boot->Write(report.data(), report.size()) <= 0) {
        LogLine("boot report %02X: second write failed", report[2]);
    }
    std::this_thread::sleep_for(kRetryReadDelay);
    uint8_t answer[kBootLoaderReportLength] = {};
    if (boot->ReadTimeout(answer, sizeof answer, kRetryReadTimeoutMs) > 0) return true;
    LogLine("boot report %02X not sent: no answer after the retry", report[2]);
    return false;
}

bool FirmwareUpgrade::TransferImage(const uint8_t* image, size_t size) {
    const size_t fullReports = size / kBootBlockBytes;
    uint16_t record = 0;
    for (size_t sent = 0; sent < fullReports; ++sent) {
        if (!SendBootReport(DataReport(image, size, record, kBootRecordsPerReport))) {
            LogLine("firmware transfer stopped at record %u", record);
            return false;
        }
        if (sent < kSettledReports) std::this_thread::sleep_for(kSettleAfterFirstReports);
        record = static_cast<uint16_t>(record + kBootRecordsPerReport);
        Progress(kFirmwareTextTransfer, TransferPercent(sent + 1, size));
    }
    const size_t rest = size % kBootBlockBytes;
    if (rest == 0) return true;
    const size_t records = (rest + kBootRecordImageBytes - 1) / kBootRecordImageBytes;
    if (!SendBootReport(DataReport(image, size, record, records))) {
        LogLine("firmware transfer stopped at record %u", record);
        return false;
    }
    return true;
}

bool FirmwareUpgrade::LoadImage(const std::string& path, std::vector<uint8_t>& image,
                                std::string& reason) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        reason = "cannot open firmware image " + path;
        return false;
    }
    const std::streamoff size = file.tellg();
    if (size <= 0) {
        reason = "firmware image " + path + " is empty";
        return false;
    }
    if (static_cast<uint64_t>(size) > kBootLargestImage) {
        // Record numbers would wrap and overwrite the start of the flash.
        reason = Format(
            "firmware image %s has %lld bytes, more than the %zu the boot loader can address",
            path.c_str(), static_cast<long long>(size), kBootLargestImage);
        return false;
    }
    image.resize(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(image.data()), size)) {
        reason = "cannot read firmware image " + path;
        image.clear();
        return false;
    }
    return true;
}

FirmwareUpgradeResult FirmwareUpgrade::UpgradeFirmware(const std::string& version,
                                                       const std::string& base,
                                                       const std::string& workFolder) {
    FirmwareUpgradeResult result;
    // The first failure is the one a caller is told about; later ones follow from it.
    const auto fail = [&result](std::string reason) {
        LogLine("%s", reason.c_str());
        if (result.reason.empty()) result.reason = std::move(reason);
    };

    Progress(kFirmwareTextDownload, kPercentDownload);
    if (!IsPlainVersion(version)) {
        fail("firmware version \"" + version + "\" cannot name a file; upgrade skipped");
        Progress(kFirmwareTextDone, kPercentDone);
        return result;
    }
    const std::string packagePath = workFolder + PackageName(version);
    const std::string imagePath = workFolder + ImageName(version);

    std::error_code error;
    std::filesystem::create_directories(workFolder, error);
    if (error) LogLine("cannot create %s: %s", workFolder.c_str(), error.message().c_str());
    if (std::filesystem::exists(packagePath, error)) RemoveFile(packagePath);
    if (m_steps.download) m_steps.download(PackageUrl(base, version), packagePath);

    if (IsFile(packagePath)) {
        Progress(kFirmwareTextPrepare, kPercentExtracted);
        if (m_steps.extract && m_steps.extract(packagePath, workFolder)) {
            RemoveFile(packagePath);
        } else {
            fail("firmware package " + packagePath + " could not be extracted");
        }
    } else {
        fail("firmware package " + PackageName(version) + " was not downloaded from " +
             PackageUrl(base, version));
    }

    std::vector<uint8_t> image;
    std::string imageProblem;
    if (!IsFile(imagePath)) {
        fail("firmware image \"" + ImageName(version) + "\" is not in " + workFolder);
    } else if (LoadImage(imagePath, image, imageProblem)) {
        Progress(kFirmwareTextPrepare, kPercentImageRead);
    } else {
        fail(imageProblem);
    }

    if (!image.empty()) {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        m_manager.GetCommandInterface();
        if (!m_manager.CommandInterfaceIdentity(vendorId, productId)) {
            fail("firmware upgrade: no command interface");
        } else {
            m_manager.OpenBootLoaderInterface(vendorId, productId);
        }
        if (SendBootReport(EnterReport())) {
            const bool transferred = TransferImage(image.data(), image.size());
            if (!transferred)
                fail(Format("firmware transfer of %zu bytes incomplete", image.size()));
            const bool finished = SendBootReport(FinishReport());
            if (!finished) fail("firmware finish report not sent");
            result.ok = transferred && finished;
        } else {
            fail("boot loader not entered; nothing transferred");
        }
        m_manager.CloseBootLoaderInterface();
    }

    if (std::filesystem::exists(imagePath, error)) RemoveFile(imagePath);
    Progress(kFirmwareTextDone, kPercentDone);
    // A package with entries refused on unpacking still flashes the image it held; the mouse
    // then has exactly that image, which is what counts (the refusals stay in the log).
    if (result.ok) result.reason.clear();
    return result;
}

}  // namespace kestrix
