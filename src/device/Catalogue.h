// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Text.h"  // ParseColour

namespace kestrix {

// One supported model, from a <mouse> element of config.xml, in file order.
struct CatalogueModel {
    std::string name;        // shown in the device list
    int deviceType = 0;      // model number
    std::string deviceAttr;  // names the model file and the database
    std::string image;       // <program folder>/skins/<theme>/device/<image>
};

// One USB identity under which a model appears (the mouse itself or its receiver), from a
// <mode> element; lines follow file order across all models.
struct CatalogueLine {
    CatalogueModel model;
    int mode = 0;  // 0 = the mouse itself (cable), 1 = its receiver
    std::string desc;
    uint16_t vid = 0;
    uint16_t pid = 0;
    std::string devId;  // identity code compared with the identity answer; may be empty
    std::string hidInterface;
};

struct Catalogue {
    std::vector<CatalogueModel> models;
    std::vector<CatalogueLine> lines;
};

// One button of a model, from <mouse_key>/<key>.
struct ModelKeyEntry {
    int name = 0;      // language text number of the button name
    int keyValue = 0;  // button number (key_code of the button table)
    int direction = 0;
    std::array<int, 3> rect{};
    int funcDesc = 0;  // language text number of the default function
    int funcType = 0;
    int funcValue = 0;
};

// The presentation part of the selected model's description file.
struct DeviceDefinition {
    std::string mousePicture;  // "device/" + mouse_img, relative to the skin folder
    bool lightingPage = false;
    bool showDpiTips = false;
    bool showSaveTips = false;
    bool showLod = false;
    bool showSensor = false;
    std::string firmwareUrl;
    std::vector<ModelKeyEntry> keys;
    std::array<bool, 6> lightModes{};
};

// Reads <programFolder>/config.xml. Empty lists when the file does not load or has no
// <config> root. themeName is the skin sub-folder used to build each model's image path.
Catalogue LoadCatalogue(const std::string& programFolder, const std::string& themeName = "default");

// Reads <programFolder>/device/<deviceAttr>.xml into definition. Absent elements leave the
// values that were there; false (definition untouched) when the file does not load.
bool LoadDeviceDefinition(const std::string& programFolder, const std::string& deviceAttr,
                          DeviceDefinition& definition);

// "a#b#c" to three integers (a missing number reads as 0).
std::array<int, 3> ParseRect(const std::string& text);

}  // namespace kestrix
