// SPDX-License-Identifier: MIT
// Checks the shipped config.xml and model description files: a broken data file fails here.

#include "base/Text.h"
#include "device/Catalogue.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kestrix {
namespace {

const std::string kData = KESTRIX_SOURCE_DATA;
constexpr uint16_t kVendorId = 0x1209;

// Language text ids of the button functions (names and default functions of the key list).
const std::set<int> kFunctionTextIds = {106, 107, 108, 109, 110, 112, 113, 114, 115, 117, 118, 119,
                                        120, 121, 122, 123, 124, 127, 128, 129, 130, 131, 132, 133,
                                        134, 139, 142, 151, 152, 153, 154, 155, 161, 180, 181};

// What each shipped model must be.
struct ShippedModel {
    int deviceType;
    const char* name;
    const char* attr;
    int sensor;  // the sensor code its mice report, which bounds its DPI stages
    bool lighting;
    size_t keyCount;
    bool firmware;
};
const std::vector<ShippedModel> kModels = {
    {101, "Kestrix Vireo", "vireo", 53, true, 6, false},
    {102, "Kestrix Falco", "falco", 38, false, 7, false},
    {201, "Kestrix Harrier Pro", "harrier_pro", 150, true, 8, true},
};

// Whether dpi is a value the performance page of that sensor can produce.
bool DpiFitsSensor(int sensor, int dpi) {
    switch (sensor) {
        case 53:
            return dpi >= 100 && dpi <= 16000 && dpi % 100 == 0;
        case 38:
            return dpi >= 200 && dpi <= 10000 && dpi % (dpi <= 5000 ? 100 : 500) == 0;
        case 150:
            return dpi >= 50 && dpi <= 26000 && dpi % 50 == 0;
        default:
            return false;
    }
}

TEST(ShippedData, ConfigListsLanguagesDevicesAndSoftwareInOrder) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(kData + "/config.xml"));
    ASSERT_TRUE(doc.FindElement("config"));
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.FindElement("language.info"));
    EXPECT_EQ(doc.GetAttribute("default_lan"), "1033");
    ASSERT_TRUE(doc.IntoElement());
    std::vector<int> lcids;
    while (doc.FindElement("lan")) lcids.push_back(ParseDecimal(doc.GetAttribute("value")));
    EXPECT_EQ(lcids, (std::vector<int>{1033, 2052, 1028, 1041, 1042, 1058, 1049}));
    ASSERT_TRUE(doc.OutOfElement());
    // Forward search: the device list and then software must follow the languages.
    ASSERT_TRUE(doc.FindElement("device"));
    ASSERT_TRUE(doc.FindElement("software"));
    EXPECT_EQ(doc.GetAttribute("caption"), "Kestrix");
    EXPECT_EQ(doc.GetAttribute("version"), "1.0.3");
    ASSERT_TRUE(doc.IntoElement());
    for (const char* link : {"website", "feedback", "qa", "upgrade"}) {
        ASSERT_TRUE(doc.FindElement(link)) << link;
        EXPECT_EQ(doc.GetAttribute("url").rfind("https://example.com/", 0), 0u) << link;
    }
    // The update check appends "version" directly to the upgrade base.
    EXPECT_EQ(doc.GetAttribute("url").back(), '/');
}

TEST(ShippedData, CatalogueHasTheThreeModelsAndTheirLines) {
    const Catalogue catalogue = LoadCatalogue(kData);
    ASSERT_EQ(catalogue.models.size(), kModels.size());
    for (size_t i = 0; i < kModels.size(); ++i) {
        EXPECT_EQ(catalogue.models[i].deviceType, kModels[i].deviceType);
        EXPECT_EQ(catalogue.models[i].name, kModels[i].name);
        EXPECT_EQ(catalogue.models[i].deviceAttr, kModels[i].attr);
        EXPECT_EQ(catalogue.models[i].image,
                  kData + "/skins/default/device/" + kModels[i].attr + ".png");
    }
    struct Line {
        int deviceType;
        int mode;
        uint16_t pid;
        const char* devId;
    };
    const std::vector<Line> expected = {
        {101, 0, 0x5A01, ""},  // an empty identity: any mouse with this id is a Vireo
        {102, 0, 0x5A02, "FL02"}, {102, 1, 0x5A03, "FL2R"},  // written in lower case in the file
        {201, 0, 0x5A04, "HP01"}, {201, 1, 0x5A05, "HP1R"},
    };
    ASSERT_EQ(catalogue.lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const CatalogueLine& line = catalogue.lines[i];
        EXPECT_EQ(line.model.deviceType, expected[i].deviceType) << i;
        EXPECT_EQ(line.mode, expected[i].mode) << i;
        EXPECT_EQ(line.vid, kVendorId) << i;
        EXPECT_EQ(line.pid, expected[i].pid) << i;
        EXPECT_EQ(line.devId, expected[i].devId) << i;
        EXPECT_EQ(line.hidInterface, "2") << i;
        EXPECT_FALSE(line.desc.empty()) << i;
    }
}

TEST(ShippedData, EveryModelFileDescribesItsButtonsAndLighting) {
    for (const auto& model : kModels) {
        SCOPED_TRACE(model.attr);
        DeviceDefinition definition;
        ASSERT_TRUE(LoadDeviceDefinition(kData, model.attr, definition));
        EXPECT_EQ(definition.mousePicture, std::string("device/") + model.attr + "_top.png");
        EXPECT_EQ(definition.lightingPage, model.lighting);
        EXPECT_EQ(definition.firmwareUrl.empty(), !model.firmware);
        if (model.firmware) {
            EXPECT_EQ(definition.firmwareUrl.rfind("https://example.com/", 0), 0u);
        }

        ASSERT_EQ(definition.keys.size(), model.keyCount);
        ASSERT_GE(definition.keys.size(), 5u);
        ASSERT_LE(definition.keys.size(), 8u);
        std::set<int> keyValues;
        for (const auto& key : definition.keys) {
            EXPECT_TRUE(kFunctionTextIds.count(key.name)) << "name " << key.name;
            EXPECT_TRUE(kFunctionTextIds.count(key.funcDesc)) << "func_desc " << key.funcDesc;
            EXPECT_GE(key.keyValue, 0);
            EXPECT_LE(key.keyValue, 20);  // the button table holds key codes 0 to 20
            EXPECT_TRUE(keyValues.insert(key.keyValue).second)
                << "duplicate key_value " << key.keyValue;
            EXPECT_GE(key.funcType, 1);
            EXPECT_LE(key.funcType, 9);
            EXPECT_NE(key.funcValue, 0);
            EXPECT_GT(key.rect[0], 0);
            EXPECT_GT(key.rect[1], 0);
            EXPECT_GT(key.rect[2], 0);
        }
        EXPECT_TRUE(keyValues.count(0)) << "the primary button is missing";
        // The built-in defaults of the first six buttons (left, right, middle, back, forward,
        // DPI cycle) are what the list shows for them.
        const std::map<int, std::pair<int, int>> builtIn = {{0, {1, 1}}, {1, {1, 3}}, {2, {1, 2}},
                                                            {3, {1, 6}}, {4, {1, 5}}, {5, {5, 3}}};
        for (const auto& key : definition.keys) {
            const auto it = builtIn.find(key.keyValue);
            if (it == builtIn.end()) continue;
            EXPECT_EQ(std::make_pair(key.funcType, key.funcValue), it->second)
                << "key " << key.keyValue;
        }

        const bool anyEffect = std::any_of(definition.lightModes.begin(),
                                           definition.lightModes.end(), [](bool on) { return on; });
        EXPECT_EQ(anyEffect, model.lighting);
        // The lighting editor activates effect 1 on a new profile, so a lit model offers it.
        if (model.lighting) {
            EXPECT_TRUE(definition.lightModes[0]);
        }
    }
}

TEST(ShippedData, EveryModelFileHasValidPerformanceDefaults) {
    const std::set<int> reportRates = {8, 4, 2, 1, 16, 32, 64};
    const std::set<int> sleepValues = {6, 12, 30, 60, 120, 180};
    for (const auto& model : kModels) {
        SCOPED_TRACE(model.attr);
        XmlDocument doc;
        ASSERT_TRUE(doc.LoadFile(kData + "/device/" + model.attr + ".xml"));
        ASSERT_TRUE(doc.FindElement("mouse"));
        ASSERT_TRUE(doc.IntoElement());
        ASSERT_TRUE(doc.FindElement("mouse_info"));
        ASSERT_TRUE(doc.IntoElement());
        // Read in the order the defaults loader reads them.
        ASSERT_TRUE(doc.FindElement("dpi_info"));
        const int count = ParseDecimal(doc.GetAttribute("dpi_count"));
        const int index = ParseDecimal(doc.GetAttribute("default_dpi"));
        EXPECT_GE(count, 1);
        EXPECT_LE(count, 6);
        EXPECT_GE(index, 0);
        EXPECT_LT(index, count);
        ASSERT_TRUE(doc.IntoElement());
        for (int stage = 1; stage <= 6; ++stage) {
            ASSERT_TRUE(doc.FindElement("dpi_" + std::to_string(stage))) << stage;
            const int dpi = ParseDecimal(doc.GetAttribute("value"));
            EXPECT_TRUE(DpiFitsSensor(model.sensor, dpi)) << "stage " << stage << " dpi " << dpi;
            const std::string colour = doc.GetAttribute("color");
            EXPECT_NE(ParseColour(colour), 0) << "stage " << stage << " colour " << colour;
        }
        ASSERT_TRUE(doc.OutOfElement());
        ASSERT_TRUE(doc.FindElement("report_rate"));
        EXPECT_TRUE(reportRates.count(ParseDecimal(doc.GetAttribute("default_value"))));
        ASSERT_TRUE(doc.FindElement("sleep_light"));
        EXPECT_TRUE(sleepValues.count(ParseDecimal(doc.GetAttribute("value"))));
        for (const char* flag : {"move_wakeup", "move_closelight"}) {
            ASSERT_TRUE(doc.FindElement(flag)) << flag;
            const std::string value = doc.GetAttribute("value");
            EXPECT_TRUE(value == "0" || value == "1") << flag;
        }
        ASSERT_TRUE(doc.FindElement("lod"));
        const std::string lod = doc.GetAttribute("value");
        EXPECT_TRUE(lod == "1" || lod == "2");
        EXPECT_FALSE(doc.GetAttribute("lod").empty());
        ASSERT_TRUE(doc.FindElement("button_respondtime"));
        const int debounce = ParseDecimal(doc.GetAttribute("value"));
        EXPECT_GE(debounce, 4);
        EXPECT_LE(debounce, 20);
    }
}

TEST(ShippedData, ProductIdsAreUniqueAcrossLines) {
    const Catalogue catalogue = LoadCatalogue(kData);
    std::set<uint16_t> pids;
    for (const auto& line : catalogue.lines) EXPECT_TRUE(pids.insert(line.pid).second) << line.pid;
}

}  // namespace
}  // namespace kestrix
