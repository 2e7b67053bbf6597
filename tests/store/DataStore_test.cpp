// SPDX-License-Identifier: MIT
#include "store/DataStore.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/Log.h"
#include "store/DefaultLightRows.h"
#include "store/DefaultSettings.h"
#include "store/TempFolder.h"

namespace kestrix {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Reads a file with its own connection, so the checks do not go through the code under test.
Rows Query(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    Rows rows;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path;
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
    }
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const unsigned char* text = sqlite3_column_text(stmt, i);
            row.emplace_back(text ? reinterpret_cast<const char*>(text) : "<null>");
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

class DataStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(store.OpenForModel(folder.path(), "vireo")); }
    std::string DbPath() const { return folder.path() + "db/vireo_data2.db"; }

    test::TempFolder folder;
    DataStore store;
};

TEST_F(DataStoreTest, NewFileHoldsTheSchemaObjectsWithTheirColumnsInOrder) {
    EXPECT_EQ(store.Path(), DbPath());
    Rows objects = Query(DbPath(),
                         "SELECT type, name, tbl_name FROM sqlite_master "
                         "WHERE name NOT LIKE 'sqlite_%' ORDER BY rowid");
    const Rows expectedObjects = {
        {"table", "t_configdata", "t_configdata"},
        {"table", "t_profile_data", "t_profile_data"},
        {"index", "profileindex", "t_profile_data"},
        {"table", "t_key_macro_data", "t_key_macro_data"},
        {"index", "keyindex", "t_key_macro_data"},
        {"table", "t_key_otherdata", "t_key_otherdata"},
        {"index", "otheridindex", "t_key_otherdata"},
        {"table", "t_macro_data", "t_macro_data"},
        {"index", "macroidindex", "t_macro_data"},
        {"table", "t_macrorecord", "t_macrorecord"},
        {"index", "macrorecordindex", "t_macrorecord"},
        {"table", "t_light_data", "t_light_data"},
        {"index", "lightindex", "t_light_data"},
        {"table", "t_key_light_data", "t_key_light_data"},
        {"index", "keylightindex", "t_key_light_data"},
        {"index", "macrorecordmacroindex", "t_macrorecord"},
    };
    EXPECT_EQ(objects, expectedObjects);

    const std::vector<std::pair<std::string, std::string>> expectedColumns = {
        {"t_configdata", "config_id:INTEGER:1 profile:INTEGER key:TEXT value:TEXT"},
        {"t_profile_data", "profile:INTEGER:1 name:TEXT status:INTEGER app:TEXT type:INTEGER"},
        {"t_key_macro_data",
         "key_id:INTEGER:1 profile:INTEGER fn_layer:INTEGER key_code:INTEGER layout_value:INTEGER "
         "layout_desc:TEXT macro_type:INTEGER macro_value:INTEGER macro_value2:INTEGER "
         "macro_value3:INTEGER macro_desc:TEXT"},
        {"t_key_otherdata", "macro_value:INTEGER:1 macro_desc:TEXT param:TEXT type:INTEGER"},
        {"t_macro_data",
         "macro_id:INTEGER:1 name:TEXT play_type:INTEGER play_times:INTEGER delay_type:INTEGER "
         "delay_time:INTEGER"},
        {"t_macrorecord",
         "record_id:INTEGER:1 macro_id:INTEGER type:INTEGER record_index:INTEGER desc:TEXT "
         "value:INTEGER delay_time:INTEGER"},
        {"t_light_data",
         "light_id:INTEGER:1 profile:INTEGER name:TEXT mode:INTEGER brightness:INTEGER "
         "speed:INTEGER "
         "direction:INTEGER colorful:INTEGER colorindex:INTEGER color_value1:INTEGER "
         "color_value2:INTEGER color_value3:INTEGER color_value4:INTEGER color_value5:INTEGER "
         "color_value6:INTEGER color_value7:INTEGER config_func:INTEGER reserved:INTEGER "
         "status:INTEGER"},
        {"t_key_light_data",
         "keylight_id:INTEGER:1 profile:INTEGER light_id:INTEGER key_code:INTEGER key_rgb:INTEGER"},
    };
    for (const auto& [table, columns] : expectedColumns) {
        std::string described;
        for (const auto& column : Query(DbPath(), "PRAGMA table_info(" + table + ")")) {
            if (!described.empty()) described += ' ';
            described += column[1] + ":" + column[2] + (column[5] == "1" ? ":1" : "");
        }
        EXPECT_EQ(described, columns) << table;
    }
    // Every row id is AUTOINCREMENT, which SQLite records in sqlite_sequence.
    EXPECT_EQ(Query(DbPath(), "SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"),
              (Rows{{"1"}}));
}

TEST_F(DataStoreTest, ExistingFileIsCompletedOnOpen) {
    ASSERT_TRUE(store.Close());
    EXPECT_FALSE(store.IsOpened());
    Query(DbPath(), "DROP TABLE t_key_light_data");
    ASSERT_TRUE(store.OpenForModel(folder.path(), "vireo"));
    EXPECT_EQ(
        Query(DbPath(), "SELECT name FROM sqlite_master WHERE name = 't_key_light_data'").size(),
        1u);
    // A second call while open keeps the connection and reports success.
    EXPECT_TRUE(store.OpenForModel(folder.path(), "vireo"));
}

// Files a full disk, a crash or a stray copy leave where the database should be. Each ends in
// a working store; a file that held something is kept beside it under a dated name.
TEST(DataStoreOpen, DamagedFilesAreMovedAsideAndReplaced) {
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> damage;
        bool movedAside;
    };
    const std::vector<Case> cases = {
        {"0 bytes", [](const std::string& path) { std::filesystem::resize_file(path, 0); }, false},
        {"truncated", [](const std::string& path) { std::filesystem::resize_file(path, 12288); },
         true},
        {"random bytes",
         [](const std::string& path) {
             std::ofstream out(path, std::ios::binary | std::ios::trunc);
             std::mt19937 random(7);
             for (int i = 0; i < 8192; ++i) out.put(static_cast<char>(random()));
         },
         true},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const std::string path = folder.path() + "db/vireo_data2.db";
        {
            DataStore store;
            ASSERT_TRUE(store.OpenForModel(folder.path(), "vireo"));
            for (int n = 0; n < 40; ++n) store.InsertProfile({0, std::string(200, 'p'), 0, "", 0});
        }
        c.damage(path);
        const std::string damagedBytes = [&] {
            std::ifstream in(path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }();

        DataStore store;
        std::vector<std::string> told;
        store.SetMovedAsideListener([&](const std::string& movedTo) { told.push_back(movedTo); });
        ASSERT_TRUE(store.OpenForModel(folder.path(), "vireo")) << c.name;
        EXPECT_GT(store.InsertProfile({0, "new", 0, "", 0}), 0) << c.name;
        std::vector<ProfileRow> profiles;
        EXPECT_GE(store.ListProfiles(profiles), 1) << c.name;

        std::vector<std::string> aside;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() + "db")) {
            const std::string name = entry.path().filename().string();
            const bool companion = name.ends_with("-wal") || name.ends_with("-shm");
            if (name.find(".damaged-") != std::string::npos && !companion)
                aside.push_back(entry.path().string());
        }
        if (!c.movedAside) {
            EXPECT_TRUE(aside.empty()) << c.name;
            EXPECT_TRUE(told.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(aside.size(), 1u) << c.name;
        EXPECT_EQ(told, aside) << c.name;
        EXPECT_EQ(store.TakeMovedAsidePath(), aside[0]);
        std::ifstream in(aside[0], std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damagedBytes) << c.name;
    }
}

TEST(DataStoreOpen, EmptyModelAttributeAndSwitchingModels) {
    test::TempFolder folder;
    DataStore store;
    ASSERT_TRUE(store.OpenForModel(folder.path(), ""));
    EXPECT_TRUE(std::filesystem::exists(folder.path() + "db/_data2.db"));
    ASSERT_GT(store.InsertProfile({0, "first", 0, "", 0}), 0);

    // Opening another model without closing must not keep writing into the first file.
    ASSERT_TRUE(store.OpenForModel(folder.path(), "falco"));
    std::vector<ProfileRow> profiles;
    EXPECT_EQ(store.ListProfiles(profiles), 0);
    EXPECT_EQ(store.Path(), folder.path() + "db/falco_data2.db");
}

TEST(DataStoreOpen, UnwritableFolderLeavesTheStoreClosed) {
    test::TempFolder folder;
    // A file where the db folder should be makes both the folder and the database impossible.
    { std::ofstream(folder.path() + "db") << "x"; }
    DataStore store;
    std::vector<std::string> log;
    Log::SetSink([&](std::string_view line) { log.emplace_back(line); });
    EXPECT_FALSE(store.OpenForModel(folder.path(), "vireo"));
    Log::SetSink({});
    EXPECT_FALSE(store.IsOpened());
    EXPECT_FALSE(log.empty());
}

TEST_F(DataStoreTest, NewProfileHasTheFortyDefaultSettingsInOrder) {
    ProfileId id = store.InsertProfile({0, "Profile 1", 1, "", 7});
    ASSERT_EQ(id, 1);
    Rows rows = Query(DbPath(), "SELECT profile, key, value FROM t_configdata ORDER BY config_id");
    ASSERT_EQ(rows.size(), kDefaultSettingCount);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i], (std::vector<std::string>{"1", std::string(DefaultSettings()[i].key),
                                                     std::string(DefaultSettings()[i].value)}));
    }
    EXPECT_EQ(DefaultSettings().front().key, "version");
    EXPECT_EQ(DefaultSettings()[23].value, "26000");
    EXPECT_EQ(DefaultSettings().back().value, "550");
    // Created inactive with type 0, whatever the row passed in says.
    EXPECT_EQ(Query(DbPath(), "SELECT * FROM t_profile_data"),
              (Rows{{"1", "Profile 1", "0", "", "0"}}));
}

TEST_F(DataStoreTest, SettingsReadAndUpdateOnlyExistingRows) {
    ProfileId one = store.InsertProfile({0, "a", 0, "", 0});
    ProfileId two = store.InsertProfile({0, "b", 0, "", 0});
    std::string value = "stale";

    EXPECT_TRUE(store.SetSetting(one, "no_such_key", "5"));
    EXPECT_FALSE(store.GetSetting(one, "no_such_key", value));
    EXPECT_EQ(value, "");

    EXPECT_TRUE(store.SetSetting(one, "dpi_group0_value", ""));
    EXPECT_TRUE(store.GetSetting(one, "dpi_group0_value", value));
    EXPECT_EQ(value, "");

    EXPECT_TRUE(store.SetSettingInt(two, "report_rate", -3));
    int number = 0;
    EXPECT_TRUE(store.GetSettingInt(two, "report_rate", number));
    EXPECT_EQ(number, -3);
    EXPECT_TRUE(store.GetSetting(one, "report_rate", value));
    EXPECT_EQ(value, "2");

    EXPECT_TRUE(store.SetSetting(two, "dpi_index", "99999999999"));
    EXPECT_TRUE(store.GetSettingInt(two, "dpi_index", number));
    EXPECT_EQ(number, 0);  // out of 32-bit range reads as 0, not a wrapped value
    EXPECT_FALSE(store.GetSetting(3, "dpi_index", value));
}

TEST_F(DataStoreTest, ProfilesListRenameAndActivation) {
    for (const char* name : {"Profile 1", "Profile 2", "配置 3"})
        store.InsertProfile({0, name, 0, "", 0});
    std::vector<ProfileRow> rows(5);
    ASSERT_EQ(store.ListProfiles(rows), 3);
    EXPECT_EQ(rows[2].name, "配置 3");
    EXPECT_EQ(rows[2].profile, 3);

    EXPECT_EQ(store.GetActiveProfile(), 0);
    EXPECT_TRUE(store.SetActiveProfile(2));
    EXPECT_EQ(store.GetActiveProfile(), 2);
    EXPECT_TRUE(store.SetActiveProfile(9));  // unknown id: statement succeeds, nobody active
    EXPECT_EQ(store.GetActiveProfile(), 0);

    std::string name = "x";
    EXPECT_TRUE(store.RenameProfile(1, ""));
    EXPECT_TRUE(store.GetProfileName(1, name));
    EXPECT_EQ(name, "");
    EXPECT_FALSE(store.GetProfileName(7, name));

    Query(DbPath(), "UPDATE t_profile_data SET name = NULL WHERE profile = 2");
    name = "x";
    EXPECT_TRUE(store.GetProfileName(2, name));
    EXPECT_EQ(name, "");
}

TEST_F(DataStoreTest, KeyAssignmentsAreReplacedAndEmptyOnesRemoved) {
    KeyAssignmentRow row{0, 1, 0, 3, 0, "", 4, 12, 0, 0, "Macro 1"};
    int first = store.ReplaceKeyAssignment(row);
    ASSERT_GT(first, 0);
    row.macroDesc = "again";
    int second = store.ReplaceKeyAssignment(row);
    EXPECT_GT(second, first);  // delete-then-insert: a new key_id every time

    KeyAssignmentRow read;
    ASSERT_TRUE(store.GetKeyAssignment(1, 3, read));
    EXPECT_EQ(read.keyId, second);
    EXPECT_EQ(read.macroDesc, "again");
    EXPECT_EQ(read.macroValue, 12);

    EXPECT_TRUE(store.SetKeyAssignmentDesc(1, 3, "renamed"));
    ASSERT_TRUE(store.GetKeyAssignment(1, 3, read));
    EXPECT_EQ(read.macroDesc, "renamed");

    row.macroValue = 0;  // both values 0: the button goes back to its default
    EXPECT_EQ(store.ReplaceKeyAssignment(row), 0);
    EXPECT_FALSE(store.GetKeyAssignment(1, 3, read));
    EXPECT_FALSE(store.GetKeyAssignment(1, 4, read));

    store.ReplaceKeyAssignment({0, 1, 0, 1, 0, "", 1, 1, 0, 0, ""});
    store.ReplaceKeyAssignment({0, 1, 0, 2, 0, "", 2, 0, 5, 0, ""});
    store.ReplaceKeyAssignment({0, 2, 0, 2, 0, "", 2, 0, 5, 0, ""});
    std::vector<KeyAssignmentRow> rows;
    EXPECT_EQ(store.ListKeyAssignments(1, rows), 2);
    EXPECT_TRUE(store.DeleteProfileKeyAssignments(1));
    EXPECT_EQ(store.ListKeyAssignments(1, rows), 0);
    EXPECT_EQ(store.ListKeyAssignments(2, rows), 1);
}

TEST_F(DataStoreTest, MacrosAndEventsBelongToTheDatabase) {
    int plain = store.InsertNamedMacro("Macro 1");
    MacroRow read;
    ASSERT_TRUE(store.GetMacro(plain, read));
    EXPECT_EQ((std::vector<int>{read.playType, read.playTimes, read.delayType, read.delayTime}),
              (std::vector<int>{0, 1, 1, 0}));

    int id = store.InsertMacro({0, "Copy", 2, 5, 3, 40});
    ASSERT_GT(id, plain);
    EXPECT_TRUE(store.UpdateMacro({id, "Copy 2", 1, 2, 3, 4}));
    ASSERT_TRUE(store.GetMacro(id, read));
    EXPECT_EQ(read.name, "Copy 2");
    EXPECT_EQ(read.delayTime, 4);
    EXPECT_TRUE(store.RenameMacro(id, "Paste"));

    // Events come back sorted by record_index even when stored out of order.
    store.InsertMacroRecords({{0, id, 1, 2, "A up", 65, 11},
                              {0, id, 0, 0, "A down", 65, 10},
                              {0, id, 2, 1, "50 ms", 50, 12}});
    std::vector<MacroRecordRow> events;
    ASSERT_EQ(store.ListMacroRecords(id, events), 3);
    EXPECT_EQ(events[0].desc, "A down");
    EXPECT_EQ(events[1].desc, "50 ms");
    EXPECT_EQ(events[2].delayTime, 11);

    // A button keeps pointing at a deleted macro.
    store.ReplaceKeyAssignment({0, 1, 0, 2, 0, "", 4, id, 0, 0, "Paste"});
    EXPECT_TRUE(store.DeleteMacro(id));
    EXPECT_FALSE(store.GetMacro(id, read));
    EXPECT_EQ(store.ListMacroRecords(id, events), 0);
    KeyAssignmentRow button;
    ASSERT_TRUE(store.GetKeyAssignment(1, 2, button));
    EXPECT_EQ(button.macroValue, id);

    std::vector<MacroRow> macros;
    EXPECT_EQ(store.ListMacros(macros), 1);
    EXPECT_EQ(store.InsertMacroRecord({0, plain, 0, 0, "x", 1, 1}) > 0, true);
    EXPECT_TRUE(store.DeleteMacroRecords(plain));
    EXPECT_EQ(store.ListMacroRecords(plain, events), 0);
}

TEST_F(DataStoreTest, DefaultLightRowsFollowTheModelsEffects) {
    EXPECT_EQ(InsertDefaultLightRows(store, 1, {false, false, true, false, false, false}), 1);
    std::vector<LightRow> rows;
    ASSERT_EQ(store.ListLightRows(1, rows), 1);
    EXPECT_EQ(rows[0].mode, 3);
    EXPECT_EQ(rows[0].configFunc, 17);
    EXPECT_EQ(store.GetActiveLightMode(1), 0);  // mode 1 has no row

    EXPECT_EQ(InsertDefaultLightRows(store, 2, {true, true, true, true, true, true}), 6);
    EXPECT_EQ(store.CountLightRows(2), 6);
    EXPECT_EQ(store.GetActiveLightMode(2), 1);
    EXPECT_EQ(Query(DbPath(), "SELECT * FROM t_light_data WHERE profile = 2 AND mode = 0"),
              (Rows{{"7", "2", "关闭", "0", "4", "2", "0", "1", "0", "255", "65280", "16711680",
                     "16776960", "65535", "16711935", "16777215", "0", "285", "0"}}));

    LightRow row;
    EXPECT_FALSE(store.GetLightRow(3, 1, row));
    ASSERT_TRUE(store.GetLightRow(2, 2, row));
    row.brightness = 1;
    row.colorValues[6] = 42;
    row.status = 9;  // never written by an update
    EXPECT_TRUE(store.UpdateLightRow(2, row));
    EXPECT_TRUE(store.UpdateLightRow(
        4, LightRow{0, 3, "", 4, 1, 1, 1, 1, 1, {}, 1, 1, 1}));  // no row: success
    EXPECT_EQ(store.CountLightRows(3), 0);
    LightRow again;
    ASSERT_TRUE(store.GetLightRow(2, 2, again));
    EXPECT_EQ(again.brightness, 1);
    EXPECT_EQ(again.colorValues[6], 42);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.name, "呼吸");

    EXPECT_TRUE(store.SetActiveLightMode(2, 4));
    EXPECT_EQ(store.GetActiveLightMode(2), 4);
    EXPECT_EQ(Query(DbPath(), "SELECT count(*) FROM t_light_data WHERE status = 1"), (Rows{{"1"}}));
}

TEST(DataStoreClosed, EveryOperationFailsCleanly) {
    DataStore store;  // never opened
    std::vector<std::string> log;
    Log::SetSink([&](std::string_view line) { log.emplace_back(line); });
    std::string text = "stale";
    std::vector<ProfileRow> profiles(2);
    std::vector<KeyAssignmentRow> keys(2);
    std::vector<MacroRow> macros(2);
    std::vector<MacroRecordRow> events(2);
    std::vector<LightRow> lights(2);
    KeyAssignmentRow key;
    MacroRow macro;
    LightRow light;

    EXPECT_FALSE(store.GetSetting(1, "dpi_index", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(store.SetSetting(1, "dpi_index", "1"));
    EXPECT_FALSE(store.InsertDefaultSettings(1));
    EXPECT_EQ(store.InsertProfile({}), 0);
    EXPECT_FALSE(store.RenameProfile(1, "x"));
    EXPECT_FALSE(store.GetProfileName(1, text));
    // A list that could not be read is -1, never an empty table.
    EXPECT_EQ(store.ListProfiles(profiles), -1);
    EXPECT_TRUE(profiles.empty());
    EXPECT_FALSE(store.SetActiveProfile(1));
    EXPECT_EQ(store.GetActiveProfile(), 0);
    EXPECT_EQ(store.ReplaceKeyAssignment({0, 1, 0, 1, 0, "", 1, 1, 0, 0, ""}), 0);
    EXPECT_FALSE(store.GetKeyAssignment(1, 1, key));
    EXPECT_FALSE(store.SetKeyAssignmentDesc(1, 1, "x"));
    EXPECT_EQ(store.ListKeyAssignments(1, keys), -1);
    EXPECT_FALSE(store.DeleteProfileKeyAssignments(1));
    EXPECT_EQ(store.InsertNamedMacro("m"), 0);
    EXPECT_EQ(store.InsertMacro({}), 0);
    EXPECT_FALSE(store.RenameMacro(1, "m"));
    EXPECT_FALSE(store.UpdateMacro({}));
    EXPECT_FALSE(store.GetMacro(1, macro));
    EXPECT_EQ(store.ListMacros(macros), -1);
    EXPECT_FALSE(store.DeleteMacro(1));
    EXPECT_EQ(store.InsertMacroRecord({}), 0);
    EXPECT_FALSE(store.InsertMacroRecords({{}, {}}));
    EXPECT_FALSE(store.ReplaceMacroRecords(1, {{}}));
    EXPECT_EQ(store.ListMacroRecords(1, events), -1);
    EXPECT_FALSE(store.DeleteMacroRecords(1));
    EXPECT_EQ(store.CountLightRows(1), -1);
    EXPECT_EQ(store.InsertLightRow({}), 0);
    EXPECT_FALSE(store.UpdateLightRow(1, {}));
    EXPECT_FALSE(store.SetActiveLightMode(1, 1));
    EXPECT_EQ(store.GetActiveLightMode(1), 0);
    EXPECT_FALSE(store.GetLightRow(1, 1, light));
    EXPECT_EQ(store.ListLightRows(1, lights), -1);
    EXPECT_TRUE(keys.empty() && macros.empty() && events.empty() && lights.empty());
    EXPECT_GT(store.FailureCount(), 20u);
    EXPECT_FALSE(store.LastFailure().empty());
    EXPECT_TRUE(store.Close());
    Log::SetSink({});
    EXPECT_FALSE(log.empty());
}

TEST_F(DataStoreTest, TwoThreadsWritingAndReadingSettings) {
    ProfileId profile = store.InsertProfile({0, "p", 0, "", 0});
    constexpr int kRounds = 10000;
    auto work = [&](const char* key, int& failures) {
        std::string value;
        for (int i = 0; i < kRounds; ++i) {
            if (i % 2 == 0) {
                if (!store.SetSettingInt(profile, key, i)) ++failures;
            } else if (!store.GetSetting(profile, key, value) || value != std::to_string(i - 1)) {
                ++failures;
            }
        }
        if (!store.SetSettingInt(profile, key, kRounds)) ++failures;
    };
    int failuresA = 0;
    int failuresB = 0;
    std::thread a(work, "dpi_group0_value", std::ref(failuresA));
    std::thread b(work, "dpi_group1_value", std::ref(failuresB));
    a.join();
    b.join();
    EXPECT_EQ(failuresA, 0);
    EXPECT_EQ(failuresB, 0);
    int value = 0;
    EXPECT_TRUE(store.GetSettingInt(profile, "dpi_group0_value", value));
    EXPECT_EQ(value, kRounds);
    EXPECT_TRUE(store.GetSettingInt(profile, "dpi_group1_value", value));
    EXPECT_EQ(value, kRounds);
}

TEST(DataStoreInstance, IsOneObject) { EXPECT_EQ(&DataStore::Instance(), &DataStore::Instance()); }

}  // namespace
}  // namespace kestrix
