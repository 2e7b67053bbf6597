// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "store/StoreRows.h"

namespace kestrix {

class DataStore;

// Text id of the profile name prefix ("Profile") in the language files.
inline constexpr int kProfileNameTextId = 61;

// Number of profiles every model's database holds.
inline constexpr int kProfileCount = 4;

// Makes the model's database whole, in one transaction (so two processes starting at once
// end with one set of profiles): a profile table with fewer than four profiles is completed
// up to four, named "<text 61> N" (getLanText looks the text up in the current language)
// and filled with the model's performance defaults from
// "<programFolder>/device/<deviceAttr>.xml"; every profile gets the setting rows it lacks
// (the model's value where the model file gives one, else the built-in default); when
// lightModes is given, every profile gets the lighting rows of the enabled effects it lacks;
// and exactly one profile is active (the first active one, else the first profile).
// Returns the active profile, which also becomes the store's current profile. Returns 0 and
// changes nothing when the store could not be read or refused a write; a failed read is
// never taken for an empty table.
ProfileId EnsureProfiles(DataStore& store, const std::string& programFolder,
                         const std::string& deviceAttr,
                         const std::function<std::string(int textId)>& getLanText,
                         const std::optional<std::array<bool, 6>>& lightModes = std::nullopt);

}  // namespace kestrix
