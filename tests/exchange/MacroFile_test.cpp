// SPDX-License-Identifier: MIT
#include "exchange/MacroFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/DataStore.h"
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

// Events of a macro as "index:type:value:stamp:desc" in stored order.
std::vector<std::string> Events(DataStore& store, int macroId) {
    std::vector<MacroRecordRow> rows;
    store.ListMacroRecords(macroId, rows);
    std::vector<std::string> events;
    for (const auto& r : rows) {
        events.push_back(std::to_string(r.recordIndex) + ":" + std::to_string(r.type) + ":" +
                         std::to_string(r.value) + ":" + std::to_string(r.delayTime) + ":" +
                         r.desc);
    }
    return events;
}

class MacroFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(store.OpenForModel(folder.path(), "falco")); }
    std::string File(const std::string& name) const { return folder.path() + name; }
    int MacroCount() {
        std::vector<MacroRow> rows;
        return store.ListMacros(rows);
    }

    test::TempFolder folder;
    DataStore store;
};

TEST_F(MacroFileTest, SingleMacroFileLayoutAndRoundTrip) {
    int id = store.InsertMacro({0, "Copy & \"paste\"", 2, 3, 1, 25});
    // Stored out of order: the file lists events by index.
    store.InsertMacroRecords({{0, id, 1, 1, "C up", 67, 1001}, {0, id, 0, 0, "C down", 67, 1000}});
    ASSERT_TRUE(ExportMacro(store, id, File("m.xml")));
    EXPECT_EQ(
        ReadBytes(File("m.xml")),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<macro>\r\n"
        "<macroinfo macro_name=\"Copy &amp; &quot;paste&quot;\" macro_type=\"2\" play_times=\"3\" "
        "delay_type=\"1\" delay_time=\"25\"/>\r\n"
        "<macroitems>\r\n"
        "<item desc=\"C down\" index=\"0\" type=\"0\" value=\"67\" timestamp=\"1000\"/>\r\n"
        "<item desc=\"C up\" index=\"1\" type=\"1\" value=\"67\" timestamp=\"1001\"/>\r\n"
        "</macroitems>\r\n"
        "</macro>\r\n");

    std::optional<ImportedMacro> first = ImportMacro(store, File("m.xml"));
    std::optional<ImportedMacro> second = ImportMacro(store, File("m.xml"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->name, "Copy & \"paste\"");
    EXPECT_NE(first->macroId, second->macroId);  // equal names never merge
    MacroRow copy;
    ASSERT_TRUE(store.GetMacro(second->macroId, copy));
    EXPECT_EQ((std::vector<int>{copy.playType, copy.playTimes, copy.delayType, copy.delayTime}),
              (std::vector<int>{2, 3, 1, 25}));
    EXPECT_EQ(Events(store, second->macroId), Events(store, id));
}

TEST_F(MacroFileTest, MacroWithoutEventsWritesAnEmptyItemList) {
    int id = store.InsertNamedMacro("Empty");
    ASSERT_TRUE(ExportMacro(store, id, File("empty.xml")));
    EXPECT_NE(ReadBytes(File("empty.xml")).find("<macroitems/>\r\n</macro>\r\n"),
              std::string::npos);
    std::optional<ImportedMacro> imported = ImportMacro(store, File("empty.xml"));
    ASSERT_TRUE(imported);
    EXPECT_TRUE(Events(store, imported->macroId).empty());

    EXPECT_FALSE(ExportMacro(store, 999, File("none.xml")));
    EXPECT_FALSE(std::filesystem::exists(File("none.xml")));
    EXPECT_FALSE(ExportMacro(store, id, File("no/such/folder.xml")));
}

TEST_F(MacroFileTest, SingleFileWithoutMacroInfoStillImportsItsEvents) {
    WriteBytes(File("bare.xml"),
               "<macro><macroitems><item desc=\"d\" index=\"5\" type=\"2\" value=\"9\" "
               "timestamp=\"4294967296\"/></macroitems></macro>");
    std::optional<ImportedMacro> imported = ImportMacro(store, File("bare.xml"));
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->name, "");
    EXPECT_EQ(Events(store, imported->macroId), std::vector<std::string>{"5:2:9:0:d"});
}

TEST_F(MacroFileTest, MacroListFileLayoutAndRoundTrip) {
    int a = store.InsertMacro({0, "A", 0, 1, 1, 0});
    int b = store.InsertMacro({0, "B", 1, 2, 0, 5});
    int c = store.InsertMacro({0, "C", 0, 1, 1, 0});
    store.InsertMacroRecords({{0, a, 0, 0, "x", 1, 10}});
    store.InsertMacroRecords({{0, c, 0, 0, "y", 2, 20}, {0, c, 1, 1, "z", 3, 21}});
    ASSERT_TRUE(ExportAllMacros(store, File("list.xml")));
    EXPECT_EQ(ReadBytes(File("list.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<macro>\r\n"
              "<macro_item macro_name=\"A\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" "
              "delay_time=\"0\">\r\n"
              "<record_item>\r\n"
              "<item desc=\"x\" index=\"0\" type=\"0\" value=\"1\" timestamp=\"10\"/>\r\n"
              "</record_item>\r\n"
              "</macro_item>\r\n"
              "<macro_item macro_name=\"B\" macro_type=\"1\" play_times=\"2\" delay_type=\"0\" "
              "delay_time=\"5\"/>\r\n"
              "<macro_item macro_name=\"C\" macro_type=\"0\" play_times=\"1\" delay_type=\"1\" "
              "delay_time=\"0\">\r\n"
              "<record_item>\r\n"
              "<item desc=\"y\" index=\"0\" type=\"0\" value=\"2\" timestamp=\"20\"/>\r\n"
              "<item desc=\"z\" index=\"1\" type=\"1\" value=\"3\" timestamp=\"21\"/>\r\n"
              "</record_item>\r\n"
              "</macro_item>\r\n"
              "</macro>\r\n");

    const MacroListImport result = ImportMacroList(store, File("list.xml"));
    EXPECT_TRUE(result.complete);
    const std::vector<ImportedMacro>& imported = result.macros;
    ASSERT_EQ(imported.size(), 3u);
    EXPECT_EQ(imported[0].name, "A");
    EXPECT_EQ(imported[1].name, "B");
    EXPECT_EQ(imported[2].name, "C");
    EXPECT_EQ(Events(store, imported[0].macroId), Events(store, a));
    EXPECT_TRUE(Events(store, imported[1].macroId).empty());
    EXPECT_EQ(Events(store, imported[2].macroId), Events(store, c));
    EXPECT_EQ(MacroCount(), 6);
    (void)b;
}

TEST_F(MacroFileTest, EventsKeepTheFilesIndexValues) {
    WriteBytes(File("order.xml"),
               "<macro><macroinfo macro_name=\"M\"/><macroitems>"
               "<item desc=\"late\" index=\"7\" type=\"1\" value=\"1\" timestamp=\"1\"/>"
               "<item desc=\"early\" index=\"2\" type=\"1\" value=\"1\" timestamp=\"2\"/>"
               "</macroitems></macro>");
    std::optional<ImportedMacro> imported = ImportMacro(store, File("order.xml"));
    ASSERT_TRUE(imported);
    EXPECT_EQ(Events(store, imported->macroId),
              (std::vector<std::string>{"2:1:1:2:early", "7:1:1:1:late"}));
}

TEST_F(MacroFileTest, BrokenOrForeignFilesImportNothing) {
    int id = store.InsertNamedMacro("keep");
    store.InsertMacroRecords({{0, id, 0, 0, "e", 1, 1}});
    ASSERT_TRUE(ExportAllMacros(store, File("good.xml")));
    std::string good = ReadBytes(File("good.xml"));
    const std::vector<std::pair<std::string, std::string>> files = {
        {"truncated.xml", good.substr(0, good.size() - 12)},
        {"malformed.xml", "<macro><macro_item macro_name=\"x\"><record_item></macro_item></macro>"},
        {"wrong-root.xml",
         "<profile><macro_item macro_name=\"x\"/><macroinfo macro_name=\"y\"/></profile>"},
        {"empty.xml", ""},
        {"text.xml", "macro"},
    };
    for (const auto& [name, bytes] : files) {
        WriteBytes(File(name), bytes);
        EXPECT_FALSE(ImportMacro(store, File(name)).has_value()) << name;
        const MacroListImport list = ImportMacroList(store, File(name));
        EXPECT_TRUE(list.macros.empty() && !list.complete) << name;
    }
    EXPECT_FALSE(ImportMacro(store, File("absent.xml")).has_value());
    EXPECT_FALSE(ImportMacroList(store, File("absent.xml")).complete);
    EXPECT_EQ(MacroCount(), 1);
    EXPECT_EQ(Events(store, id).size(), 1u);
}

TEST_F(MacroFileTest, ClosedStoreImportsNothing) {
    store.InsertNamedMacro("m");
    ASSERT_TRUE(ExportAllMacros(store, File("list.xml")));
    ASSERT_TRUE(store.Close());
    const MacroListImport list = ImportMacroList(store, File("list.xml"));
    EXPECT_TRUE(list.macros.empty());
    EXPECT_FALSE(list.complete);  // a store that refused is a failed import, not an empty list
    EXPECT_FALSE(ImportMacro(store, File("list.xml")).has_value());
}

}  // namespace
}  // namespace kestrix
