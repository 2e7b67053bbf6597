// SPDX-License-Identifier: MIT
#include "exchange/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/DataStore.h"
#include "store/DefaultLightRows.h"
#include "store/TempFolder.h"

namespace kestrix {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Shown(const std::string& stored) { return "Shown " + stored; }

// Everything an import may change in one profile, to compare before and after.
struct ProfileSnapshot {
    std::string name;
    std::vector<std::string> keys;
    std::vector<std::string> lights;
    std::vector<std::string> settings;
    int activeLight = 0;
    bool operator==(const ProfileSnapshot&) const = default;
};

ProfileSnapshot Snapshot(DataStore& store, ProfileId profile) {
    ProfileSnapshot snapshot;
    store.GetProfileName(profile, snapshot.name);
    std::vector<KeyAssignmentRow> keys;
    store.ListKeyAssignments(profile, keys);
    for (const auto& k : keys) {
        snapshot.keys.push_back(std::to_string(k.keyCode) + "/" + std::to_string(k.macroType) +
                                "/" + std::to_string(k.macroValue) + "/" +
                                std::to_string(k.macroValue2) + "/" +
                                std::to_string(k.macroValue3) + "/" + k.macroDesc);
    }
    std::vector<LightRow> lights;
    store.ListLightRows(profile, lights);
    for (const auto& l : lights) {
        std::string text = std::to_string(l.mode) + ":" + std::to_string(l.brightness) + "," +
                           std::to_string(l.speed) + "," + std::to_string(l.direction) + "," +
                           std::to_string(l.colorful) + "," + std::to_string(l.colorIndex);
        for (int c : l.colorValues) text += "," + std::to_string(c);
        snapshot.lights.push_back(text);
    }
    snapshot.activeLight = store.GetActiveLightMode(profile);
    for (const char* key :
         {"dpi_flag", "dpi_index", "dpi_count", "dpi_group0_value", "dpi_group0_rgb",
          "dpi_group3_value", "dpi_group5_value", "dpi_group5_rgb", "button_respondtime",
          "report_rate", "sensor_flag", "liftoff_height", "scroll_flag", "e-sports_flag",
          "sleep_light", "move_wakeup", "move_closelight", "doubleclick_time"}) {
        std::string value;
        store.GetSetting(profile, key, value);
        snapshot.settings.push_back(std::string(key) + "=" + value);
    }
    return snapshot;
}

class ProfileFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(store.OpenForModel(folder.path(), "vireo"));
        for (const char* name : {"Profile 1", "Profile 2"})
            store.InsertProfile({0, name, 0, "", 0});
        InsertDefaultLightRows(store, 1, {true, false, true, false, false, false});
        InsertDefaultLightRows(store, 2, {true, true, true, false, false, false});
    }
    // Gives profile 1 assignments, lighting and settings that differ from the defaults.
    void Customise() {
        store.ReplaceKeyAssignment({0, 1, 0, 2, 9, "layout", 4, 7, 0, 0, "A \"&<'> 宏"});
        store.ReplaceKeyAssignment({0, 1, 0, 5, 0, "", 2, 0, 3, 1, ""});
        LightRow light;
        ASSERT_TRUE(store.GetLightRow(1, 3, light));
        light.brightness = 1;
        light.speed = 3;
        light.colorValues[0] = 0x123456;
        store.UpdateLightRow(3, light);
        store.SetActiveLightMode(1, 3);
        store.SetSetting(1, "dpi_group3_value", "4100");
        store.SetSetting(1, "dpi_group5_rgb", "42");
        store.SetSetting(1, "dpi_count", "4");
        store.SetSetting(1, "report_rate", "8");
        store.SetSetting(1, "e-sports_flag", "1");
        store.SetSetting(1, "move_closelight", "");
        store.SetSetting(1, "doubleclick_time", "300");  // not carried by the file
    }
    std::string File(const std::string& name) const { return folder.path() + name; }

    test::TempFolder folder;
    DataStore store;
    std::vector<DeviceTask> tasks;
    TaskQueuer queue = [this](DeviceTask task) { tasks.push_back(task); };
};

TEST_F(ProfileFileTest, ExportWritesTheExactLayout) {
    Customise();
    ASSERT_TRUE(ExportProfile(store, 1, File("p.xml"), true, Shown));
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<profile>\r\n"
        "<profileinfo name=\"Shown Profile 1\">\r\n"
        "<keyitems>\r\n"
        "<item key_code=\"2\" macro_type=\"4\" macro_value=\"7\" macro_value2=\"0\" "
        "macro_value3=\"0\" "
        "macro_desc=\"A &quot;&amp;&lt;&apos;&gt; 宏\"/>\r\n"
        "<item key_code=\"5\" macro_type=\"2\" macro_value=\"0\" macro_value2=\"3\" "
        "macro_value3=\"1\" "
        "macro_desc=\"\"/>\r\n"
        "</keyitems>\r\n"
        "<Lightitems lightmode=\"3\">\r\n"
        "<item light_mode=\"1\" brightness=\"4\" speed=\"2\" direction=\"0\" colorful=\"1\" "
        "colorindex=\"0\" "
        "color_value1=\"255\" color_value2=\"65280\" color_value3=\"16711680\" "
        "color_value4=\"16776960\" "
        "color_value5=\"65535\" color_value6=\"16711935\" color_value7=\"16777215\"/>\r\n"
        "<item light_mode=\"3\" brightness=\"1\" speed=\"3\" direction=\"0\" colorful=\"1\" "
        "colorindex=\"0\" "
        "color_value1=\"1193046\" color_value2=\"65280\" color_value3=\"16711680\" "
        "color_value4=\"16776960\" "
        "color_value5=\"65535\" color_value6=\"16711935\" color_value7=\"16777215\"/>\r\n"
        "</Lightitems>\r\n"
        "<Mouse_DPI dpi_flag=\"6\" dpi_index=\"1\" dpi_count=\"4\">\r\n"
        "<DPI1 value=\"800\" color=\"255\"/>\r\n"
        "<DPI2 value=\"1600\" color=\"16711680\"/>\r\n"
        "<DPI3 value=\"2400\" color=\"65280\"/>\r\n"
        "<DPI4 value=\"4100\" color=\"65535\"/>\r\n"
        "<DPI5 value=\"6400\" color=\"16711935\"/>\r\n"
        "<DPI6 value=\"26000\" color=\"42\"/>\r\n"
        "</Mouse_DPI>\r\n"
        "<Mouse>\r\n"
        "<button_respondtime value=\"8\"/>\r\n"
        "<report_rate value=\"8\"/>\r\n"
        "<sensor_flag value=\"53\"/>\r\n"
        "<liftoff_height value=\"1\"/>\r\n"
        "<scroll_flag value=\"1\"/>\r\n"
        "<e-sports_flag value=\"1\"/>\r\n"
        "<sleep_light value=\"1\"/>\r\n"
        "<move_wakeup value=\"1\"/>\r\n"
        "<move_closelight value=\"\"/>\r\n"
        "</Mouse>\r\n"
        "</profileinfo>\r\n"
        "</profile>\r\n";
    EXPECT_EQ(ReadBytes(File("p.xml")), expected);
}

TEST_F(ProfileFileTest, ExportWithoutLightingPageOrSettings) {
    ASSERT_TRUE(ExportProfile(store, 2, File("no-light.xml"), false, Shown));
    std::string bytes = ReadBytes(File("no-light.xml"));
    EXPECT_EQ(bytes.find("Lightitems"), std::string::npos);
    EXPECT_NE(bytes.find("<keyitems/>\r\n"), std::string::npos);

    // A profile without rows writes its settings empty.
    ASSERT_TRUE(ExportProfile(store, 9, File("ghost.xml"), true, Shown));
    bytes = ReadBytes(File("ghost.xml"));
    EXPECT_NE(bytes.find("<profileinfo name=\"Shown \">"), std::string::npos);
    EXPECT_NE(bytes.find("<Lightitems lightmode=\"0\"/>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("<DPI3 value=\"\" color=\"\"/>"), std::string::npos);

    EXPECT_FALSE(ExportProfile(store, 1, File("missing-folder/p.xml"), true, Shown));
}

TEST_F(ProfileFileTest, ExportThenImportIntoAnotherProfileReproducesIt) {
    Customise();
    // An empty value would be refused on import (it is no value at all).
    store.SetSetting(1, "move_closelight", "1");
    ASSERT_TRUE(ExportProfile(store, 1, File("Desk setup.xml"), true, Shown));
    ProfileSnapshot source = Snapshot(store, 1);
    ProfileSnapshot targetBefore = Snapshot(store, 2);

    ProfileImportResult result =
        ImportProfile(store, 2, File("Desk setup.xml"), true, SettingLimits{}, queue);
    EXPECT_TRUE(result.imported);
    EXPECT_EQ(result.profileName, "Desk setup");
    EXPECT_EQ(tasks, std::vector<DeviceTask>{kApplyProfileTask});

    ProfileSnapshot target = Snapshot(store, 2);
    EXPECT_EQ(target.name, "Desk setup");
    // Assignments travel without their layout fields.
    EXPECT_EQ(target.keys, source.keys);
    KeyAssignmentRow key;
    ASSERT_TRUE(store.GetKeyAssignment(2, 2, key));
    EXPECT_EQ(key.layoutValue, 0);
    EXPECT_EQ(key.layoutDesc, "");
    EXPECT_EQ(key.macroValue, 7);  // the macro number stays although no macro 7 exists here
    // Lighting: modes 1 and 3 take the file's values, mode 2 (not in the file) keeps its own.
    ASSERT_EQ(target.lights.size(), 3u);
    EXPECT_EQ(target.lights[0], source.lights[0]);
    EXPECT_EQ(target.lights[1], targetBefore.lights[1]);
    EXPECT_EQ(target.lights[2], source.lights[1]);
    EXPECT_EQ(target.activeLight, 3);
    // Every listed setting, but not the ones the file does not carry.
    EXPECT_EQ(std::vector<std::string>(target.settings.begin(), target.settings.end() - 1),
              std::vector<std::string>(source.settings.begin(), source.settings.end() - 1));
    EXPECT_EQ(target.settings.back(), "doubleclick_time=550");
    LightRow mode3;
    ASSERT_TRUE(store.GetLightRow(2, 3, mode3));
    EXPECT_EQ(mode3.configFunc, 17);  // kept from the target's own row
    EXPECT_EQ(mode3.name, "常亮");
}

TEST_F(ProfileFileTest, ImportNamesTheProfileAfterTheFile) {
    ASSERT_TRUE(ExportProfile(store, 1, File("source.xml"), true, Shown));
    const std::vector<std::pair<std::string, std::string>> names = {
        {"配置文件.xml", "配置文件"}, {"abcd", ""}, {"x.xml", "x"},
        {"name.json", "name."},       {".xml", ""},
    };
    for (const auto& [fileName, expected] : names) {
        std::filesystem::copy_file(File("source.xml"), File(fileName));
        ProfileImportResult result =
            ImportProfile(store, 2, File(fileName), true, SettingLimits{}, queue);
        EXPECT_EQ(result.profileName, expected) << fileName;
        std::string stored;
        store.GetProfileName(2, stored);
        EXPECT_EQ(stored, expected) << fileName;
    }
}

TEST_F(ProfileFileTest, BrokenOrForeignFilesChangeNothing) {
    Customise();
    ASSERT_TRUE(ExportProfile(store, 1, File("good.xml"), true, Shown));
    std::string good = ReadBytes(File("good.xml"));
    const std::vector<std::pair<std::string, std::string>> files = {
        {"truncated.xml", good.substr(0, good.size() / 2)},
        {"malformed.xml", "<profile><profileinfo name=\"x\"><keyitems></profileinfo></profile>"},
        {"wrong-root.xml", "<macro><profileinfo name=\"x\"><keyitems/></profileinfo></macro>"},
        {"no-info.xml",
         "<profile><keyitems><item key_code=\"1\" macro_value=\"1\"/></keyitems></profile>"},
        {"empty.xml", ""},
        {"two-roots.xml", "<profile/><profile/>"},
    };
    ProfileSnapshot before = Snapshot(store, 2);
    for (const auto& [name, bytes] : files) {
        WriteBytes(File(name), bytes);
        EXPECT_FALSE(ImportProfile(store, 2, File(name), true, SettingLimits{}, queue).imported)
            << name;
        EXPECT_EQ(Snapshot(store, 2), before) << name;
    }
    EXPECT_FALSE(
        ImportProfile(store, 2, File("absent.xml"), true, SettingLimits{}, queue).imported);
    EXPECT_TRUE(tasks.empty());
}

TEST_F(ProfileFileTest, PartialFilesChangeOnlyWhatTheyHold) {
    store.ReplaceKeyAssignment({0, 2, 0, 1, 0, "", 1, 1, 0, 0, "old"});
    store.SetActiveLightMode(2, 2);
    store.SetSetting(2, "dpi_group1_value", "1700");
    WriteBytes(
        File("partial.xml"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile><profileinfo name=\"ignored\">"
        "<Mouse_DPI dpi_flag=\"5\" dpi_index=\"2\" dpi_count=\"5\">"
        "<DPI1 value=\"900\" color=\"1\"/><DPI3 value=\"3000\" color=\"3\"/></Mouse_DPI>"
        "<Mouse><report_rate value=\"4\"/><button_respondtime value=\"12\"/></Mouse>"
        "</profileinfo></profile>");
    ProfileImportResult result =
        ImportProfile(store, 2, File("partial.xml"), true, SettingLimits{}, queue);
    ASSERT_TRUE(result.imported);
    std::vector<KeyAssignmentRow> keys;
    EXPECT_EQ(store.ListKeyAssignments(2, keys),
              0);                               // assignments are cleared even without keyitems
    EXPECT_EQ(store.GetActiveLightMode(2), 2);  // no Lightitems: effect unchanged
    std::string value;
    store.GetSetting(2, "dpi_group0_value", value);
    EXPECT_EQ(value, "900");
    store.GetSetting(2, "dpi_group1_value", value);
    EXPECT_EQ(value, "1700");  // no DPI2 element
    store.GetSetting(2, "dpi_group2_rgb", value);
    EXPECT_EQ(value, "3");
    store.GetSetting(2, "button_respondtime", value);
    EXPECT_EQ(value, "12");
    store.GetSetting(2, "report_rate", value);
    EXPECT_EQ(value, "2");  // stands before button_respondtime in the file, so it is not found
    EXPECT_EQ(tasks, std::vector<DeviceTask>{kApplyProfileTask});
}

TEST_F(ProfileFileTest, LightingIsSkippedOnModelsWithoutLightingPage) {
    Customise();
    store.SetSetting(1, "move_closelight", "1");
    ASSERT_TRUE(ExportProfile(store, 1, File("lit.xml"), true, Shown));
    ProfileSnapshot before = Snapshot(store, 2);
    ASSERT_TRUE(ImportProfile(store, 2, File("lit.xml"), false, SettingLimits{}, queue).imported);
    ProfileSnapshot after = Snapshot(store, 2);
    EXPECT_EQ(after.lights, before.lights);
    EXPECT_EQ(after.activeLight, before.activeLight);
}

TEST_F(ProfileFileTest, OversizedNumbersReadAsZero) {
    WriteBytes(
        File("big.xml"),
        "<profile><profileinfo><keyitems>"
        "<item key_code=\"3\" macro_type=\"1\" macro_value=\"4294967297\" macro_value2=\"2\"/>"
        "</keyitems></profileinfo></profile>");
    ASSERT_TRUE(ImportProfile(store, 2, File("big.xml"), true, SettingLimits{}, queue).imported);
    KeyAssignmentRow key;
    ASSERT_TRUE(store.GetKeyAssignment(2, 3, key));
    EXPECT_EQ(key.macroValue, 0);
    EXPECT_EQ(key.macroValue2, 2);
}

}  // namespace
}  // namespace kestrix
