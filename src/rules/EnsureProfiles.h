// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "store/StoreRows.h"

namespace kestrix {

class DataStore;

// Text id of the profile name prefix ("Profile") in the language files.
inline constexpr int kProfileNameTextId = 61;

// Makes sure the model's database has profiles and one of them is active. An empty profile
// table gets four profiles named "<text 61> 1" .. "<text 61> 4" (getLanText looks the text
// up in the current language), each filled with the model's performance defaults from
// "<programFolder>/device/<deviceAttr>.xml", and profile 1 becomes active. A database
// without an active profile gets profile 1 activated. Returns the active profile, which
// also becomes the store's current profile (0 when even that failed).
ProfileId EnsureProfiles(DataStore& store, const std::string& programFolder,
                         const std::string& deviceAttr,
                         const std::function<std::string(int textId)>& getLanText);

}  // namespace kestrix
