// SPDX-License-Identifier: MIT
#include "platform/Autostart.h"

#include "platform/PlatformTestSupport.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

using test::ScopedEnv;
using test::TempFolder;

TEST(Autostart, EnableWritesTheEntryAndDisableRemovesIt) {
    TempFolder temp;
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.Path());
    LinuxAutostart autostart("Kestrix", "/usr/bin/kestrix");
    EXPECT_EQ(autostart.EntryPath(), temp / "autostart/Kestrix.desktop");
    EXPECT_FALSE(autostart.IsEnabled());

    ASSERT_TRUE(autostart.Enable());
    EXPECT_TRUE(autostart.IsEnabled());
    EXPECT_EQ(test::ReadText(autostart.EntryPath()),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Kestrix\n"
              "Exec=/usr/bin/kestrix -autorun\n"
              "Terminal=false\n"
              "X-GNOME-Autostart-enabled=true\n");
    // The state is the entry's presence, so another object sees it too.
    EXPECT_TRUE(LinuxAutostart("Kestrix", "/elsewhere/kestrix").IsEnabled());

    ASSERT_TRUE(autostart.Disable());
    EXPECT_FALSE(autostart.IsEnabled());
    EXPECT_FALSE(test::Exists(autostart.EntryPath()));
    EXPECT_TRUE(autostart.Disable());
}

TEST(Autostart, ExecValueQuotesOnlyWhatTheDesktopFormatReserves) {
    struct Case {
        const char* exe;
        const char* exec;
    } cases[] = {
        {"/usr/bin/kestrix", "/usr/bin/kestrix -autorun"},
        {"/opt/My Apps/kestrix", "\"/opt/My Apps/kestrix\" -autorun"},
        {"/opt/100%/kestrix", "/opt/100%%/kestrix -autorun"},
        {"/opt/a$b/kestrix", "\"/opt/a\\\\$b/kestrix\" -autorun"},
        {"/opt/a\"b/kestrix", "\"/opt/a\\\\\"b/kestrix\" -autorun"},
        {"/opt/a\\b/kestrix", "\"/opt/a\\\\\\\\b/kestrix\" -autorun"},
    };
    for (const Case& c : cases) EXPECT_EQ(LinuxAutostart::ExecValue(c.exe), c.exec) << c.exe;
}

TEST(Autostart, DefaultsToTheAppImageWhenRunAsOne) {
    TempFolder temp;
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.Path());
    ScopedEnv appImage("APPIMAGE", "/home/u/Apps/Kestrix.AppImage");
    LinuxAutostart autostart("Kestrix");
    ASSERT_TRUE(autostart.Enable());
    EXPECT_NE(
        test::ReadText(autostart.EntryPath()).find("Exec=/home/u/Apps/Kestrix.AppImage -autorun\n"),
        std::string::npos);
}

TEST(Autostart, EnableFailsWhenTheFolderCannotBeMade) {
    TempFolder temp;
    test::WriteText(temp / "file", "not a folder");
    ScopedEnv configHome("XDG_CONFIG_HOME", temp / "file");
    test::LogCapture log;
    LinuxAutostart autostart("Kestrix", "/usr/bin/kestrix");
    EXPECT_FALSE(autostart.Enable());
    EXPECT_FALSE(autostart.IsEnabled());
    EXPECT_FALSE(log.Lines().empty());
}

}  // namespace
}  // namespace kestrix
