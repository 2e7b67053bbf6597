// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/Catalogue.h"
#include "device/DeviceFilterEntry.h"
#include "device/DeviceTask.h"
#include "device/HidDeviceEntry.h"

namespace kestrix {

class HidBackend;
class HidDeviceManager;

// The interface number of the configuration collection ("&MI_02").
inline constexpr int kConfigurationInterfaceNumber = 2;

// Hot-plug event kinds, as the Windows device-change events numbered them.
enum class DeviceEventType : int { Arrival = 0x8000, RemoveComplete = 0x8004, Other = 0 };

// One filter entry per catalogue line, in catalogue order.
std::vector<DeviceFilterEntry> BuildFilterList(const std::vector<CatalogueLine>& lines);

// True when the first top-level collection of the interface at path is usage page 1 / usage 0;
// false when it cannot be opened or read.
bool IsConfigurationInterface(HidBackend& backend, const std::string& path);

// What a hot-plug event asks the worker to do (0 = nothing, else the task code). The first
// catalogue line with the event's IDs decides: an arrival queues task 2 when the interface is
// the configuration collection; a removal (only while a device is present) queues task 3 when
// the interface number is 2. Logs "UpdateUSBDevice path: %s" with the upper-case path.
std::optional<DeviceTask> UpdateUSBDevice(
    DeviceEventType event, uint16_t vendorId, uint16_t productId, int interfaceNumber,
    const std::string& path, const std::vector<CatalogueLine>& lines, bool devicePresent,
    const std::function<bool(const std::string&)>& isConfigurationInterface);

// Replaces the manager's filter list with the catalogue lines and rebuilds the device list.
// Returns the number of entries. (The page refresh that follows belongs to the window.)
int RebuildWithCatalogue(HidDeviceManager& manager, const std::vector<CatalogueLine>& lines);

// The manager's part of a rescan: rebuild the list (unless the caller has just rebuilt it:
// every rebuild asks each interface for its identity again, which costs a receiver with its
// mouse off a full time-out), list all entries with the selection at 0, then select the
// remembered model. The window takes it from there (device list states, selection, captions).
struct RescanResult {
    std::vector<HidDeviceEntryView> entries;  // all entries, in list order
    bool anyIdentified = false;               // at least one entry has a model number
};
RescanResult RescanDevices(HidDeviceManager& manager, int rememberedModel, bool rebuild = true);

}  // namespace kestrix
