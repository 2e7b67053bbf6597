// SPDX-License-Identifier: MIT
#include "device/DeviceMatching.h"

#include <cctype>

#include "base/Log.h"
#include "device/HidBackend.h"
#include "device/HidDeviceManager.h"

namespace kestrix {

std::vector<DeviceFilterEntry> BuildFilterList(const std::vector<CatalogueLine>& lines) {
    std::vector<DeviceFilterEntry> filter;
    filter.reserve(lines.size());
    for (const CatalogueLine& line : lines) {
        DeviceFilterEntry entry;
        entry.vendorId = line.vid;
        entry.productId = line.pid;
        entry.modelNumber = line.model.deviceType;
        entry.mode = line.mode;
        entry.identityCode = line.devId;
        filter.push_back(std::move(entry));
    }
    return filter;
}

bool IsConfigurationInterface(HidBackend& backend, const std::string& path) {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    if (!backend.ReadTopCollection(path, usagePage, usage)) {
        return false;
    }
    return usagePage == kConfigurationUsagePage && usage == kConfigurationUsage;
}

std::optional<DeviceTask> UpdateUSBDevice(
    DeviceEventType event, uint16_t vendorId, uint16_t productId, int interfaceNumber,
    const std::string& path, const std::vector<CatalogueLine>& lines, bool devicePresent,
    const std::function<bool(const std::string&)>& isConfigurationInterface) {
    std::string upper = path;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    LogLine("UpdateUSBDevice path: %s", upper.c_str());
    if (event == DeviceEventType::Arrival) {
        for (const CatalogueLine& line : lines) {
            if (line.vid != vendorId || line.pid != productId) {
                continue;
            }
            if (isConfigurationInterface && isConfigurationInterface(path))
                return DeviceTask::ArrivalRebuildAndRead;
            return std::nullopt;
        }
        return std::nullopt;
    }
    if (event == DeviceEventType::RemoveComplete && devicePresent) {
        for (const CatalogueLine& line : lines) {
            if (line.vid == vendorId && line.pid == productId &&
                interfaceNumber == kConfigurationInterfaceNumber) {
                return DeviceTask::RemovalRescan;
            }
        }
    }
    return std::nullopt;
}

int RebuildWithCatalogue(HidDeviceManager& manager, const std::vector<CatalogueLine>& lines) {
    manager.SetFilter(BuildFilterList(lines));
    return manager.Rebuild();
}

RescanResult RescanDevices(HidDeviceManager& manager, int rememberedModel, bool rebuild) {
    if (rebuild) manager.Rebuild();
    manager.SetSelectedModel(0);
    RescanResult result;
    result.entries = manager.ListEntries();
    manager.SetSelectedModel(rememberedModel);
    for (const HidDeviceEntryView& entry : result.entries) {
        if (entry.modelNumber > 0) {
            result.anyIdentified = true;
        }
    }
    return result;
}

}  // namespace kestrix
