// SPDX-License-Identifier: MIT
#include "app/AppUpdates.h"

#include "app/AppContext.h"
#include "app/DeviceMainDlg.h"
#include "base/Log.h"
#include "device/Catalogue.h"
#include "device/DeviceTask.h"
#include "device/HidDeviceManager.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"

namespace kestrix {

AppUpdates::AppUpdates(AppContext& context, DeviceMainDlg& window)
    : m_context(context),
      m_window(window),
      m_stopping(std::make_shared<std::atomic<bool>>(false)),
      m_deviceEvents(window.DeviceEventSink()),
      m_updateEvents(window.UpdateEventSink()),
      m_service(MakeConfig(), context.devices, m_deviceEvents, m_updateEvents) {
    // A closing window must not wait for a slow server: the transfer ends at its next check.
    m_service.Web().SetCancel([stopping = m_stopping] { return stopping->load(); });
}

AppUpdates::~AppUpdates() { Stop(); }

UpdateConfig AppUpdates::MakeConfig() {
    UpdateConfig config;
    config.applicationVersion = m_context.software.version;
    config.applicationBase = m_context.software.upgradeUrl;
    config.dataFolder = m_context.dataFolder;
    config.getLanText = [](int id) { return GetLanText(id); };
    config.firmwareTarget = [this] { return CurrentFirmwareTarget(); };
    // The installer runs detached; the program ends at once, as after a tray exit.
    config.exitProcess = [this](int exitCode) {
        if (m_stopping->load()) return;
        LogLine("installer started; ending with code %d", exitCode);
        m_context.exitProcess(exitCode);
    };
    return config;
}

void AppUpdates::Install(const DeviceWorkerHooks& given) {
    DeviceWorkerHooks hooks = given;
    if (!hooks.update) {
        hooks.update = [this](DeviceTask task) {
            m_service.RunTask(task);
            // A check that got no usable answer says so instead of leaving the last state.
            if (task == DeviceTask::UpdateCheck &&
                m_service.Status().applicationState == kUpdateStateUnknown)
                m_updateEvents.ShowApplicationCheck({}, GetLanText(text::kUpdateCheckFailed),
                                                    false);
        };
    }
    if (!hooks.firmwareUpgrade) {
        hooks.firmwareUpgrade = [this] {
            const FirmwareUpgradeResult result = m_service.UpgradeFirmware();
            LogLine("firmware upgrade %s%s",
                    result.ok ? "done" : "failed: ", result.reason.c_str());
        };
    }
    m_context.workerHooks = std::move(hooks);
    m_context.stopUpdates = [this] { Stop(); };
}

void AppUpdates::Stop() {
    m_stopping->store(true);
    m_deviceEvents.Detach();
    m_updateEvents.Detach();
}

FirmwareTarget AppUpdates::CurrentFirmwareTarget() const {
    FirmwareTarget target;
    const DeviceWorker* worker = m_window.Worker();
    if (worker == nullptr) return target;
    // Read on the worker from the model file itself: the window may not have switched to the
    // model the worker just read yet.
    const int model = worker->State().selectedModel;
    for (const CatalogueModel& entry : m_window.GetCatalogue().models) {
        if (entry.deviceType != model) continue;
        DeviceDefinition definition;
        if (LoadDeviceDefinition(m_context.moduleFolder, entry.deviceAttr, definition)) {
            target.base = definition.firmwareUrl;
        } else {
            LogLine("model file of %s could not be read for the firmware check",
                    entry.deviceAttr.c_str());
        }
        break;
    }
    // Only a mouse behind its receiver tells its firmware version.
    if (m_context.devices->GetConnectionKind() == ConnectionKind::Receiver) {
        target.currentVersion = m_window.ReportedFirmwareVersion();
    }
    return target;
}

}  // namespace kestrix
