// SPDX-License-Identifier: MIT
#include "xml/XmlDocument.h"

#include "base/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kestrix {
namespace {

namespace fs = std::filesystem;
using Status = XmlParseResult::Status;

class XmlDocumentFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kestrix-xml-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        Log::SetSink([this](std::string_view line) { m_log.emplace_back(line); });
    }
    void TearDown() override {
        Log::SetSink({});
        fs::remove_all(m_dir);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The value of attribute "v" of the root element of a loaded file.
    static std::string RootValue(XmlDocument& doc) {
        return doc.FindElement("a") ? doc.GetAttribute("v") : "<no root>";
    }
    bool LogMentions(const std::string& word) const {
        for (const auto& line : m_log) {
            if (line.find(word) != std::string::npos) return true;
        }
        return false;
    }

    fs::path m_dir;
    std::vector<std::string> m_log;
};

std::string Utf16Le(const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::string Utf16Be(const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit >> 8));
        bytes.push_back(static_cast<char>(unit & 0xFF));
    }
    return bytes;
}

TEST_F(XmlDocumentFiles, DecodesEveryEncodingToTheSameText) {
    const std::string cafe = "caf\xC3\xA9 \xE4\xB8\xAD";  // "café 中" in UTF-8
    const std::u16string cafe16 = u"<a v=\"caf\u00E9 \u4E2D\"/>";
    struct Case {
        const char* what;
        std::string bytes;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"utf-8 without mark", "<a v=\"" + cafe + "\"/>", cafe},
        {"utf-8 with mark", "\xEF\xBB\xBF<a v=\"" + cafe + "\"/>", cafe},
        {"utf-8 declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a v=\"" + cafe + "\"/>",
         cafe},
        {"utf-16le with mark", "\xFF\xFE" + Utf16Le(cafe16), cafe},
        {"utf-16be with mark", "\xFE\xFF" + Utf16Be(cafe16), cafe},
        {"utf-16le without mark", Utf16Le(cafe16), cafe},
        {"utf-16be without mark", Utf16Be(cafe16), cafe},
        {"windows-1252 declared",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"caf\xE9 \x80\"/>",
         "caf\xC3\xA9 \xE2\x82\xAC"},
        {"other names use the code page",
         "<?xml version='1.0' encoding='ISO-8859-1'?><a v=\"\xE9\"/>", "\xC3\xA9"},
        {"undeclared, valid utf-8", "\r\n<a v=\"" + cafe + "\"/>", cafe},
        {"undeclared, not utf-8", "\r\n<a v=\"caf\xE9\"/>", "caf\xC3\xA9"},
        {"starts with <, bad bytes", "<a v=\"caf\xE9\"/>", "caf\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.LoadFile(Write("f.xml", c.bytes))) << c.what;
        EXPECT_EQ(RootValue(doc), c.value) << c.what;
    }
}

TEST_F(XmlDocumentFiles, BomAndNoBomGiveIdenticalDocumentText) {
    const std::string body =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<config><lan value=\"1033\"/></config>";
    XmlDocument withMark;
    XmlDocument without;
    ASSERT_TRUE(withMark.LoadFile(Write("a.xml", "\xEF\xBB\xBF" + body)));
    ASSERT_TRUE(without.LoadFile(Write("b.xml", body)));
    EXPECT_EQ(withMark.GetDocText(), without.GetDocText());
    EXPECT_EQ(without.GetDocText(), body);
}

TEST(XmlDocument, RefusesMalformedDocumentsAndSaysWhere) {
    struct Case {
        std::string text;
        Status status;
        size_t offset;
    };
    const std::vector<Case> cases = {
        {"", Status::NoRoot, 0},
        {"</a>", Status::EndTagWithoutStart, 0},
        {"<a/></a>", Status::EndTagWithoutStart, 4},
        {"<a></b>", Status::MismatchedEndTag, 3},
        {"<a/><b/>", Status::SecondRoot, 4},
        {"<a></a>\r\n<a></a>", Status::SecondRoot, 9},
        {"<a><b></b>", Status::UnendedTag, 0},
        {"<a><b x=\"1\"", Status::UnendedTag, 3},
        {"<a><b x=\"1", Status::UnendedTag, 3},
        {"<a><b x=", Status::UnendedTag, 3},
        {"<a><", Status::UnendedTag, 3},
        {"<a></a", Status::UnendedTag, 3},
        {"<a><!-- never closed", Status::UnendedTag, 3},
        {"<?xml version=\"1.0\"", Status::UnendedTag, 0},
        {"<a x=1/>", Status::SyntaxError, 5},
        {"<a x=\"1\"y=\"2\"/>", Status::SyntaxError, 8},
        {"<a x=\"<\"/>", Status::SyntaxError, 6},
        {"<a x/>", Status::SyntaxError, 4},
        {"< a/>", Status::SyntaxError, 0},
        {"<a/ >", Status::SyntaxError, 2},
        {"<1a/>", Status::SyntaxError, 0},
        {"text<a/>", Status::SyntaxError, 0},
        {"<a/>tail", Status::SyntaxError, 4},
        {std::string("<a>\0</a>", 8), Status::SyntaxError, 3},
        {"<!DOCTYPE a [<!ENTITY x \"y\">]><a/>", Status::DoctypeRefused, 0},
        {"<!ELEMENT a ANY><a/>", Status::SyntaxError, 0},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        EXPECT_FALSE(doc.SetDocText(c.text)) << c.text;
        EXPECT_EQ(doc.LastParseResult().status, c.status) << c.text;
        EXPECT_EQ(doc.LastParseResult().offset, c.offset) << c.text;
        EXPECT_EQ(doc.GetDocText(), "") << c.text;
        EXPECT_FALSE(doc.FindElement("a")) << c.text;
    }
}

TEST(XmlDocument, AcceptsCommentsInstructionsCdataAndMixedQuotes) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.SetDocText("<?xml version='1.0'?>\n<!-- head -->\n<a x = 'it\"s'>\n"
                       "  <!-- <b/> is commented out --><?pi data?>\n"
                       "  <![CDATA[<b/>]]>text &amp; more<b y=\"2\"></b >\n</a >\n<!-- tail -->\n"))
        << static_cast<int>(doc.LastParseResult().status) << " at " << doc.LastParseResult().offset;
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_EQ(doc.GetAttribute("x"), "it\"s");
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_EQ(doc.GetAttribute("y"), "2");
    EXPECT_FALSE(doc.FindElement("b"));
}

TEST(XmlDocument, NestingIsLimitedWithoutRecursion) {
    const auto nested = [](size_t depth) {
        std::string text;
        for (size_t i = 0; i < depth; ++i) text += "<e>";
        for (size_t i = 0; i < depth; ++i) text += "</e>";
        return text;
    };
    XmlDocument doc;
    EXPECT_TRUE(doc.SetDocText(nested(XmlDocument::kMaxDepth)));
    EXPECT_FALSE(doc.SetDocText(nested(XmlDocument::kMaxDepth + 1)));
    EXPECT_EQ(doc.LastParseResult().status, Status::TooDeep);
    EXPECT_EQ(doc.LastParseResult().offset, 3 * XmlDocument::kMaxDepth);
    // Far beyond any stack: still a clean refusal.
    EXPECT_FALSE(doc.SetDocText(std::string(3'000'000, '<')));
}

TEST(XmlDocument, FindElementOnlySearchesForward) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.SetDocText("<mouse><image_file/><menu light=\"1\"/><custom show_lod=\"1\"/>"
                       "<firmware url=\"u\"/></mouse>"));
    ASSERT_TRUE(doc.FindElement("mouse"));
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.FindElement("custom"));
    EXPECT_EQ(doc.GetAttribute("show_lod"), "1");
    // An earlier sibling is no longer found, and the failed search does not move the cursor.
    EXPECT_FALSE(doc.FindElement("menu"));
    EXPECT_EQ(doc.GetTagName(), "custom");
    EXPECT_FALSE(doc.FindElement("Firmware"));  // case-sensitive
    ASSERT_TRUE(doc.FindElement("firmware"));
    EXPECT_EQ(doc.GetAttribute("url"), "u");
    EXPECT_EQ(doc.GetAttribute("missing"), "");
    EXPECT_FALSE(doc.FindElement("firmware"));
    ASSERT_TRUE(doc.OutOfElement());
    EXPECT_EQ(doc.GetTagName(), "mouse");
    EXPECT_FALSE(doc.OutOfElement());
    EXPECT_FALSE(doc.FindElement("mouse"));  // only one root
}

TEST(XmlDocument, IntoAnEmptyElementFindsNothingAndOutReturns) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocText("<a><b/><c>x</c></a>"));
    EXPECT_FALSE(doc.IntoElement());  // no current element at document level yet
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.FindElement("b"));
    ASSERT_TRUE(doc.IntoElement());
    EXPECT_FALSE(doc.FindElement("c"));
    ASSERT_TRUE(doc.OutOfElement());
    EXPECT_EQ(doc.GetTagName(), "b");
    ASSERT_TRUE(doc.FindElement("c"));
    ASSERT_TRUE(doc.IntoElement());
    EXPECT_FALSE(doc.FindElement("x"));
}

TEST(XmlDocument, DecodesEntitiesAndCharacterReferences) {
    struct Case {
        std::string raw;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"&lt;&amp;&gt;&apos;&quot;", "<&>'\""},
        {"&#65;&#x42;&#X43;", "ABC"},
        {"&#x4E2D;", "\xE4\xB8\xAD"},
        {"&#x1F5B1;&#128433;", "\xF0\x9F\x96\xB1\xF0\x9F\x96\xB1"},  // beyond 0xFFFF
        {"&#xD800;&#x110000;&#0;&#9999999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"&nbsp; &#; &#x; &#12a; & alone &amp", "&nbsp; &#; &#x; &#12a; & alone &amp"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.SetDocText("<a v=\"" + c.raw + "\"/>")) << c.raw;
        ASSERT_TRUE(doc.FindElement("a"));
        EXPECT_EQ(doc.GetAttribute("v"), c.value) << c.raw;
    }
}

TEST(XmlDocument, WritesTheExactExporterLayout) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root/>"));
    ASSERT_TRUE(doc.FindElement("root"));
    ASSERT_TRUE(doc.SetAttribute("version", "1"));
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.AddElement("profile"));
    ASSERT_TRUE(doc.SetAttribute("name", "P1"));
    ASSERT_TRUE(doc.SetAttribute("id", "3"));
    ASSERT_TRUE(doc.AddElement("keyitems"));
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.AddElement("item"));
    ASSERT_TRUE(doc.SetAttribute("key_code", "0"));
    ASSERT_TRUE(doc.AddElement("item"));
    ASSERT_TRUE(doc.OutOfElement());
    ASSERT_TRUE(doc.AddElement("lights"));
    EXPECT_EQ(doc.GetDocText(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<root version=\"1\">\r\n"
              "<profile name=\"P1\" id=\"3\"/>\r\n"
              "<keyitems>\r\n"
              "<item key_code=\"0\"/>\r\n"
              "<item/>\r\n"
              "</keyitems>\r\n"
              "<lights/>\r\n"
              "</root>");
}

TEST(XmlDocument, BuildsFromTheNewDocumentTextAndReadsBack) {
    XmlDocument doc;
    // Writers start from the declaration alone: no root yet, but the text stays for AddElement.
    EXPECT_FALSE(doc.SetDocText(XmlDocument::kNewDocumentText));
    EXPECT_EQ(doc.LastParseResult().status, Status::NoRoot);
    ASSERT_TRUE(doc.AddElement("macros"));
    EXPECT_EQ(doc.GetDocText(), std::string(XmlDocument::kNewDocumentText) + "<macros/>\r\n");
    ASSERT_FALSE(doc.AddElement("second"));  // a document keeps one root
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.AddElement("macro"));
    ASSERT_TRUE(doc.SetAttribute("name", "one"));
    EXPECT_EQ(doc.GetDocText(), std::string(XmlDocument::kNewDocumentText) +
                                    "<macros>\r\n<macro name=\"one\"/>\r\n</macros>\r\n");

    // An empty document gets its root without a declaration.
    XmlDocument empty;
    ASSERT_TRUE(empty.AddElement("macros"));
    EXPECT_EQ(empty.GetDocText(), "<macros/>\r\n");
}

TEST(XmlDocument, InsertsAfterTheCurrentElementAndReplacesAttributes) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocText("<r>\n  <a v=\"1\"/>\n  <c v=\"3\"/>\n</r>"));
    ASSERT_TRUE(doc.FindElement("r"));
    ASSERT_TRUE(doc.IntoElement());
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.AddElement("b"));
    ASSERT_TRUE(doc.SetAttribute("v", "2"));
    ASSERT_TRUE(doc.FindElement("c"));
    ASSERT_TRUE(doc.SetAttribute("v", "a much longer value"));
    ASSERT_TRUE(doc.SetAttribute("w", "x"));
    ASSERT_TRUE(doc.SetAttribute("v", ""));
    ASSERT_TRUE(doc.OutOfElement());
    ASSERT_TRUE(doc.SetAttribute("n", "3"));
    EXPECT_EQ(doc.GetDocText(),
              "<r n=\"3\">\n  <a v=\"1\"/>\n<b v=\"2\"/>\r\n  <c v=\"\" w=\"x\"/>\n</r>");

    // The index still matches the text: a fresh parse reads the same.
    XmlDocument reread;
    ASSERT_TRUE(reread.SetDocText(doc.GetDocText()));
    ASSERT_TRUE(reread.FindElement("r"));
    ASSERT_TRUE(reread.IntoElement());
    for (const char* name : {"a", "b", "c"}) EXPECT_TRUE(reread.FindElement(name)) << name;
}

TEST(XmlDocument, RefusesInvalidNamesAndWritesWithoutACurrentElement) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocText("<r/>"));
    EXPECT_FALSE(doc.SetAttribute("v", "1"));  // nothing current
    ASSERT_TRUE(doc.FindElement("r"));
    EXPECT_FALSE(doc.SetAttribute("bad name", "1"));
    EXPECT_FALSE(doc.SetAttribute("", "1"));
    ASSERT_TRUE(doc.IntoElement());
    EXPECT_FALSE(doc.AddElement("a>b"));
    EXPECT_FALSE(doc.AddElement(""));
    EXPECT_EQ(doc.GetDocText(), "<r/>");
}

TEST_F(XmlDocumentFiles, RoundTripsEveryEscapedCharacter) {
    const std::string value = "a<b & c>d 'single' \"double\" \xE4\xB8\xAD\xF0\x9F\x96\xB1 tab\tend";
    XmlDocument doc;
    doc.SetDocText(XmlDocument::kNewDocumentText);
    ASSERT_TRUE(doc.AddElement("profile"));
    ASSERT_TRUE(doc.SetAttribute("name", value));
    // Characters XML 1.0 cannot carry, not even as references, are left out.
    ASSERT_TRUE(doc.SetAttribute("ctl", std::string("x\x01\x1B\xEF\xBF\xBEy")));
    const std::string path = (m_dir / "out.xml").string();
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(Read(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile name=\"a&lt;b &amp; c&gt;d "
              "&apos;single&apos; "
              "&quot;double&quot; \xE4\xB8\xAD\xF0\x9F\x96\xB1 tab\tend\" ctl=\"xy\"/>\r\n");
    XmlDocument loaded;
    ASSERT_TRUE(loaded.LoadFile(path));
    ASSERT_TRUE(loaded.FindElement("profile"));
    EXPECT_EQ(loaded.GetAttribute("name"), value);
    EXPECT_EQ(loaded.GetAttribute("ctl"), "xy");
}

TEST_F(XmlDocumentFiles, SavesInTheDeclaredEncodingWithoutAMark) {
    struct Case {
        std::string declaration;
        std::string expectedBytes;
    };
    const std::string body = "<a v=\"\xC3\xA9\xE4\xB8\xAD\"/>";  // é and a character outside 1252
    const std::vector<Case> cases = {
        {"", body},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?>",
         Utf16Le(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\u00E9\u4E2D\"/>")},
        {"<?xml version=\"1.0\" encoding=\"utf-16be\"?>",
         Utf16Be(u"<?xml version=\"1.0\" encoding=\"utf-16be\"?><a v=\"\u00E9\u4E2D\"/>")},
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\xE9?\"/>"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.SetDocText(c.declaration + body)) << c.declaration;
        const std::string path = (m_dir / "saved.xml").string();
        ASSERT_TRUE(doc.SaveFile(path)) << c.declaration;
        EXPECT_EQ(Read(path), c.expectedBytes) << c.declaration;
        // What was written loads again (UTF-16 without a mark is recognised by its '<').
        XmlDocument again;
        ASSERT_TRUE(again.LoadFile(path)) << c.declaration;
        ASSERT_TRUE(again.FindElement("a"));
        EXPECT_EQ(again.GetAttribute("v").substr(0, 2), "\xC3\xA9") << c.declaration;
    }
}

TEST_F(XmlDocumentFiles, SaveReplacesAnExistingFileAndReportsFailure) {
    const std::string path = Write("old.xml", std::string(1000, 'x'));
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocText("<a/>"));
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(Read(path), "<a/>");
    EXPECT_FALSE(doc.SaveFile((m_dir / "missing" / "x.xml").string()));
    EXPECT_TRUE(LogMentions("cannot create"));
}

TEST_F(XmlDocumentFiles, FailedLoadEmptiesTheDocumentAndLogs) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(Write("good.xml", "<a v=\"1\"/>")));
    ASSERT_TRUE(doc.FindElement("a"));

    EXPECT_FALSE(doc.LoadFile(Write("bad.xml", "<a v=\"1\"><b></a>")));
    EXPECT_EQ(doc.LastParseResult().status, Status::MismatchedEndTag);
    EXPECT_EQ(doc.GetDocText(), "");
    EXPECT_EQ(doc.GetTagName(), "");
    EXPECT_FALSE(doc.FindElement("a"));
    EXPECT_TRUE(LogMentions("bad.xml"));

    EXPECT_FALSE(doc.LoadFile((m_dir / "absent.xml").string()));
    EXPECT_EQ(doc.LastParseResult().status, Status::FileError);
    EXPECT_TRUE(LogMentions("absent.xml"));

    EXPECT_FALSE(doc.LoadFile(m_dir.string()));  // a folder
    EXPECT_EQ(doc.LastParseResult().status, Status::FileError);

    // Truncated in the middle of a tag.
    EXPECT_FALSE(doc.LoadFile(
        Write("cut.xml", "<?xml version=\"1.0\"?>\r\n<config><device><mouse name=\"Kes")));
    EXPECT_EQ(doc.LastParseResult().status, Status::UnendedTag);
}

TEST_F(XmlDocumentFiles, RefusesFilesOverTheSizeLimit) {
    std::string big = "<a v=\"";
    big.resize(XmlDocument::kMaxFileSize - 3, 'x');
    big += "\"/>";
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(Write("limit.xml", big)));  // exactly at the limit
    big.insert(6, "y");
    EXPECT_FALSE(doc.LoadFile(Write("over.xml", big)));
    EXPECT_EQ(doc.LastParseResult().status, Status::TooLarge);
    EXPECT_TRUE(LogMentions("16 MiB"));
}

}  // namespace
}  // namespace kestrix
