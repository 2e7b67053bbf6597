// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

// Integer task codes the window and the editors queue for the device worker. The values are
// fixed: other components queue them as plain numbers.
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

}  // namespace kestrix
