// SPDX-License-Identifier: MIT
#include "rules/PerformanceDefaults.h"

#include <cctype>

#include "base/Log.h"
#include "base/Text.h"
#include "store/DataStore.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

std::string Decimal(const std::string& text) { return Format("%d", ParseDecimal(text)); }

}  // namespace

std::string ModelFilePath(const std::string& programFolder, const std::string& deviceAttr) {
    std::string path = programFolder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "device/" + deviceAttr + ".xml";
}

std::vector<SettingValue> ReadPerformanceDefaults(XmlDocument& model, bool dpiOnly) {
    std::vector<SettingValue> values;
    if (!model.FindElement("mouse") || !model.IntoElement()) return values;
    if (!model.FindElement("mouse_info") || !model.IntoElement()) return values;

    if (model.FindElement("dpi_info")) {
        std::string count = Decimal(model.GetAttribute("dpi_count"));
        values.push_back({"dpi_index", Decimal(model.GetAttribute("default_dpi"))});
        values.push_back({"dpi_flag", count});
        values.push_back({"dpi_count", count});
        model.IntoElement();
        for (int stage = 0; stage < 6; ++stage) {
            if (!model.FindElement(Format("dpi_%d", stage + 1))) continue;
            values.push_back(
                {Format("dpi_group%d_value", stage), Decimal(model.GetAttribute("value"))});
            values.push_back({Format("dpi_group%d_rgb", stage),
                              Format("%d", ParseColour(model.GetAttribute("color")))});
        }
        model.OutOfElement();
    }
    if (dpiOnly) return values;

    // Siblings are searched forward in this order; a missing one leaves the cursor for the next.
    struct Source {
        const char* element;
        const char* attribute;
        const char* key;
    };
    static constexpr Source kSources[] = {
        {"report_rate", "default_value", "report_rate"},
        {"sleep_light", "value", "sleep_light"},
        {"move_wakeup", "value", "move_wakeup"},
        {"move_closelight", "value", "move_closelight"},
        {"lod", "value", "liftoff_height"},
        {"button_respondtime", "value", "button_respondtime"},
    };
    for (const Source& source : kSources) {
        if (model.FindElement(source.element)) {
            values.push_back({source.key, Decimal(model.GetAttribute(source.attribute))});
        }
    }
    return values;
}

bool LoadPerformanceDefaults(const std::string& programFolder, const std::string& deviceAttr,
                             DataStore& store, ProfileId profile, bool dpiOnly) {
    std::string path = ModelFilePath(programFolder, deviceAttr);
    XmlDocument model;
    if (!model.LoadFile(path)) {
        LogLine("model defaults: cannot load %s", path.c_str());
        return false;
    }
    for (const SettingValue& setting : ReadPerformanceDefaults(model, dpiOnly)) {
        store.SetSetting(profile, setting.key, setting.value);
    }
    return true;
}

}  // namespace kestrix
