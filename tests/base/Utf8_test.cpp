// SPDX-License-Identifier: MIT
#include "base/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrix {
namespace {

TEST(Utf8, IsValidAcceptsWellFormedAndRejectsIllFormed) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"", true},
        {"plain ascii", true},
        {"\xC3\xA9", true},                  // é
        {"\xE4\xB8\xAD\xE6\x96\x87", true},  // 中文
        {"\xF0\x9F\x96\xB1", true},          // U+1F5B1
        {"\xEF\xBF\xBF", true},              // U+FFFF
        {"\xF4\x8F\xBF\xBF", true},          // U+10FFFF
        {"\x80", false},                     // lone continuation
        {"\xC3", false},                     // truncated
        {"\xE4\xB8", false},                 // truncated
        {"\xC0\xAF", false},                 // overlong '/'
        {"\xC1\xBF", false},                 // overlong
        {"\xE0\x80\xAF", false},             // overlong
        {"\xF0\x80\x80\xAF", false},         // overlong
        {"\xED\xA0\x80", false},             // surrogate D800
        {"\xF4\x90\x80\x80", false},         // above U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"\xFF", false},
        {"ok\xC3(", false},  // bad continuation
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8::IsValid(c.bytes), c.valid) << "bytes of size " << c.bytes.size();
    }
}

TEST(Utf8, CountsCodePointsNotBytes) {
    EXPECT_EQ(utf8::CodePointCount(""), 0u);
    EXPECT_EQ(utf8::CodePointCount("abc"), 3u);
    EXPECT_EQ(utf8::CodePointCount("\xE4\xB8\xAD\xE6\x96\x87"), 2u);
    EXPECT_EQ(utf8::CodePointCount("a\xF0\x9F\x96\xB1z"), 3u);
    EXPECT_EQ(utf8::CodePointCount("\xFF\xFE"), 2u);  // each bad byte counts once
    EXPECT_EQ(utf8::CodePointCount("\xE4\xB8"), 2u);
}

TEST(Utf8, TruncateNeverCutsASequence) {
    const std::string text = "a\xE4\xB8\xAD\xF0\x9F\x96\xB1z";
    EXPECT_EQ(utf8::TruncateCodePoints(text, 0), "");
    EXPECT_EQ(utf8::TruncateCodePoints(text, 1), "a");
    EXPECT_EQ(utf8::TruncateCodePoints(text, 2), "a\xE4\xB8\xAD");
    EXPECT_EQ(utf8::TruncateCodePoints(text, 3), "a\xE4\xB8\xAD\xF0\x9F\x96\xB1");
    EXPECT_EQ(utf8::TruncateCodePoints(text, 4), text);
    EXPECT_EQ(utf8::TruncateCodePoints(text, 99), text);
}

TEST(Utf8, AppendCodePointEncodesEveryLengthAndReplacesInvalid) {
    std::string out;
    utf8::AppendCodePoint(out, U'A');
    utf8::AppendCodePoint(out, 0xE9);
    utf8::AppendCodePoint(out, 0x4E2D);
    utf8::AppendCodePoint(out, 0x1F5B1);
    EXPECT_EQ(out, "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x96\xB1");
    out.clear();
    utf8::AppendCodePoint(out, 0xD800);
    utf8::AppendCodePoint(out, 0x110000);
    EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD");
    // Wide strings from hidapi take the same path; a negative wchar_t is no code point.
    const wchar_t wide[] = {L'A', 0x1F5B1, static_cast<wchar_t>(-1), 0};
    EXPECT_EQ(utf8::FromWide(wide), "A\xF0\x9F\x96\xB1\xEF\xBF\xBD");
    EXPECT_EQ(utf8::FromWide(nullptr), "");
}

TEST(Utf8, Utf16RoundTripAndBadInput) {
    const std::u16string wide = u"Maus \u4E2D \U0001F5B1";
    const std::string narrow = utf8::FromUtf16(wide);
    EXPECT_EQ(narrow, "Maus \xE4\xB8\xAD \xF0\x9F\x96\xB1");
    EXPECT_EQ(utf8::ToUtf16(narrow), wide);
    // Unpaired surrogates in both orders become U+FFFD.
    EXPECT_EQ(utf8::FromUtf16(std::u16string{char16_t(0xD800), u'x', char16_t(0xDC00)}),
              "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(utf8::ToUtf16("a\xFF"
                            "b"),
              u"a\uFFFDb");
}

TEST(Utf8, Windows1252MapsTheHighRange) {
    EXPECT_EQ(utf8::FromWindows1252("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(utf8::FromWindows1252("\x80\x99\x9F"), "\xE2\x82\xAC\xE2\x84\xA2\xC5\xB8");
    EXPECT_EQ(utf8::FromWindows1252("\x81"), "\xC2\x81");  // undefined byte keeps its value
    EXPECT_EQ(utf8::FromWindows1252("\xFF"), "\xC3\xBF");
}

}  // namespace
}  // namespace kestrix

namespace kestrix {
namespace {

TEST(Utf8, ToWindows1252RoundTripsTheCodePageAndMarksTheRest) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(utf8::ToWindows1252(utf8::FromWindows1252(all)), all);
    EXPECT_EQ(utf8::ToWindows1252("\xE4\xB8\xAD \xE2\x82\xAC"), "? \x80");
    EXPECT_EQ(utf8::ToWindows1252("a\xFF"), "a?");
}

TEST(Utf8, SanitizeReplacesOnlyIllFormedBytes) {
    EXPECT_EQ(utf8::Sanitize("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(utf8::Sanitize("caf\xE9!"), "caf\xEF\xBF\xBD!");
    EXPECT_EQ(utf8::Sanitize("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kestrix
