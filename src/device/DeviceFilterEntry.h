// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix {

// One accepted USB identity of the filter list, built from one catalogue line in catalogue order.
struct DeviceFilterEntry {
    int vendorId = 0;
    int productId = 0;
    std::string text;          // always empty
    int modelNumber = 0;       // the line's device_type
    int mode = 0;              // 0 = the mouse itself (cable), 1 = a wireless receiver
    std::string identityCode;  // the line's dev_id; shorter than 4 characters means "any"
};

}  // namespace kestrix
