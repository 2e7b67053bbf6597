// SPDX-License-Identifier: MIT
#include "app/DeviceColumn.h"

#include "app/AppContext.h"
#include "app/FrameControls.h"
#include "base/FirmwareVersion.h"
#include "base/Text.h"
#include "device/HidDeviceManager.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/CArea.h"
#include "ui/MControlFont.h"
#include "ui/MDialog.h"

namespace kestrix {

using namespace frame_id;

DeviceColumn::DeviceColumn(DUI::MDialog& window, AppContext& context)
    : m_window(window), m_context(context) {}

void DeviceColumn::SetModel(int model) { m_model = model; }

void DeviceColumn::ShowProfileTitle() {
    auto* label = m_window.GetControlAs<DUI::MControlFont>(kProfileLabel);
    DataStore& store = *m_context.store;
    if (label == nullptr || !store.IsOpened()) return;
    std::string name;
    if (store.GetProfileName(store.CurrentProfile(), name))
        label->SetTitle(LocaliseProfileName(name));
}

void DeviceColumn::ShowCurrentStage() {
    DataStore& store = *m_context.store;
    if (!store.IsOpened()) return;
    const ProfileId profile = store.CurrentProfile();
    int index = 0;
    int dpi = 0;
    int colour = 0;
    store.GetSettingInt(profile, "dpi_index", index);
    store.GetSettingInt(profile, Format("dpi_group%d_value", index), dpi);
    store.GetSettingInt(profile, Format("dpi_group%d_rgb", index), colour);
    if (auto* swatch = m_window.GetControlAs<DUI::CArea>(kStageSwatch)) swatch->SetBkColor(colour);
    if (auto* text = m_window.GetControlAs<DUI::MControlFont>(kStageText))
        text->SetTitle(Format("%d DPI", dpi));
}

void DeviceColumn::ShowFirmwareLabel() {
    auto* label = m_window.GetControlAs<DUI::MControlFont>(kFirmwareCheck);
    if (label == nullptr) return;
    const FirmwareLabel& firmware = m_labels[m_model];
    std::string version = firmware.mouseVersion;
    if (version.empty()) {
        const unsigned release = ReleaseNumber();
        if (release != 0) version = Format("%x", release);
    }
    std::string line = version.empty()
                           ? std::string()
                           : FormatFirmwareVersion(GetLanText(text::kFirmwarePrefix), version);
    // After a firmware check: the server's newer version, that the mouse is up to date, or
    // that the mouse's own version is unknown, so the two could not be compared.
    if (firmware.checkState != 0) {
        const std::string check =
            firmware.checkState == 1
                ? FormatFirmwareVersion(GetLanText(text::kLatestVersion), firmware.latest)
                : GetLanText(firmware.checkState == 2 ? text::kUpToDate
                                                      : text::kFirmwareNotCompared);
        line = line.empty() ? check : line + "  \u00b7  " + check;
    }
    label->SetTitle(line);
}

void DeviceColumn::SetMouseFirmware(const std::string& versionText) {
    m_labels[m_model].mouseVersion = versionText;
    ShowFirmwareLabel();
}

void DeviceColumn::SetLatestFirmware(int state, const std::string& latestFirmware) {
    FirmwareLabel& label = m_labels[m_model];
    label.checkState = state;
    label.latest = latestFirmware;
    ShowFirmwareLabel();
}

unsigned DeviceColumn::ReleaseNumber() const {
    for (const HidDeviceEntryView& entry : m_context.devices->ListEntries()) {
        if (entry.modelNumber == m_model) return entry.releaseNumber;
    }
    return 0;
}

}  // namespace kestrix
