// SPDX-License-Identifier: MIT
#include "rules/PerformanceDefaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "store/DataStore.h"
#include "store/TempFolder.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

// A program folder holding one model file "device/test.xml" with the given <mouse_info> body.
class ModelFolder {
  public:
    explicit ModelFolder(const std::string& mouseInfo) {
        std::filesystem::create_directories(m_folder.path() + "device");
        std::ofstream(m_folder.path() + "device/test.xml")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mouse>\n<menu "
               "light=\"1\"/>\n<mouse_info>\n"
            << mouseInfo << "</mouse_info>\n</mouse>\n";
    }
    const std::string& path() const { return m_folder.path(); }

  private:
    test::TempFolder m_folder;
};

std::map<std::string, std::string> Settings(DataStore& store, ProfileId profile) {
    std::map<std::string, std::string> values;
    for (const char* key :
         {"dpi_index", "dpi_flag", "dpi_count", "dpi_group0_value", "dpi_group0_rgb",
          "dpi_group1_value", "dpi_group1_rgb", "dpi_group5_value", "dpi_group5_rgb", "report_rate",
          "sleep_light", "move_wakeup", "move_closelight", "liftoff_height",
          "button_respondtime"}) {
        store.GetSetting(profile, key, values[key]);
    }
    return values;
}

class PerformanceDefaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(store.OpenForModel(data.path(), "test"));
        profile = store.InsertProfile({});
        before = Settings(store, profile);
    }
    test::TempFolder data;
    DataStore store;
    ProfileId profile = 0;
    std::map<std::string, std::string> before;
};

TEST_F(PerformanceDefaultsTest, ShippedModelFileFillsEveryDefault) {
    ASSERT_TRUE(LoadPerformanceDefaults(KESTRIX_SOURCE_DATA, "vireo", store, profile, false));
    std::map<std::string, std::string> after = Settings(store, profile);
    EXPECT_EQ(after["dpi_index"], "1");
    EXPECT_EQ(after["dpi_count"], "6");
    EXPECT_EQ(after["dpi_flag"], "6");
    EXPECT_EQ(after["dpi_group0_value"], "400");
    EXPECT_EQ(after["dpi_group0_rgb"], "255");    // #FF0000: red in the low byte
    EXPECT_EQ(after["dpi_group1_rgb"], "65280");  // #00FF00
    EXPECT_EQ(after["dpi_group5_value"], "12000");
    EXPECT_EQ(after["dpi_group5_rgb"], "16711935");  // #FF00FF
    EXPECT_EQ(after["report_rate"], "1");
    EXPECT_EQ(after["sleep_light"], "60");
    EXPECT_EQ(after["move_closelight"], "0");
    EXPECT_EQ(after["liftoff_height"], "1");
    EXPECT_EQ(after["button_respondtime"], "8");
}

TEST_F(PerformanceDefaultsTest, DpiOnlyNeverTouchesTheOtherOptions) {
    ModelFolder model(
        R"(<dpi_info default_dpi="2" dpi_count="4"><dpi_1 value="500" color="#FF8000"/></dpi_info>
<report_rate default_value="4"/><sleep_light value="9"/><lod value="2" lod="2"/>
)");
    ASSERT_TRUE(LoadPerformanceDefaults(model.path(), "test", store, profile, true));
    std::map<std::string, std::string> after = Settings(store, profile);
    EXPECT_EQ(after["dpi_index"], "2");
    EXPECT_EQ(after["dpi_count"], "4");
    EXPECT_EQ(after["dpi_group0_value"], "500");
    EXPECT_EQ(after["dpi_group0_rgb"], "33023");
    EXPECT_EQ(after["dpi_group1_value"], before["dpi_group1_value"]);  // no dpi_2 element
    for (const char* key : {"report_rate", "sleep_light", "liftoff_height"})
        EXPECT_EQ(after[key], before[key]) << key;
}

TEST_F(PerformanceDefaultsTest, MissingOrMisplacedElementsLeaveTheirKeys) {
    // No dpi_info; report_rate stands after sleep_light, so searching forward misses sleep_light.
    ModelFolder model(R"(<button_respondtime value="3"/><report_rate default_value="99999999999"/>
<sleep_light value="5"/>
)");
    ASSERT_TRUE(LoadPerformanceDefaults(model.path(), "test", store, profile, false));
    std::map<std::string, std::string> after = Settings(store, profile);
    for (const char* key : {"dpi_index", "dpi_count", "dpi_group0_value", "dpi_group0_rgb"}) {
        EXPECT_EQ(after[key], before[key]) << key;
    }
    EXPECT_EQ(after["report_rate"], "0");  // does not fit 32 bits: 0, not a wrapped number
    EXPECT_EQ(after["sleep_light"], "5");
    EXPECT_EQ(after["button_respondtime"], before["button_respondtime"]);
}

TEST_F(PerformanceDefaultsTest, UnreadableModelFileStoresNothing) {
    EXPECT_FALSE(LoadPerformanceDefaults(data.path(), "absent", store, profile, false));
    std::filesystem::create_directories(data.path() + "device");
    std::ofstream(data.path() + "device/broken.xml")
        << "<mouse><mouse_info><dpi_info default_dpi=\"3\">";
    EXPECT_FALSE(LoadPerformanceDefaults(data.path(), "broken", store, profile, false));
    EXPECT_EQ(Settings(store, profile), before);
}

TEST(PerformanceDefaults, ModelFilePathAcceptsEitherFolderForm) {
    EXPECT_EQ(ModelFilePath("/opt/k", "falco"), "/opt/k/device/falco.xml");
    EXPECT_EQ(ModelFilePath("/opt/k/", "falco"), "/opt/k/device/falco.xml");
}

TEST(PerformanceDefaults, ColoursOutsideTheHashForm) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocText(R"(<mouse><mouse_info><dpi_info default_dpi="1" dpi_count="2">
<dpi_1 value="100" color="FF0000"/><dpi_2 value="x" color="#12345G"/></dpi_info></mouse_info></mouse>)"));
    std::vector<SettingValue> values = ReadPerformanceDefaults(doc, true);
    std::vector<SettingValue> expected = {
        {"dpi_index", "1"},          {"dpi_flag", "2"},       {"dpi_count", "2"},
        {"dpi_group0_value", "100"}, {"dpi_group0_rgb", "0"}, {"dpi_group1_value", "0"},
        {"dpi_group1_rgb", "0"},
    };
    EXPECT_EQ(values, expected);
}

}  // namespace
}  // namespace kestrix
