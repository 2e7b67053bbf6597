// SPDX-License-Identifier: MIT
#include "rules/EnsureProfiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/DataStore.h"
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

TEST_F(EnsureProfilesTest, RepairsAndKeepsTheActiveProfile) {
    for (const char* name : {"a", "b", "c"}) store.InsertProfile({0, name, 0, "", 0});
    // Nobody active: profile 1 is made active.
    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText), 1);
    EXPECT_EQ(store.GetActiveProfile(), 1);

    store.SetActiveProfile(3);
    EXPECT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, "vireo", LanText), 3);
    EXPECT_EQ(store.CurrentProfile(), 3);
    std::vector<ProfileRow> rows;
    EXPECT_EQ(store.ListProfiles(rows), 3);
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
    EXPECT_EQ(store.CurrentProfile(), 0);
}

}  // namespace
}  // namespace kestrix
