// SPDX-License-Identifier: MIT
#include "device/Catalogue.h"

#include "base/Log.h"
#include "base/Text.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

// folder + "/" + name, without doubling a separator the folder already ends with.
std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

int DecimalAttribute(const XmlDocument& doc, const char* name) {
    return ParseDecimal(doc.GetAttribute(name));
}

bool FlagAttribute(const XmlDocument& doc, const char* name) {
    return DecimalAttribute(doc, name) == 1;
}

}  // namespace

Catalogue LoadCatalogue(const std::string& programFolder, const std::string& themeName) {
    Catalogue catalogue;
    const std::string path = JoinPath(programFolder, "config.xml");
    XmlDocument doc;
    if (!doc.LoadFile(path)) return catalogue;  // LoadFile logged why
    if (!doc.FindElement("config")) {
        LogLine("LoadCatalogue: %s has no <config> root", path.c_str());
        return catalogue;
    }
    doc.IntoElement();
    if (!doc.FindElement("device")) return catalogue;
    doc.IntoElement();
    const std::string imageFolder =
        JoinPath(JoinPath(JoinPath(programFolder, "skins"), themeName), "device");
    while (doc.FindElement("mouse")) {
        CatalogueModel model;
        model.name = doc.GetAttribute("name");
        model.deviceType = DecimalAttribute(doc, "device_type");
        model.deviceAttr = doc.GetAttribute("device_attr");
        model.image = JoinPath(imageFolder, doc.GetAttribute("image"));
        catalogue.models.push_back(model);

        doc.IntoElement();
        while (doc.FindElement("mode")) {
            CatalogueLine line;
            line.model = model;
            line.mode = DecimalAttribute(doc, "value");
            line.desc = doc.GetAttribute("desc");
            line.vid = static_cast<uint16_t>(ParseHex(doc.GetAttribute("vid")));
            line.pid = static_cast<uint16_t>(ParseHex(doc.GetAttribute("pid")));
            line.devId = doc.GetAttribute("dev_id");
            line.hidInterface = doc.GetAttribute("hid_interface");
            catalogue.lines.push_back(line);
        }
        doc.OutOfElement();
    }
    return catalogue;
}

bool LoadDeviceDefinition(const std::string& programFolder, const std::string& deviceAttr,
                          DeviceDefinition& definition) {
    const std::string path = JoinPath(JoinPath(programFolder, "device"), deviceAttr + ".xml");
    XmlDocument doc;
    if (!doc.LoadFile(path)) return false;  // LoadFile logged why
    if (!doc.FindElement("mouse")) {
        LogLine("LoadDeviceDefinition: %s has no <mouse> root", path.c_str());
        return false;
    }
    doc.IntoElement();

    // The search only moves forward, so these are read in file order; one that stands out of
    // order is not found and its values stay as they were.
    if (doc.FindElement("image_file"))
        definition.mousePicture = "device/" + doc.GetAttribute("mouse_img");
    if (doc.FindElement("menu")) definition.lightingPage = FlagAttribute(doc, "light");
    if (doc.FindElement("custom")) {
        definition.showDpiTips = FlagAttribute(doc, "show_dpitips");
        definition.showSaveTips = FlagAttribute(doc, "show_savetips");
        definition.showLod = FlagAttribute(doc, "show_lod");
        definition.showSensor = FlagAttribute(doc, "show_sensor");
    }
    if (doc.FindElement("firmware")) definition.firmwareUrl = doc.GetAttribute("url");
    if (doc.FindElement("mouse_key")) {
        definition.keys.clear();
        doc.IntoElement();
        while (doc.FindElement("key")) {
            ModelKeyEntry key;
            key.name = DecimalAttribute(doc, "name");
            key.keyValue = DecimalAttribute(doc, "key_value");
            key.direction = DecimalAttribute(doc, "direction");
            key.rect = ParseRect(doc.GetAttribute("rect"));
            key.funcDesc = DecimalAttribute(doc, "func_desc");
            key.funcType = DecimalAttribute(doc, "func_type");
            key.funcValue = DecimalAttribute(doc, "func_value");
            definition.keys.push_back(key);
        }
        doc.OutOfElement();
    }
    if (doc.FindElement("mouse_info")) {
        doc.IntoElement();
        if (doc.FindElement("light_info")) {
            doc.IntoElement();
            for (size_t i = 0; i < definition.lightModes.size(); ++i) {
                if (doc.FindElement("light_" + std::to_string(i + 1))) {
                    definition.lightModes[i] = FlagAttribute(doc, "enable");
                }
            }
        }
    }
    return true;
}

std::array<int, 3> ParseRect(const std::string& text) {
    std::array<int, 3> rect{};
    size_t start = 0;
    for (size_t part = 0; part < rect.size() && start <= text.size(); ++part) {
        size_t hash = text.find('#', start);
        if (hash == std::string::npos) hash = text.size();
        rect[part] = ParseDecimal(std::string_view(text).substr(start, hash - start));
        start = hash + 1;
    }
    return rect;
}

}  // namespace kestrix
