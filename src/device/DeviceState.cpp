// SPDX-License-Identifier: MIT
#include "device/DeviceState.h"

namespace kestrix {

int ReportRateClassOf(uint8_t capability) {
    switch (capability) {
        case 0x10:
            return 5;
        case 0x20:
            return 6;
        case 0x40:
            return 7;
        default:
            return 4;
    }
}

}  // namespace kestrix
