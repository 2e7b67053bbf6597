// SPDX-License-Identifier: MIT
#include "platform/DesktopLauncher.h"

#include "platform/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace kestrix {
namespace {

using test::ScopedEnv;
using test::TempFolder;

// A folder that stands in for $PATH, holding scripts that record their arguments.
class FakePrograms {
  public:
    FakePrograms() : m_path("PATH", m_folder.Path()) {}

    // Adds a program that writes "<name> <arguments>" to <name>.ran.
    void Add(const std::string& name) {
        test::WriteText(
            m_folder / name,
            "#!/bin/sh\nprintf '%s' \"" + name + " $*\" > \"" + (m_folder / name) + ".ran\"\n",
            true);
    }
    // What the program was called with, waiting for it to run; empty when it never ran.
    std::string WaitForRun(const std::string& name) const {
        const std::string file = m_folder / (name + ".ran");
        for (int i = 0; i < 100 && !test::Exists(file); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return test::Exists(file) ? test::ReadText(file) : std::string();
    }
    bool Ran(const std::string& name) const { return test::Exists(m_folder / (name + ".ran")); }

  private:
    TempFolder m_folder;
    ScopedEnv m_path;
};

TEST(DesktopLauncher, OpensUrlsAndFilesWithXdgOpenAsOneArgument) {
    FakePrograms programs;
    programs.Add("xdg-open");
    LinuxDesktopLauncher launcher;
    ASSERT_TRUE(launcher.OpenUrl("https://example.com/a b?c=1&d=$HOME"));
    EXPECT_EQ(programs.WaitForRun("xdg-open"), "xdg-open https://example.com/a b?c=1&d=$HOME");
}

TEST(DesktopLauncher, RefusesTargetsThatWouldBeOptions) {
    FakePrograms programs;
    programs.Add("xdg-open");
    LinuxDesktopLauncher launcher;
    test::LogCapture log;
    EXPECT_FALSE(launcher.OpenUrl(""));
    EXPECT_FALSE(launcher.OpenUrl("--help"));
    EXPECT_EQ(log.Count("refusing to open"), 2u);
    EXPECT_FALSE(programs.Ran("xdg-open"));
}

TEST(DesktopLauncher, MissingOpenerIsReported) {
    FakePrograms programs;
    test::LogCapture log;
    EXPECT_FALSE(LinuxDesktopLauncher().OpenUrl("https://example.com/"));
    EXPECT_EQ(log.Count("cannot start xdg-open"), 1u);
}

TEST(DesktopLauncher, OpensWhicheverMouseSettingsExist) {
    struct Case {
        std::vector<std::string> installed;
        const char* desktop;
        std::string expected;  // the program that must run, with its argument
    } cases[] = {
        {{"gnome-control-center", "systemsettings"}, "GNOME", "gnome-control-center mouse"},
        {{"gnome-control-center", "systemsettings"}, "KDE", "systemsettings kcm_mouse"},
        {{"systemsettings"}, "GNOME", "systemsettings kcm_mouse"},
        {{"systemsettings5"}, nullptr, "systemsettings5 kcm_mouse"},
        {{"gnome-control-center"}, "KDE", "gnome-control-center mouse"},
    };
    for (const Case& c : cases) {
        FakePrograms programs;
        for (const std::string& name : c.installed) programs.Add(name);
        ScopedEnv desktop("XDG_CURRENT_DESKTOP", c.desktop);
        ASSERT_TRUE(LinuxDesktopLauncher().OpenMouseSettings()) << c.expected;
        const std::string program = c.expected.substr(0, c.expected.find(' '));
        EXPECT_EQ(programs.WaitForRun(program), c.expected);
        for (const std::string& name : c.installed) {
            if (name != program) {
                EXPECT_FALSE(programs.Ran(name)) << name;
            }
        }
    }
}

TEST(DesktopLauncher, NoMouseSettingsProgramIsReported) {
    FakePrograms programs;
    test::LogCapture log;
    EXPECT_FALSE(LinuxDesktopLauncher().OpenMouseSettings());
    EXPECT_EQ(log.Count("no mouse settings program"), 1u);
}

}  // namespace
}  // namespace kestrix
