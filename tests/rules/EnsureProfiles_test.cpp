// SPDX-License-Identifier: MIT
#include "rules/EnsureProfiles.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <array>
#include <string>
#include <vector>

#include "store/DataStore.h"
#include "store/DefaultLightRows.h"
#include "store/SQLiteDB.h"
#include "store/TempFolder.h"

namespace kestrix {
namespace {

std::string LanText(int id) { return id == kProfileNameTextId ? "Profile" : "?"; }

class EnsureProfilesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(store.OpenForModel(data.path(), "vireo")); }
    test::TempFolder data;
    DataStore store;
};

TEST_F(EnsureProfilesTest, NewDatabaseGetsFourProfilesWithModelDefaults) {
    store.SetCurrentProfile(7);
    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText), 1);
    EXPECT_EQ(store.CurrentProfile(), 1);

    std::vector<ProfileRow> rows;
    ASSERT_EQ(store.ListProfiles(rows), 4);
    for (int n = 1; n <= 4; ++n) {
        const ProfileRow& row = rows[static_cast<size_t>(n - 1)];
        EXPECT_EQ(row.profile, n);
        EXPECT_EQ(row.name, "Profile " + std::to_string(n));
        EXPECT_EQ(row.status, n == 1 ? 1 : 0);
        EXPECT_EQ(row.app, "");
        std::string value;
        EXPECT_TRUE(store.GetSetting(n, "dpi_group5_value", value));
        EXPECT_EQ(value, "12000") << "profile " << n;  // the model file's value, not 26000
        EXPECT_TRUE(store.GetSetting(n, "sleep_light", value));
        EXPECT_EQ(value, "60");
        EXPECT_TRUE(store.GetSetting(n, "doubleclick_time", value));  // untouched default
        EXPECT_EQ(value, "550");
    }

    // A second run creates nothing.
    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText), 1);
    EXPECT_EQ(store.ListProfiles(rows), 4);
}

TEST_F(EnsureProfilesTest, CompletesAnInterruptedFirstStartAndKeepsOneActiveProfile) {
    // Left by a first start that stopped early: three profiles, the second without settings,
    // the third with half its lighting rows, nobody active.
    for (const char* name : {"a", "b", "c"}) store.InsertProfile({0, name, 0, "", 0});
    SQLiteDB raw;
    ASSERT_TRUE(raw.Open(store.Path(), SQLITE_OPEN_READWRITE));
    raw.Exec("DELETE FROM t_configdata WHERE profile = 2");
    raw.Close();
    store.InsertLightRow(MakeDefaultLightRow(3, 0));
    const std::array<bool, 6> effects{true, true, false, false, false, true};

    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText, effects), 1);
    std::vector<ProfileRow> rows;
    ASSERT_EQ(store.ListProfiles(rows), 4);
    EXPECT_EQ(rows[3].name, "Profile 4");
    for (const ProfileRow& row : rows) {
        std::vector<std::string> keys;
        EXPECT_EQ(store.ListSettingKeys(row.profile, keys), 40) << row.profile;
        EXPECT_EQ(store.CountLightRows(row.profile), 3) << row.profile;
    }
    std::string value;
    EXPECT_TRUE(store.GetSetting(2, "dpi_group5_value", value));
    EXPECT_EQ(value, "12000");  // a missing row gets the model's value
    EXPECT_EQ(store.GetActiveProfile(), 1);

    // Two active profiles (two first starts that each activated one): the first one stays.
    raw.Open(store.Path(), SQLITE_OPEN_READWRITE);
    raw.Exec("UPDATE t_profile_data SET status = 1 WHERE profile IN (3, 4)");
    raw.Exec("UPDATE t_profile_data SET status = 0 WHERE profile = 1");
    raw.Close();
    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText), 3);
    EXPECT_EQ(store.CurrentProfile(), 3);
    ASSERT_EQ(store.ListProfiles(rows), 4);
    EXPECT_EQ(rows[3].status, 0);
}

TEST_F(EnsureProfilesTest, FailedReadInsertsNothing) {
    store.InsertProfile({0, "mine", 0, "", 0});
    store.SetActiveProfile(1);
    store.SetCurrentProfile(1);
    // The profile table cannot be read: the store must not take that for an empty table.
    SQLiteDB raw;
    ASSERT_TRUE(raw.Open(store.Path(), SQLITE_OPEN_READWRITE));
    raw.Exec("ALTER TABLE t_profile_data RENAME TO t_hidden");
    raw.Close();
    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText), 0);
    EXPECT_EQ(store.CurrentProfile(), 1);
    std::vector<std::string> keys;
    EXPECT_EQ(store.ListSettingKeys(2, keys), 0);
}

TEST_F(EnsureProfilesTest, WorksWithoutLanguageTextsOrModelFile) {
    EXPECT_EQ(EnsureProfiles(store, data.path(), "missing", {}), 1);
    std::string name;
    EXPECT_TRUE(store.GetProfileName(4, name));
    EXPECT_EQ(name, " 4");
    std::string value;
    EXPECT_TRUE(store.GetSetting(2, "dpi_group5_value", value));
    EXPECT_EQ(value, "26000");  // built-in default kept when the model file is missing
}

TEST(EnsureProfiles, ClosedStoreEndsWithoutProfile) {
    DataStore store;
    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText), 0);
    EXPECT_EQ(store.CurrentProfile(), 1);  // left as it was
}

}  // namespace
}  // namespace kestrix
