// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/StoreRows.h"

namespace kestrix {

class DataStore;
class XmlDocument;

// One setting key with the decimal text a model file gives it.
struct SettingValue {
    std::string key;
    std::string value;

    bool operator==(const SettingValue&) const = default;
};

// "<programFolder>/device/<deviceAttr>.xml", whether or not programFolder ends with '/'.
std::string ModelFilePath(const std::string& programFolder, const std::string& deviceAttr);

// The performance defaults under <mouse>/<mouse_info> of a loaded model document, in the
// order they are stored: from <dpi_info> dpi_index, dpi_flag, dpi_count and the six stage
// values and colours (colours as "%d" of red + 256*green + 65536*blue); unless dpiOnly, then
// report_rate, sleep_light, move_wakeup, move_closelight, liftoff_height (from <lod>) and
// button_respondtime. Missing elements give no entry. Moves the document's cursor.
std::vector<SettingValue> ReadPerformanceDefaults(XmlDocument& model, bool dpiOnly);

// Reads the model file and stores its performance defaults over the settings of profile
// with SetSetting; keys the file does not give keep their values. False (nothing stored,
// a log line) when the model file does not load or has no <mouse> root.
bool LoadPerformanceDefaults(const std::string& programFolder, const std::string& deviceAttr,
                             DataStore& store, ProfileId profile, bool dpiOnly);

}  // namespace kestrix
