// SPDX-License-Identifier: MIT
#include "app/StartupConfig.h"

#include <fstream>

#include <gtest/gtest.h>

#include "AppTestBench.h"
#include "app/StartLanguage.h"

namespace kestrix {
namespace {

void WriteConfig(const std::string& folder, const std::string& text) {
    std::ofstream(folder + "config.xml") << text;
}

TEST(StartupConfig, ReadsTheShippedConfig) {
    const std::string folder = std::string(KESTRIX_SOURCE_DATA) + "/";
    const StartupConfig config = ReadStartupConfig(folder);
    EXPECT_EQ(config.programName, "Kestrix");
    EXPECT_EQ(config.lcids, (std::vector<int>{1033, 2052, 1028, 1041, 1042, 1058, 1049}));
    EXPECT_EQ(config.defaultLcid, 1033);
    const SoftwareInfo info = ReadSoftwareInfo(folder);
    EXPECT_EQ(info.version, "1.0.3");
    EXPECT_EQ(info.websiteUrl, "https://example.com/kestrix/");
    EXPECT_EQ(info.feedbackUrl, "https://example.com/kestrix/feedback");
    EXPECT_EQ(info.qaUrl, "https://example.com/kestrix/faq");
    EXPECT_EQ(info.upgradeUrl, "https://example.com/kestrix/update/");
}

TEST(StartupConfig, MissingPartsLeaveValuesEmpty) {
    test::AppTempFolder temp;
    const struct {
        const char* text;
        const char* name;
        std::vector<int> lcids;
    } cases[] = {
        // Only two languages: exactly those are offered.
        {"<config><language.info><lan value=\"1033\"/><lan value=\"2052\"/></language.info>"
         "<software caption=\"Mouse\" version=\"2\"/></config>",
         "Mouse",
         {1033, 2052}},
        // <software> after the list is found only when it comes after it (forward search).
        {"<config><software caption=\"Mouse\"/><language.info><lan "
         "value=\"1033\"/></language.info></config>",
         "",
         {1033}},
        {"<config><language.info><lan value=\"1049\"/></language.info></config>", "", {1049}},
        {"<other><software caption=\"Mouse\"/></other>", "", {}},
        {"not xml at all", "", {}},
    };
    for (const auto& c : cases) {
        WriteConfig(temp.Path(), c.text);
        const StartupConfig config = ReadStartupConfig(temp.Path());
        EXPECT_EQ(config.programName, c.name) << c.text;
        EXPECT_EQ(config.lcids, c.lcids) << c.text;
    }
    std::filesystem::remove(temp.Path() + "config.xml");
    EXPECT_EQ(ReadStartupConfig(temp.Path()).programName, "");
    EXPECT_EQ(ReadSoftwareInfo(temp.Path()).version, "");
}

TEST(StartupConfig, StartLanguageStoredThenLocaleThenDefaultThenEnglish) {
    const std::vector<int> all{2052, 1033, 1028, 1041, 1042, 1058, 1049};
    const std::vector<int> two{2052, 1033};
    const struct {
        int stored;
        const char* locale;
        int defaultLcid;
        std::vector<int> offered;
        int expected;
    } cases[] = {
        {1049, "ja_JP.UTF-8", 2052, all, 1049},  // the stored choice wins over the desktop
        {0, "ru_RU.UTF-8", 2052, all, 1049},     // first start: the desktop locale
        {0, "uk_UA.UTF-8@euro", 1033, all, 1058},
        {0, "zh_TW.UTF-8", 1033, all, 1028},
        {0, "zh_HK", 1033, all, 1028},
        {0, "zh_CN.GB18030", 1033, all, 2052},
        {0, "zh", 1033, all, 2052},
        {0, "ko_KR.UTF-8", 1033, all, 1042},
        {0, "en_GB.UTF-8", 2052, all, 1033},
        {1042, "ru_RU.UTF-8", 1033, two, 1033},  // stored and desktop not offered: default
        {0, "de_DE.UTF-8", 2052, all, 2052},     // a language without texts: default
        {0, "C", 0, all, 1033},                  // nothing usable: English
        {0, "", 9999, all, 1033},
        {0, "ru", 1049, two, 1033},  // default not offered either
        {0, "russian", 1033, all, 1033},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseStartLcid(c.stored, c.locale, c.defaultLcid, c.offered), c.expected)
            << c.stored << " " << c.locale << " " << c.defaultLcid;
    }
}

TEST(StartupConfig, LinksAreFoundInAnyOrder) {
    test::AppTempFolder temp;
    WriteConfig(
        temp.Path(),
        "<config><software caption=\"K\" version=\"1.2\"><qa url=\"q\"/><upgrade url=\"u\"/>"
        "<website url=\"w\"/></software></config>");
    const SoftwareInfo info = ReadSoftwareInfo(temp.Path());
    EXPECT_EQ(info.websiteUrl, "w");
    EXPECT_EQ(info.qaUrl, "q");
    EXPECT_EQ(info.upgradeUrl, "u");
    EXPECT_EQ(info.feedbackUrl, "");
}

}  // namespace
}  // namespace kestrix
