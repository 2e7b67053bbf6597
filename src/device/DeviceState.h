// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <set>

namespace kestrix {

// The device-derived state of the selected mouse, kept for the window and read and written
// by the device worker. A plain value: the worker hands copies out under its own lock. The
// current profile is the store's (DataStore::CurrentProfile), shared by both threads.
struct DeviceState {
    // Limits every identity starts from before the sensor's own are applied.
    static constexpr int kDefaultMinimumDpi = 50;
    static constexpr int kDefaultMaximumDpi = 26000;

    int selectedModel = 0;    // model number the user works on; 0 = none
    uint16_t sensorWord = 0;  // identity bytes 8-9, kept unchanged
    uint16_t sensorCode = 0;  // identity byte 10: DPI codec and limits
    int minimumDpi = kDefaultMinimumDpi;
    int maximumDpi = kDefaultMaximumDpi;
    int reportRateClass = 4;        // 4, or 5/6/7 for capability 0x10/0x20/0x40
    uint8_t batteryA = 0;           // charge state
    uint8_t batteryB = 0;           // battery level
    uint8_t mouseOnline = 0;        // identity byte 14
    int currentLightingEffect = 0;  // read by 0x15 or chosen in the lighting editor
    std::set<int> readModels;       // models whose settings were read from the mouse this run
    bool devicePresent = false;     // the last rescan found an entry: gates input polling
    bool linkUp = false;            // the mouse behind the receiver is shown as connected
    uint8_t stageCount = 0;         // displayed DPI stage count
    uint8_t stageIndex = 0;         // displayed DPI stage index
    int selectedKey = 0;            // button selected in the button editor (selected-button report)
    int pendingMacroKey = -1;       // key code whose macro task 6 uploads first; -1 = none
    bool lightingPage = false;      // the selected model has a lighting page
};

// Report-rate class for identity byte 11.
int ReportRateClassOf(uint8_t capability);

}  // namespace kestrix
