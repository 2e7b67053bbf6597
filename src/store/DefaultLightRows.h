// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

#include "store/StoreRows.h"

namespace kestrix {

class DataStore;

// The lighting row a profile gets for one effect the model enables (light_1 .. light_6).
struct DefaultLightRow {
    int mode;
    std::string_view name;  // fixed internal effect name, stored as is
    int configFunc;
    int reserved;  // language text number of the display name
};

// The six effects in light_1 .. light_6 order.
const std::array<DefaultLightRow, 6>& DefaultLightRows();

// The full LightRow of effect index 0..5 for profile (brightness 4, speed 2, colourful,
// the seven standard colours, inactive).
LightRow MakeDefaultLightRow(ProfileId profile, size_t effectIndex);

// Inserts one row per enabled effect, in order, then makes mode 1 active (a model without
// light_1 ends with no active effect), all in one transaction. Returns how many rows were
// inserted, 0 when the store refused (nothing is kept then).
int InsertDefaultLightRows(DataStore& store, ProfileId profile,
                           const std::array<bool, 6>& enabledEffects);

}  // namespace kestrix
