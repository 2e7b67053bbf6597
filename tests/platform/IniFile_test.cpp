// SPDX-License-Identifier: MIT
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "platform/PlatformTestSupport.h"

namespace kestrix {
namespace {

std::string Utf16Bytes(std::string_view utf8Text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : utf8::ToUtf16(utf8Text)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(IniFile, ReadsEveryEncodingByItsByteOrderMark) {
    const std::string content = "[LAN]\r\n61=配置\r\n2052=简体中文\r\n1049=Русский язык\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        IniFile::Encoding encoding;
    };
    const std::vector<Case> cases = {
        {"utf16le", Utf16Bytes(content, false), IniFile::Encoding::Utf16Le},
        {"utf16be", Utf16Bytes(content, true), IniFile::Encoding::Utf16Be},
        {"utf8bom", "\xEF\xBB\xBF" + content, IniFile::Encoding::Utf8WithBom},
        {"utf8", content, IniFile::Encoding::Utf8},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder / c.name;
        test::WriteText(path, c.bytes);
        EXPECT_EQ(IniFile::DetectEncoding(c.bytes), c.encoding) << c.name;
        const IniFile file(path);
        EXPECT_EQ(file.GetString("LAN", "61"), "配置") << c.name;
        EXPECT_EQ(file.GetString("LAN", "2052"), "简体中文") << c.name;
        EXPECT_EQ(file.GetString("LAN", "1049"), "Русский язык") << c.name;
    }
}

TEST(IniFile, DecodesOddAndForeignBytes) {
    // A UTF-16 file cut in the middle of a unit loses only that byte.
    EXPECT_EQ(IniFile::DecodeText(std::string("\xFF\xFE"
                                              "a\0b\0c",
                                              7)),
              "ab");
    // An unpaired surrogate becomes U+FFFD instead of corrupting what follows.
    EXPECT_EQ(IniFile::DecodeText(std::string("\xFF\xFE\x00\xD8x\0", 6)), "\xEF\xBF\xBDx");
    // Without a byte-order mark, bytes that are not UTF-8 are read in the system code page.
    EXPECT_EQ(IniFile::DecodeText("k=caf\xE9"), "k=café");
}

TEST(IniFile, LookupFollowsPrivateProfileRules) {
    const std::string text =
        "top=before any section\n"
        "; 1=commented out\n"
        "[Other]\n"
        "1=other section\n"
        "  [ lan ]  \r\n"
        "  1  =  padded value  \r"
        "Quoted=\"  keeps inner blanks  \"\n"
        "single='x'\n"
        "half=\"open\n"
        "bare\n"
        "empty=\n"
        "a=b=c\n"
        "1=second of the same key\n"
        "[LAN]\n"
        "2=second section of the same name\n";
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const std::vector<Case> cases = {
        {"LAN", "1", "padded value"},
        {"lan", "QUOTED", "  keeps inner blanks  "},
        {"LAN", "single", "x"},
        {"LAN", "half", "\"open"},
        {"LAN", "bare", ""},
        {"LAN", "empty", ""},
        {"LAN", "a", "b=c"},
        {"Other", "1", "other section"},
        {"", "top", "before any section"},
        {"LAN", "top", std::nullopt},
        {"LAN", "; 1", std::nullopt},
        {"LAN", "2", std::nullopt},  // only the first section of a name is searched
        {"Missing", "1", std::nullopt},
        {"LAN", "99", std::nullopt},
    };
    test::TempFolder folder;
    const std::string path = folder / "rules.ini";
    test::WriteText(path, text);
    const IniFile file(path);
    for (const Case& c : cases) {
        EXPECT_EQ(IniFile::FindValue(text, c.section, c.key), c.value)
            << "[" << c.section << "] " << c.key;
        EXPECT_EQ(file.GetString(c.section, c.key, "-"), c.value.value_or("-"))
            << "[" << c.section << "] " << c.key;
    }
}

TEST(IniFile, ParseListsKeysWithSectionAndLine) {
    const std::vector<IniFile::Entry> entries =
        IniFile::Parse("[A]\r\nx=1\r\n\r\n[B]\ny = \"2\"\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].section, "A");
    EXPECT_EQ(entries[0].key, "x");
    EXPECT_EQ(entries[0].line, 2u);
    EXPECT_EQ(entries[1].section, "B");
    EXPECT_EQ(entries[1].value, "2");
    EXPECT_EQ(entries[1].line, 5u);
}

TEST(IniFile, ValuesAndDefaultsAreCutTo259CodePoints) {
    test::TempFolder folder;
    const std::string path = folder / "long.lan";
    std::string longText;
    for (int i = 0; i < 300; ++i) longText += "ж";
    test::WriteText(path, Utf16Bytes("[LAN]\r\n1=" + longText + "\r\n2=short\r\n", false));
    const IniFile file(path);
    const std::string value = file.GetString("LAN", "1");
    EXPECT_EQ(utf8::CodePointCount(value), IniFile::kMaxValueLength);
    EXPECT_TRUE(utf8::IsValid(value));
    EXPECT_EQ(file.GetString("LAN", "2"), "short");
    EXPECT_EQ(utf8::CodePointCount(file.GetString("LAN", "3", longText)), 259u);
}

TEST(IniFile, MissingFileGivesDefaultAndLogsOnce) {
    test::TempFolder folder;
    test::LogCapture log;
    const IniFile file(folder / "absent.lan");
    EXPECT_EQ(file.GetString("LAN", "1"), "");
    EXPECT_EQ(file.GetString("LAN", "1", "fallback"), "fallback");
    EXPECT_EQ(log.Count("absent.lan"), 1u);
    // A folder in place of the file is refused too, not read as an empty file.
    const IniFile directory(folder.Path());
    EXPECT_FALSE(directory.ReadText().has_value());
}

TEST(IniFile, EveryLookupSeesTheFileAsItIsNow) {
    test::TempFolder folder;
    const std::string path = folder / "live.lan";
    const IniFile file(path);
    // Backdate the file so that its parsed content may be kept between lookups.
    const auto backdate = [&] {
        const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
    };
    test::WriteText(path, "[LAN]\n1=first\n");
    backdate();
    EXPECT_EQ(file.GetString("LAN", "1"), "first");
    EXPECT_EQ(file.GetString("LAN", "1"), "first");
    // Same size, rewritten in place: still seen at once.
    test::WriteText(path, "[LAN]\n1=secnd\n");
    EXPECT_EQ(file.GetString("LAN", "1"), "secnd");
    test::WriteText(path, "[LAN]\n1=third\n");
    EXPECT_EQ(file.GetString("LAN", "1"), "third");
    // Replaced by another file with the same old time stamp: the inode differs.
    test::WriteText(path + ".new", "[LAN]\n1=fifth\n");
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (path + ".new").c_str(), old, 0), 0);
    backdate();
    EXPECT_EQ(file.GetString("LAN", "1"), "third");
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
    EXPECT_EQ(file.GetString("LAN", "1"), "fifth");
    std::remove(path.c_str());
    EXPECT_EQ(file.GetString("LAN", "1"), "");
}

}  // namespace
}  // namespace kestrix
