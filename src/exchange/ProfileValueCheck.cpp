// SPDX-License-Identifier: MIT
#include "exchange/ProfileValueCheck.h"

#include <array>

#include "base/Text.h"
#include "store/DefaultSettings.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

// The settings under <Mouse>, each an element with a "value" attribute.
constexpr std::array<const char*, 9> kMouseSettings = {
    "button_respondtime", "report_rate", "sensor_flag", "liftoff_height",  "scroll_flag",
    "e-sports_flag",      "sleep_light", "move_wakeup", "move_closelight",
};
// Brightness and speed of a lighting effect, as the lighting page's sliders offer them.
constexpr int kMaxLightLevel = 4;

// Refusal text for element's attribute when its value is not inside range; empty when it is.
// True when text is the value a new profile starts with for key: the page shows it and sends
// it although it would not write it itself (the sensor options' default 53 carries two bits no
// check box sets), so a file holding it is a file Kestrix wrote.
bool IsStoredDefault(const std::string& key, int value) {
    for (const DefaultSetting& setting : DefaultSettings()) {
        int number = 0;
        if (setting.key == key && ParseInteger(setting.value, number)) return number == value;
    }
    return false;
}

std::string Refusal(const std::string& element, const char* attribute, const std::string& value,
                    const std::string& key, const SettingRange& range, int* parsed = nullptr) {
    int number = 0;
    if (ParseInteger(value, number) && (range.Accepts(number) || IsStoredDefault(key, number))) {
        if (parsed != nullptr) *parsed = number;
        return {};
    }
    return Format("<%s %s=\"%s\">: %s must be %s", element.c_str(), attribute, value.c_str(),
                  key.c_str(), range.text.c_str());
}

std::string CheckDpi(XmlDocument& doc, SettingLimits& limits) {
    std::string refusal;
    for (const char* key : {"dpi_flag", "dpi_count"}) {
        refusal =
            Refusal("Mouse_DPI", key, doc.GetAttribute(key), key, *RangeOfSetting(key, limits),
                    std::string_view(key) == "dpi_count" ? &limits.dpiCount : nullptr);
        if (!refusal.empty()) return refusal;
    }
    refusal = Refusal("Mouse_DPI", "dpi_index", doc.GetAttribute("dpi_index"), "dpi_index",
                      *RangeOfSetting("dpi_index", limits));
    if (!refusal.empty()) return refusal;
    doc.IntoElement();
    for (int stage = 0; stage < kMaxDpiStages && refusal.empty(); ++stage) {
        const std::string element = Format("DPI%d", stage + 1);
        if (!doc.FindElement(element)) continue;
        const std::string valueKey = Format("dpi_group%d_value", stage);
        const std::string colourKey = Format("dpi_group%d_rgb", stage);
        refusal = Refusal(element, "value", doc.GetAttribute("value"), valueKey,
                          *RangeOfSetting(valueKey, limits));
        if (refusal.empty()) {
            refusal = Refusal(element, "color", doc.GetAttribute("color"), colourKey,
                              *RangeOfSetting(colourKey, limits));
        }
    }
    doc.OutOfElement();
    return refusal;
}

std::string CheckLighting(XmlDocument& doc) {
    SettingRange level;
    level.low = 0;
    level.high = kMaxLightLevel;
    level.text = Format("an integer within 0..%d", kMaxLightLevel);
    SettingRange colour;
    colour.high = kMaxStageColour;
    colour.text = "a colour within 0..0xFFFFFF (red in the low byte)";
    std::string refusal;
    doc.IntoElement();
    while (refusal.empty() && doc.FindElement("item")) {
        // An attribute the item leaves out is stored as 0, which every range holds.
        for (const char* attribute : {"brightness", "speed"}) {
            const std::string value = doc.GetAttribute(attribute);
            if (refusal.empty() && !value.empty())
                refusal = Refusal("item", attribute, value, attribute, level);
        }
        for (int i = 1; i <= 7 && refusal.empty(); ++i) {
            const std::string attribute = Format("color_value%d", i);
            const std::string value = doc.GetAttribute(attribute);
            if (!value.empty())
                refusal = Refusal("item", attribute.c_str(), value, attribute, colour);
        }
    }
    doc.OutOfElement();
    return refusal;
}

}  // namespace

std::string CheckProfileValues(const std::string& documentText, SettingLimits limits,
                               bool lightingPage) {
    XmlDocument doc;
    if (!doc.SetDocText(documentText) || !doc.FindElement("profile") || !doc.IntoElement() ||
        !doc.FindElement("profileinfo") || !doc.IntoElement()) {
        return {};
    }
    std::string refusal;
    if (lightingPage && doc.FindElement("Lightitems")) refusal = CheckLighting(doc);
    if (refusal.empty() && doc.FindElement("Mouse_DPI")) refusal = CheckDpi(doc, limits);
    if (refusal.empty() && doc.FindElement("Mouse")) {
        doc.IntoElement();
        for (const char* key : kMouseSettings) {
            if (!refusal.empty() || !doc.FindElement(key)) continue;
            refusal =
                Refusal(key, "value", doc.GetAttribute("value"), key, *RangeOfSetting(key, limits));
        }
        doc.OutOfElement();
    }
    return refusal;
}

}  // namespace kestrix
