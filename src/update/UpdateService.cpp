// SPDX-License-Identifier: MIT
#include "update/UpdateService.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/FirmwareVersion.h"
#include "base/Log.h"
#include "base/Utf8.h"
#include "device/DeviceEvents.h"
#include "device/DeviceTask.h"
#include "device/FirmwareUpgrade.h"
#include "update/UpdateEvents.h"
#include "update/VersionText.h"
#include "update/ZipExtractor.h"

extern char** environ;

namespace kestrix {
namespace {

// Files of the installer download.
#if KESTRIX_SELF_UPDATE
void RemoveIfPresent(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) LogLine("cannot delete %s: %s", path.c_str(), error.message().c_str());
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error));
}

bool MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        LogLine("cannot create %s: %s", folder.c_str(), error.message().c_str());
        return false;
    }
    return true;
}
#endif

}  // namespace

UpdateService::UpdateService(UpdateConfig config, HidDeviceManager* manager,
                             DeviceEvents& deviceEvents, UpdateEvents& updateEvents)
    : m_config(std::move(config)),
      m_manager(manager),
      m_deviceEvents(deviceEvents),
      m_updateEvents(updateEvents) {}

std::string UpdateService::LanText(int textId) const {
    return m_config.getLanText ? m_config.getLanText(textId) : std::string();
}

std::string UpdateService::TempFolder() const { return m_config.dataFolder + "temp/"; }

UpdateStatus UpdateService::Status() const {
    std::lock_guard lock(m_mutex);
    return m_status;
}

bool UpdateService::AcceptVersionText(const std::string& text, size_t maxLength) {
    if (!utf8::IsValid(text) || text.find('\0') != std::string::npos) {
        LogLine("version answer is not text; ignored");
        return false;
    }
    const size_t length = utf8::CodePointCount(text);
    if (length < 1 || length > maxLength) {
        LogLine("version answer of %zu characters ignored", length);
        return false;
    }
    return true;
}

void UpdateService::RunTask(DeviceTask task) {
    switch (task) {
        case DeviceTask::UpdateCheck:
            CheckApplication();
            break;
        case DeviceTask::FirmwareCheck:
            CheckFirmware();
            break;
        case DeviceTask::UpdateDownload:
            DownloadInstaller();
            break;
        default:
            break;
    }
}

void UpdateService::CheckApplication() {
    {
        std::lock_guard lock(m_mutex);
        m_status.latestVersion.clear();
    }
    std::string answer;
    if (m_web.WebGetText(m_config.applicationBase + "version", answer) != kWebOk) return;
    // The version alone: it names the package to download and is shown.
    const std::string body(TrimVersionText(answer));
    if (!AcceptVersionText(body, kApplicationVersionMaxLength)) return;

    const bool newer = CompareVersions(m_config.applicationVersion, body) > 0;
    {
        std::lock_guard lock(m_mutex);
        m_status.latestVersion = body;
        m_status.applicationState = newer ? kUpdateStateNewer : kUpdateStateCurrent;
    }
    if (newer && !kSelfUpdate) {
        m_updateEvents.ShowApplicationCheck(
            body,
            ApplicationVersionLabel(LanText(kTextNewVersion), body) + ", " +
                LanText(kTextUpdateThroughSystem),
            false);
    } else if (newer) {
        m_updateEvents.ShowApplicationCheck(
            body, ApplicationVersionLabel(LanText(kTextNewVersion), body), true);
        m_deviceEvents.UpdateAvailable(kUpdateKindApplication);
    } else {
        m_updateEvents.ShowApplicationCheck(body, LanText(kTextUpToDate), false);
    }
}

void UpdateService::CheckFirmware() {
    const FirmwareTarget target =
        m_config.firmwareTarget ? m_config.firmwareTarget() : FirmwareTarget{};
    {
        std::lock_guard lock(m_mutex);
        m_status.latestFirmware.clear();
    }
    if (target.base.empty()) return;  // the model has no firmware service
    std::string answer;
    if (m_web.WebGetText(target.base + "/mouse/version", answer) != kWebOk) return;
    // The version alone: it names the package to flash and is shown.
    const std::string body(TrimVersionText(answer));
    if (!AcceptVersionText(body, kFirmwareVersionMaxLength)) return;

    // Without the mouse's own version there is nothing to compare with: the mouse may be
    // up to date or not, and saying either would be a guess.
    int state = kUpdateStateNotCompared;
    if (!TrimVersionText(target.currentVersion).empty()) {
        state = CompareVersions(target.currentVersion, body) > 0 ? kUpdateStateNewer
                                                                 : kUpdateStateCurrent;
    }
    {
        std::lock_guard lock(m_mutex);
        m_status.latestFirmware = body;
        m_status.firmwareBase = target.base;
        m_status.firmwareState = state;
    }
    if (state == kUpdateStateNewer) {
        m_updateEvents.ShowFirmwareCheck(
            body, FormatFirmwareVersion(LanText(kTextNewVersion), body), state);
        m_deviceEvents.UpdateAvailable(kUpdateKindFirmware);
    } else {
        m_updateEvents.ShowFirmwareCheck(
            body, LanText(state == kUpdateStateCurrent ? kTextUpToDate : kTextFirmwareNotCompared),
            state);
    }
}

bool UpdateService::DownloadInstaller() {
#if !KESTRIX_SELF_UPDATE
    LogLine(
        "this build leaves program updates to the system's package manager; nothing downloaded");
    m_updateEvents.DownloadFailed();
    return false;
#else
    const std::string version = Status().latestVersion;
    if (!FirmwareUpgrade::IsPlainVersion(version)) {
        LogLine("no usable application version \"%s\" to download", version.c_str());
        m_updateEvents.DownloadFailed();
        return false;
    }
    const std::string packageName = "Mouse-Setup-" + version + ".zip";
    const std::string url = m_config.applicationBase + "//" + packageName;
    const std::string folder = TempFolder();
    const std::string packagePath = folder + packageName;
    const std::string installerPath = folder + "Mouse-Setup-" + version + ".AppImage";

    MakeFolder(folder);
    RemoveIfPresent(packagePath);
    // Only an installer this package delivered is ever started.
    RemoveIfPresent(installerPath);
    m_web.WebDownload(url, packagePath,
                      [this](int percent) { m_deviceEvents.UpdateProgress(percent); });

    bool complete = false;
    if (IsFile(packagePath)) {
        const ZipExtractResult result = ZipExtractor().Extract(packagePath, folder);
        if (result.opened) RemoveIfPresent(packagePath);
        complete = result.complete;
        if (!complete) LogLine("installer package %s did not unpack cleanly", packageName.c_str());
    }
    if (complete && IsFile(installerPath) && StartInstaller(installerPath)) {
        if (m_config.exitProcess) m_config.exitProcess(0);
        return true;
    }
    LogLine("no installer started for version %s", version.c_str());
    m_updateEvents.DownloadFailed();
    return false;
#endif
}

bool UpdateService::StartInstaller(const std::string& path) {
#if !KESTRIX_SELF_UPDATE
    LogLine("installer %s not started: this build has no self-updater", path.c_str());
    return false;
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        LogLine("installer %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    if (::chmod(path.c_str(), (info.st_mode & 07777) | S_IXUSR | S_IXGRP | S_IXOTH) != 0) {
        LogLine("cannot make %s executable: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own session, so the installer outlives the program that is about to end.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::string program = path;
    char* arguments[] = {program.data(), nullptr};
    pid_t pid = 0;
    const int result = posix_spawn(&pid, path.c_str(), nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        LogLine("cannot start installer %s: %s", path.c_str(), std::strerror(result));
        return false;
    }
    LogLine("installer %s started (pid %d)", path.c_str(), static_cast<int>(pid));
    return true;
#endif
}

FirmwareUpgradeResult UpdateService::UpgradeFirmware() {
    if (m_manager == nullptr) {
        LogLine("firmware upgrade without a device manager; skipped");
        return {false, "no device manager for the firmware upgrade"};
    }
    const UpdateStatus status = Status();
    FirmwareUpgradeSteps steps;
    steps.progress = [this](int textId, int percent) {
        m_updateEvents.FirmwareStep(textId, percent);
    };
    steps.download = [this](const std::string& url, const std::string& path) {
        m_web.WebDownload(url, path,
                          [this](int percent) { m_deviceEvents.UpdateProgress(percent); });
    };
    steps.extract = [](const std::string& zipPath, const std::string& folder) {
        return ZipExtractor().Extract(zipPath, folder).complete;
    };
    return FirmwareUpgrade(*m_manager, std::move(steps))
        .UpgradeFirmware(status.latestFirmware, status.firmwareBase, TempFolder());
}

}  // namespace kestrix
