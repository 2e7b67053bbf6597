// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

// The tasks the window, the editors and kestrixctl queue for the device worker. They travel as
// this type through the TaskQueue; the numbers are fixed because logs and kestrixctl's output
// show them (TaskNumber).
enum class DeviceTask : int {
    RebuildAndRead = 1,         // rebuild with the catalogue, rescan, read the mouse
    ArrivalRebuildAndRead = 2,  // the same, queued on device arrival
    RemovalRescan = 3,          // queued on device removal
    ReadWithRefresh = 4,        // device chosen in the list
    WriteAll = 5,
    WriteButtons = 6,
    SelectedButtonReport = 7,
    WriteLighting = 8,
    WriteDpiStages = 9,
    WriteDpiColours = 10,
    WriteReportRate = 11,
    WriteLiftOffAndSensor = 12,
    WriteSleepOptions = 13,
    RestoreLighting = 17,
    ResetDpi = 18,
    Nothing = 19,
    RestoreFactory = 20,
    PointerSettings = 22,
    UpdateCheck = 23,     // application version check
    FirmwareCheck = 24,   // firmware version check of the selected mouse
    UpdateDownload = 26,  // application installer download
    FirmwareUpgrade = 27,
};

// The task's number, as logs and kestrixctl's "task" field show it.
constexpr int TaskNumber(DeviceTask task) { return static_cast<int>(task); }

}  // namespace kestrix
