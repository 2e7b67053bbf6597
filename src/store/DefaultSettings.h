// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

namespace kestrix {

// One key of the per-profile settings with the text a new profile starts with.
struct DefaultSetting {
    std::string_view key;
    std::string_view value;
};

// Number of settings every new profile receives.
inline constexpr size_t kDefaultSettingCount = 40;

// The default settings in the order they are inserted for a new profile.
const std::array<DefaultSetting, kDefaultSettingCount>& DefaultSettings();

}  // namespace kestrix
