// SPDX-License-Identifier: MIT
#include "device/Catalogue.h"

#include "base/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrix {
namespace {

namespace fs = std::filesystem;

class CatalogueFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kestrix-catalogue-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        fs::create_directories(fs::path(m_dir) / "device");
        Log::SetSink([this](std::string_view line) { m_log.emplace_back(line); });
    }
    void TearDown() override {
        Log::SetSink({});
        fs::remove_all(m_dir);
    }
    void Write(const std::string& relative, const std::string& text) {
        std::ofstream(fs::path(m_dir) / relative, std::ios::binary) << text;
    }

    std::string m_dir;
    std::vector<std::string> m_log;
};

TEST_F(CatalogueFiles, ReadsModelsAndLinesInFileOrder) {
    Write(
        "config.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<config>\r\n"
        "<language.info default_lan=\"1033\"><lan value=\"1033\"/></language.info>\r\n"
        "<device>\r\n"
        "<mouse name=\"One\" device_type=\"101\" device_attr=\"one\" image=\"one.png\">\r\n"
        "<mode value=\"0\" desc=\"cable\" vid=\"1209\" pid=\"0a1f\" dev_id=\"\" "
        "hid_interface=\"2\"/>\r\n"
        "<mode value=\"1\" desc=\"receiver\" vid=\"1209\" pid=\"0A1F\" dev_id=\"AB12\" "
        "hid_interface=\"2\"/>\r\n"
        "<mode value=\"1\" desc=\"second receiver\" vid=\"1209\" pid=\"FFFF\" dev_id=\"AB13\"/>\r\n"
        "</mouse>\r\n"
        "<mouse name=\"Two &amp; more\" device_type=\"250\" device_attr=\"two\" "
        "image=\"two.png\"/>\r\n"
        "<mouse name=\"Three\" device_type=\"x\" device_attr=\"three\">\r\n"
        "<mode value=\"0\" vid=\"zz\" pid=\"5A0B\"/>\r\n"
        "</mouse>\r\n"
        "</device>\r\n"
        "<software caption=\"Kestrix\" version=\"1.0.3\"/>\r\n"
        "</config>\r\n");
    const Catalogue catalogue = LoadCatalogue(m_dir, "dark");

    ASSERT_EQ(catalogue.models.size(), 3u);
    EXPECT_EQ(catalogue.models[0].name, "One");
    EXPECT_EQ(catalogue.models[0].deviceType, 101);
    EXPECT_EQ(catalogue.models[0].deviceAttr, "one");
    EXPECT_EQ(catalogue.models[0].image, m_dir + "/skins/dark/device/one.png");
    EXPECT_EQ(catalogue.models[1].name, "Two & more");
    EXPECT_EQ(catalogue.models[1].deviceType, 250);
    EXPECT_EQ(catalogue.models[2].deviceType, 0);  // non-numeric reads as 0

    struct Expected {
        int deviceType;
        int mode;
        const char* desc;
        uint16_t vid;
        uint16_t pid;
        const char* devId;
        const char* hidInterface;
    };
    const std::vector<Expected> expected = {
        {101, 0, "cable", 0x1209, 0x0A1F, "", "2"},
        {101, 1, "receiver", 0x1209, 0x0A1F, "AB12", "2"},
        {101, 1, "second receiver", 0x1209, 0xFFFF, "AB13", ""},
        {0, 0, "", 0, 0x5A0B, "", ""},
    };
    ASSERT_EQ(catalogue.lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const CatalogueLine& line = catalogue.lines[i];
        EXPECT_EQ(line.model.deviceType, expected[i].deviceType) << i;
        EXPECT_EQ(line.mode, expected[i].mode) << i;
        EXPECT_EQ(line.desc, expected[i].desc) << i;
        EXPECT_EQ(line.vid, expected[i].vid) << i;
        EXPECT_EQ(line.pid, expected[i].pid) << i;
        EXPECT_EQ(line.devId, expected[i].devId) << i;
        EXPECT_EQ(line.hidInterface, expected[i].hidInterface) << i;
    }
    EXPECT_EQ(catalogue.lines[1].model.name, "One");
    EXPECT_EQ(catalogue.lines[1].model.image, catalogue.models[0].image);
}

TEST_F(CatalogueFiles, TrailingSlashOnTheFolderIsNotDoubled) {
    Write("config.xml",
          "<config><device><mouse device_type=\"7\" image=\"m.png\"/></device></config>");
    const Catalogue catalogue = LoadCatalogue(m_dir + "/");
    ASSERT_EQ(catalogue.models.size(), 1u);
    EXPECT_EQ(catalogue.models[0].image, m_dir + "/skins/default/device/m.png");
}

TEST_F(CatalogueFiles, UnusableConfigGivesAnEmptyCatalogue) {
    const std::vector<std::string> configs = {
        "",                                                                    // empty file
        "<config><device><mouse device_type=\"101\"></device></config>",       // malformed
        "<settings><device><mouse device_type=\"101\"/></device></settings>",  // wrong root
        "<config><software caption=\"K\"/></config>",                          // no device list
    };
    for (const auto& text : configs) {
        Write("config.xml", text);
        const Catalogue catalogue = LoadCatalogue(m_dir);
        EXPECT_TRUE(catalogue.models.empty()) << text;
        EXPECT_TRUE(catalogue.lines.empty()) << text;
    }
    fs::remove(fs::path(m_dir) / "config.xml");
    m_log.clear();
    EXPECT_TRUE(LoadCatalogue(m_dir).models.empty());
    EXPECT_FALSE(m_log.empty());  // a missing file leaves a log line
}

TEST(Catalogue, ParseColourReadsHashRrggbb) {
    struct Case {
        std::string text;
        int value;
    };
    const std::vector<Case> cases = {
        {"#FF8000", 33023},    {"#ff8000", 33023},  {"#000000", 0}, {"#FFFFFF", 0xFFFFFF},
        {"#0000FF", 0xFF0000}, {"#00FF00", 0xFF00}, {"FF8000", 0},  {"#FF800", 0},
        {"#FF80000", 0},       {"#GG0000", 0},      {"", 0},        {"#", 0},
        {" #FF8000", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseColour(c.text), c.value) << '"' << c.text << '"';
}

TEST(Catalogue, ParseRectReadsThreeNumbers) {
    struct Case {
        std::string text;
        std::array<int, 3> rect;
    };
    const std::vector<Case> cases = {
        {"10#20#30", {10, 20, 30}}, {"10#20", {10, 20, 0}},  {"", {0, 0, 0}},
        {"7", {7, 0, 0}},           {"a#5#-3", {0, 5, -3}},  {"1#2#3#4", {1, 2, 3}},
        {"##9", {0, 0, 9}},         {" 4# 5#6x", {4, 5, 6}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseRect(c.text), c.rect) << '"' << c.text << '"';
}

constexpr const char* kFullModel =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<mouse>\r\n"
    "<image_file mouse_img=\"m_top.png\"/>\r\n"
    "<menu light=\"1\"/>\r\n"
    "<custom show_dpitips=\"1\" show_savetips=\"0\" show_lod=\"1\" show_sensor=\"2\"/>\r\n"
    "<firmware url=\"https://example.com/fw\"/>\r\n"
    "<mouse_key>\r\n"
    "<key name=\"106\" key_value=\"0\" direction=\"1\" rect=\"10#20#30\" func_desc=\"106\" "
    "func_type=\"1\" "
    "func_value=\"1\"/>\r\n"
    "<other/>\r\n"
    "<key name=\"142\" key_value=\"5\" direction=\"0\" rect=\"1#2\" func_desc=\"142\" "
    "func_type=\"5\" "
    "func_value=\"3\"/>\r\n"
    "</mouse_key>\r\n"
    "<mouse_info>\r\n"
    "<dpi_info default_dpi=\"1\" dpi_count=\"6\"/>\r\n"
    "<light_info><light_1 enable=\"1\"/><light_2 enable=\"0\"/><light_4 enable=\"1\"/>"
    "<light_3 enable=\"1\"/><light_6 enable=\"1\"/></light_info>\r\n"
    "</mouse_info>\r\n"
    "</mouse>\r\n";

TEST_F(CatalogueFiles, ReadsTheModelDescription) {
    Write("device/m.xml", kFullModel);
    DeviceDefinition definition;
    definition.lightModes = {false, true, true, false, true, false};
    ASSERT_TRUE(LoadDeviceDefinition(m_dir, "m", definition));
    EXPECT_EQ(definition.mousePicture, "device/m_top.png");
    EXPECT_TRUE(definition.lightingPage);
    EXPECT_TRUE(definition.showDpiTips);
    EXPECT_FALSE(definition.showSaveTips);
    EXPECT_TRUE(definition.showLod);
    EXPECT_FALSE(definition.showSensor);  // only 1 means on
    EXPECT_EQ(definition.firmwareUrl, "https://example.com/fw");
    ASSERT_EQ(definition.keys.size(), 2u);
    EXPECT_EQ(definition.keys[0].name, 106);
    EXPECT_EQ(definition.keys[0].keyValue, 0);
    EXPECT_EQ(definition.keys[0].direction, 1);
    EXPECT_EQ(definition.keys[0].rect, (std::array<int, 3>{10, 20, 30}));
    EXPECT_EQ(definition.keys[0].funcDesc, 106);
    EXPECT_EQ(definition.keys[0].funcType, 1);
    EXPECT_EQ(definition.keys[0].funcValue, 1);
    EXPECT_EQ(definition.keys[1].keyValue, 5);
    EXPECT_EQ(definition.keys[1].rect, (std::array<int, 3>{1, 2, 0}));
    EXPECT_EQ(definition.keys[1].funcType, 5);
    EXPECT_EQ(definition.keys[1].funcValue, 3);
    // light_info is found after dpi_info. light_4 stands before light_3, so once light_3 is
    // found light_4 is not; it and the absent light_5 keep their previous values.
    EXPECT_EQ(definition.lightModes, (std::array<bool, 6>{true, false, true, false, true, true}));
}

TEST_F(CatalogueFiles, ElementsOutOfOrderKeepTheirPreviousValues) {
    Write("device/m.xml",
          "<mouse>\r\n"
          "<custom show_dpitips=\"1\" show_savetips=\"1\" show_lod=\"1\" show_sensor=\"1\"/>\r\n"
          "<menu light=\"1\"/>\r\n"
          "<mouse_key/>\r\n"
          "</mouse>\r\n");
    DeviceDefinition definition;
    definition.mousePicture = "device/old.png";
    definition.firmwareUrl = "old";
    definition.keys.resize(3);
    ASSERT_TRUE(LoadDeviceDefinition(m_dir, "m", definition));
    EXPECT_TRUE(definition.lightingPage);  // menu is searched first and found
    EXPECT_FALSE(definition.showDpiTips);  // custom stands before menu: not found
    EXPECT_FALSE(definition.showSensor);
    EXPECT_EQ(definition.mousePicture, "device/old.png");  // absent
    EXPECT_EQ(definition.firmwareUrl, "old");              // absent
    EXPECT_TRUE(definition.keys.empty());                  // an empty key list clears the buttons
}

TEST_F(CatalogueFiles, UnloadableDescriptionLeavesTheDefinitionUntouched) {
    DeviceDefinition definition;
    definition.mousePicture = "device/kept.png";
    definition.keys.resize(2);
    definition.lightingPage = true;
    EXPECT_FALSE(LoadDeviceDefinition(m_dir, "absent", definition));
    Write("device/broken.xml", "<mouse><menu light=\"0\"/><mouse_key>");
    EXPECT_FALSE(LoadDeviceDefinition(m_dir, "broken", definition));
    Write("device/other.xml", "<config><menu light=\"0\"/></config>");
    EXPECT_FALSE(LoadDeviceDefinition(m_dir, "other", definition));
    EXPECT_EQ(definition.mousePicture, "device/kept.png");
    EXPECT_EQ(definition.keys.size(), 2u);
    EXPECT_TRUE(definition.lightingPage);
    EXPECT_GE(m_log.size(), 3u);
}

}  // namespace
}  // namespace kestrix
