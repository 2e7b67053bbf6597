// SPDX-License-Identifier: MIT
#include "platform/AppFolders.h"

#include "platform/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrix {
namespace {

using test::ScopedEnv;
using test::TempFolder;

TEST(AppFolders, ModuleFolderPrefersKestrixHomeThenExeFolderThenInstalledShare) {
    TempFolder temp;
    const std::string buildBin = temp / "build/bin";
    const std::string installedBin = temp / "usr/bin";
    std::filesystem::create_directories(buildBin);
    std::filesystem::create_directories(installedBin);
    test::WriteText(buildBin + "/config.xml", "<config/>");

    struct Case {
        std::string exe;
        std::string home;
        std::string expected;
    } cases[] = {
        {buildBin + "/kestrix", "/opt/kestrix-data", "/opt/kestrix-data/"},
        {buildBin + "/kestrix", "/opt/kestrix-data/", "/opt/kestrix-data/"},
        {buildBin + "/kestrix", "", buildBin + "/"},
        {installedBin + "/kestrix", "", temp / "usr/share/kestrix/"},
        {"/kestrix-not-there/kestrix", "", "/share/kestrix/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinuxAppFolders::FindModuleFolder(c.exe, c.home), c.expected)
            << c.exe << " home=" << c.home;
    }
}

TEST(AppFolders, ModuleFolderReadsKestrixHome) {
    ScopedEnv home("KESTRIX_HOME", "/srv/kestrix");
    EXPECT_EQ(LinuxAppFolders().ModuleFolder(), "/srv/kestrix/");
}

TEST(AppFolders, DataFolderIsCreatedBelowXdgDataHome) {
    TempFolder temp;
    ScopedEnv dataHome("XDG_DATA_HOME", temp / "data");
    LinuxAppFolders folders("Kestrix");
    const std::string folder = folders.DataFolder();
    EXPECT_EQ(folder, temp / "data/Kestrix Files/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(AppFolders, DataFolderFallsBackToHomeWhenXdgDataHomeIsUnsetOrRelative) {
    TempFolder temp;
    ScopedEnv home("HOME", temp.Path());
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/data"}) {
        ScopedEnv dataHome("XDG_DATA_HOME", value);
        LinuxAppFolders folders("Kestrix");
        EXPECT_EQ(folders.DataFolder(), temp / ".local/share/Kestrix Files/")
            << (value ? value : "(unset)");
    }
}

TEST(AppFolders, ProgramNameWithSlashStaysOneFolder) {
    TempFolder temp;
    ScopedEnv dataHome("XDG_DATA_HOME", temp.Path());
    LinuxAppFolders folders;
    folders.SetProgramName("A/B");
    EXPECT_EQ(folders.DataFolder(), temp / "A_B Files/");
}

}  // namespace
}  // namespace kestrix
