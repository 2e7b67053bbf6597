// SPDX-License-Identifier: MIT
#include "platform/LanguageTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "platform/IniFile.h"
#include "platform/PlatformTestSupport.h"
#include "platform/UsedTextIds.h"

namespace kestrix {
namespace {

const std::vector<int> kShippedLcids = {1033, 2052, 1028, 1041, 1042, 1058, 1049};

// Language state is process-wide; every test starts from the state of a fresh run.
class LanguageTextsTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        LanguageTexts::SetModuleFolder("");
        LanguageTexts::SetCurrentLcid(LanguageTexts::kStartLcid);
        LanguageTexts::SetAvailableLcids({});
    }
};

TEST_F(LanguageTextsTest, PrefixRuleRenamesOnlyOtherLanguagesDefaultNames) {
    struct Case {
        int lcid;
        std::string stored;
        std::string custom;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {1033, "自定义3", "Custom", "Custom3"},
        {1033, "Custom3", "Custom", "Custom3"},  // its own word is not a foreign prefix
        {1033, "カスタム 2", "Custom", "Custom 2"},
        {2052, "Custom 1", "自定义", "自定义 1"},
        {2052, "自定义 1", "自定义", "自定义 1"},
        {1028, "自定義 1", "自定義", "自定義 1"},
        {1028, "Custom 1", "自定義", "自定義 1"},
        {1041, "自定義5", "カスタム", "カスタム5"},
        {1049, "カスタム 4", "Пользовательский", "Пользовательский 4"},
        {1049, "Пользовательский 4", "Пользовательский", "Пользовательский 4"},
        {1041, "Пользовательский 4", "カスタム", "カスタム 4"},
        {1033, "Пользоват1", "Custom", "Custom1"},
        {1042, "自定义3", "사용자 정의", "自定义3"},  // 1042 translates nothing
        {1058, "Custom 3", "Користувацький", "Custom 3"},
        {1036, "Custom 3", "Personnalisé", "Custom 3"},
        {1033, "My 自定义", "Custom", "My 自定义"},  // only at the start
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageTexts::ApplyPrefixRule(c.stored, c.lcid, c.custom), c.shown)
            << c.lcid << " " << c.stored;
    }
}

TEST_F(LanguageTextsTest, CopyRuleReformatsOtherLanguagesCopies) {
    struct Case {
        int lcid;
        std::string stored;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {1033, "Macro 1 复制", "Macro 1 Copy"},
        {1033, "Macro 1 複製", "Macro 1 Copy"},
        {1033, "Macro 1 Копировать", "Macro 1 Copy"},
        {1033, "Macro 1 Copy", "Macro 1 Copy"},
        {2052, "Macro Copy", "Macro 复制"},
        {1028, "Macro 复制", "Macro 複製"},
        {1041, "Macro Копировать", "Macro 複製"},
        {1049, "Macro Copy", "Macro Копировать"},
        {1049, "Macro 複製", "Macro 複製"},  // not recognised under 1049
        {1042, "Macro Copy", "Macro Copy"},
        {1058, "Macro 复制", "Macro 复制"},
        {1033, "A复制B复制", "A Copy"},            // the base ends at the first occurrence
        {1033, "复制 of macro", "复制 of macro"},  // only at the end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageTexts::ApplyCopyRule(c.stored, c.lcid), c.shown)
            << c.lcid << " " << c.stored;
    }
    EXPECT_EQ(LanguageTexts::LocaliseName("自定义 2 复制", 1033, "Custom"), "Custom 2 Copy");
}

TEST_F(LanguageTextsTest, ProfileRuleAppliesInEveryLanguage) {
    struct Case {
        std::string stored;
        std::string word;
        std::string shown;
    };
    // One blank between the word and the rest, however many the stored name has.
    const std::vector<Case> cases = {
        {"Profile 2", "Profile", "Profile 2"}, {"Profile 2", "Профиль", "Профиль 2"},
        {"配置1", "프로필", "프로필 1"},       {"配置  3", "Profile", "Profile 3"},
        {"Gaming", "Profile", "Gaming"},       {"My Profile", "配置", "My Profile"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageTexts::ApplyProfileRule(c.stored, c.word), c.shown) << c.stored;
    }
    // Exported files keep carrying the name as they always have.
    EXPECT_EQ(LanguageTexts::ApplyProfileRule("Profile 2", "Profile",
                                              LanguageTexts::ProfileNameForm::Exported),
              "Profile  2");
    EXPECT_EQ(LanguageTexts::ApplyProfileRule("配置1", "Profile",
                                              LanguageTexts::ProfileNameForm::Exported),
              "Profile 1");
}

TEST_F(LanguageTextsTest, OffersOnlyListedLanguagesInFixedOrder) {
    const auto offered = LanguageTexts::OfferedLanguages({1033, 2052});
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].lcid, 2052);
    EXPECT_EQ(offered[0].comboText, "简体中文");
    EXPECT_EQ(offered[1].lcid, 1033);
    EXPECT_EQ(offered[1].comboText, "English");

    const auto all =
        LanguageTexts::OfferedLanguages({1049, 1036, 1058, 1042, 1041, 1028, 1033, 2052});
    std::vector<int> order;
    for (const auto& language : all) order.push_back(language.lcid);
    EXPECT_EQ(order, (std::vector<int>{2052, 1033, 1028, 1041, 1042, 1058, 1049}));
    // Each entry names its language as its own speakers write it: Traditional characters for
    // Traditional Chinese, no reading added to the Japanese name, sentence case in Cyrillic.
    const std::vector<std::string_view> selfNames = {
        "简体中文", "English", "繁體中文", "日本語", "한국어", "Українська мова", "Русский язык"};
    for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].comboText, selfNames[i]) << i;
    EXPECT_EQ(LanguageTexts::ComboText(1036), "");
    EXPECT_TRUE(LanguageTexts::OfferedLanguages({}).empty());

    LanguageTexts::SetAvailableLcids({1033, 2052, 1033});
    EXPECT_EQ(AvailableLcids(), (std::vector<int>{1033, 2052}));
}

TEST_F(LanguageTextsTest, LooksUpTheCurrentLanguageAtEveryCall) {
    EXPECT_EQ(CurrentLcid(), 1033);
    LanguageTexts::SetModuleFolder(KESTRIX_SOURCE_DATA);
    EXPECT_EQ(LanguageTexts::FilePath(2052),
              std::string(KESTRIX_SOURCE_DATA) + "/language/2052.lan");
    EXPECT_EQ(GetLanText(text::kProfile), "Profile");
    SetCurrentLcid(2052);
    EXPECT_EQ(GetLanText(text::kProfile), "配置");
    EXPECT_EQ(LocaliseProfileName("Profile 3"), "配置 3");
    EXPECT_EQ(LocaliseGeneratedName("Custom 3 Copy"), "自定义 3 复制");
    SetCurrentLcid(1049);
    EXPECT_EQ(LocaliseGeneratedName("Macro 複製"), "Macro 複製");
    SetCurrentLcid(1042);
    EXPECT_EQ(LocaliseGeneratedName("自定义3"), "自定义3");
}

TEST_F(LanguageTextsTest, LanguageWithoutFileShowsEmptyTexts) {
    test::TempFolder folder;
    LanguageTexts::SetModuleFolder(folder.Path());
    test::LogCapture log;
    SetCurrentLcid(1036);
    for (const int id : text::kUsedTextIds) EXPECT_EQ(GetLanText(id), "") << id;
    EXPECT_EQ(LocaliseProfileName("Profile 1"), " 1");
    EXPECT_EQ(log.Count("1036.lan"), 1u);
}

TEST_F(LanguageTextsTest, ShippedFilesHaveEveryUsedTextInEveryLanguage) {
    for (const int lcid : kShippedLcids) {
        SCOPED_TRACE(lcid);
        const IniFile file(std::string(KESTRIX_SOURCE_DATA) + "/language/" + std::to_string(lcid) +
                           ".lan");
        const std::string bytes = test::ReadText(file.Path());
        ASSERT_EQ(IniFile::DetectEncoding(bytes), IniFile::Encoding::Utf16Le);
        const std::optional<std::string> text = file.ReadText();
        ASSERT_TRUE(text.has_value());
        std::map<int, std::string> values;
        for (const IniFile::Entry& entry : IniFile::Parse(*text)) {
            EXPECT_EQ(entry.section, "LAN") << "line " << entry.line;
            EXPECT_LE(utf8::CodePointCount(entry.value), IniFile::kMaxValueLength) << entry.key;
            EXPECT_TRUE(values.emplace(std::stoi(entry.key), entry.value).second)
                << "key " << entry.key << " twice";
        }
        for (const int id : text::kUsedTextIds) {
            EXPECT_FALSE(values[id].empty()) << "text " << id << " missing";
        }
        EXPECT_EQ(values.size(), text::kUsedTextIds.size());
    }
}

TEST_F(LanguageTextsTest, GeneratedNamesOfEachLanguageTranslateCleanly) {
    // Default names are made as "<text 351> <n>" and profiles as "<text 61> <n>"; under
    // every other language the rules must swap the whole word, leaving nothing behind.
    LanguageTexts::SetModuleFolder(KESTRIX_SOURCE_DATA);
    std::map<int, std::string> custom;
    for (const int lcid : kShippedLcids) {
        SetCurrentLcid(lcid);
        custom[lcid] = GetLanText(LanguageTexts::kCustomWordId);
    }
    const std::set<int> translating = {1033, 2052, 1028, 1041, 1049};
    for (const int from : {1033, 2052, 1028, 1041, 1049}) {
        for (const int to : translating) {
            EXPECT_EQ(LanguageTexts::ApplyPrefixRule(custom[from] + " 7", to, custom[to]),
                      custom[to] + " 7")
                << from << " -> " << to;
        }
    }
    SetCurrentLcid(1033);
    EXPECT_EQ(GetLanText(LanguageTexts::kProfileWordId), "Profile");
    SetCurrentLcid(2052);
    EXPECT_EQ(GetLanText(LanguageTexts::kProfileWordId), "配置");
}

TEST_F(LanguageTextsTest, FixedCallerIdsAreAllListed) {
    // Ids built into the callers of the shell, pages, dialogs and upgrade flows.
    const std::vector<int> fixed = {
        2,   3,   5,   11,  12,  16,  17,  20,  23,  25,  26,  27,  30,  31,  32,  36,  39,  50,
        51,  52,  56,  57,  61,  71,  72,  73,  74,  75,  76,  106, 107, 108, 109, 110, 112, 113,
        114, 115, 117, 118, 119, 120, 121, 122, 123, 124, 127, 128, 129, 130, 131, 132, 133, 134,
        139, 142, 151, 152, 153, 154, 155, 161, 170, 171, 176, 177, 180, 181, 253, 258, 275, 276,
        278, 279, 280, 281, 282, 283, 284, 285, 351, 353, 355, 357, 358, 359, 361, 362, 363, 365,
        366, 368, 385, 386, 387, 393, 394, 395, 397, 398, 400, 401, 402, 403, 404, 410, 411, 415,
        416, 417, 537, 551, 552, 570, 571, 576, 580, 581, 582, 583, 590, 591, 592, 593, 596, 600,
        603, 604, 605, 607, 608, 609, 611, 612, 615, 616, 630,
    };
    for (const int id : fixed) {
        EXPECT_TRUE(std::binary_search(text::kUsedTextIds.begin(), text::kUsedTextIds.end(), id))
            << id;
    }
    EXPECT_TRUE(std::is_sorted(text::kUsedTextIds.begin(), text::kUsedTextIds.end()));
}

TEST_F(LanguageTextsTest, ShippedModelButtonTextsAreListed) {
    // Button names and default functions of the model files are text ids too.
    const std::regex keyElement("<key\\b[^>]*>");
    const std::regex textAttribute("\\b(name|func_desc)=\"([^\"]*)\"");
    size_t checked = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KESTRIX_SOURCE_DATA) + "/device")) {
        if (entry.path().extension() != ".xml") continue;
        const std::string xml = test::ReadText(entry.path().string());
        for (std::sregex_iterator key(xml.begin(), xml.end(), keyElement), end; key != end; ++key) {
            const std::string element = key->str();
            for (std::sregex_iterator attribute(element.begin(), element.end(), textAttribute);
                 attribute != end; ++attribute) {
                const int id = std::atoi((*attribute)[2].str().c_str());
                EXPECT_TRUE(
                    std::binary_search(text::kUsedTextIds.begin(), text::kUsedTextIds.end(), id))
                    << entry.path().filename() << ": " << element;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 0u);
}

}  // namespace
}  // namespace kestrix
