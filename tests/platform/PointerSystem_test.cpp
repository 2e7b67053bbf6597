// SPDX-License-Identifier: MIT
#include "platform/PointerSystem.h"

#include "platform/PlatformTestSupport.h"
#include "platform/ProgramRunner.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kestrix {
namespace {

using test::ScopedEnv;
using test::TempFolder;
using namespace std::chrono_literals;

TEST(PointerSystem, SpeedMapsOneToTwentyOntoMinusOneToOneWithTenAtZero) {
    struct Case {
        int speed;
        double value;
    } cases[] = {
        {1, -1.0}, {4, -2.0 / 3}, {10, 0.0},  {15, 0.5}, {19, 0.9},
        {20, 1.0}, {0, -1.0},     {-7, -1.0}, {25, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(GnomePointerSystem::SpeedToGsettings(c.speed), c.value, 1e-12) << c.speed;
    }
    for (int speed = 1; speed <= 20; ++speed) {
        EXPECT_EQ(
            GnomePointerSystem::SpeedFromGsettings(GnomePointerSystem::SpeedToGsettings(speed)),
            speed);
    }
    EXPECT_EQ(GnomePointerSystem::SpeedFromGsettings(-3.0), 1);
    EXPECT_EQ(GnomePointerSystem::SpeedFromGsettings(0.04), 10);
    EXPECT_EQ(GnomePointerSystem::SpeedFromGsettings(0.06), 11);
}

// GSettings with its key-file back end below a test folder, so nothing of the user's changes.
// GIO picks its back end once per process, so every test of the program shares one sandbox.
class GsettingsSandbox {
  public:
    static GsettingsSandbox& Shared() {
        static GsettingsSandbox sandbox;
        return sandbox;
    }

    GsettingsSandbox()
        : m_configHome("XDG_CONFIG_HOME", m_folder.Path()),
          m_backend("GSETTINGS_BACKEND", "keyfile"),
          m_schemaDir("GSETTINGS_SCHEMA_DIR", nullptr) {}

    static bool HasMouseSchema() {
        return !FindProgram("gsettings").empty() &&
               RunProgram({"gsettings", "list-keys", "org.gnome.desktop.peripherals.mouse"},
                          nullptr) == 0;
    }
    std::string KeyFile() const { return test::ReadText(m_folder / "glib-2.0/settings/keyfile"); }

  private:
    TempFolder m_folder;
    ScopedEnv m_configHome;
    ScopedEnv m_backend;
    ScopedEnv m_schemaDir;
};

TEST(PointerSystem, AppliesSpeedPrecisionAndDoubleClickThroughGsettings) {
    GsettingsSandbox& sandbox = GsettingsSandbox::Shared();
    if (!GsettingsSandbox::HasMouseSchema())
        GTEST_SKIP() << "gsettings or the GNOME mouse schema is not installed";
    GnomePointerSystem pointer;
    ASSERT_TRUE(pointer.WaitUntilRead(5s));
    ASSERT_TRUE(pointer.Available());

    struct Case {
        int speed;
        bool precision;
        int doubleClick;
    } cases[] = {{20, false, 200}, {1, true, 900}, {10, false, 550}};
    for (const Case& c : cases) {
        EXPECT_TRUE(pointer.SetPointerSpeed(c.speed));
        EXPECT_TRUE(pointer.SetEnhancedPrecision(c.precision));
        EXPECT_TRUE(pointer.SetDoubleClickTime(c.doubleClick));
        EXPECT_EQ(pointer.PointerSpeed(), c.speed);
        EXPECT_EQ(pointer.EnhancedPrecision(), c.precision);
        EXPECT_EQ(pointer.DoubleClickTime(), c.doubleClick);
    }
    const std::string keyFile = sandbox.KeyFile();
    EXPECT_NE(keyFile.find("speed=0.0\n"), std::string::npos) << keyFile;
    EXPECT_NE(keyFile.find("accel-profile='flat'\n"), std::string::npos) << keyFile;
    EXPECT_NE(keyFile.find("double-click=550\n"), std::string::npos) << keyFile;
}

TEST(PointerSystem, WheelLinesStayInTheStoreWithOneLogLine) {
    GsettingsSandbox::Shared();
    test::LogCapture log;
    GnomePointerSystem pointer;
    EXPECT_FALSE(pointer.SetWheelScrollLines(3));
    EXPECT_FALSE(pointer.SetWheelScrollLines(kWheelPageScroll));
    EXPECT_EQ(log.Count("no wheel-lines setting"), 1u);
}

// A change made outside the program (the desktop's own panel) reaches the kept values and the
// listener without anyone asking again.
TEST(PointerSystem, ADesktopChangeIsKeptAndReported) {
    GsettingsSandbox::Shared();
    if (!GsettingsSandbox::HasMouseSchema())
        GTEST_SKIP() << "gsettings or the GNOME mouse schema is not installed";
    GnomePointerSystem pointer;
    ASSERT_TRUE(pointer.WaitUntilRead(5s));
    std::mutex mutex;
    std::condition_variable wake;
    int calls = 0;
    pointer.SetChangeListener([&] {
        std::lock_guard lock(mutex);
        ++calls;
        wake.notify_all();
    });
    GSettings* panel = g_settings_new("org.gnome.desktop.peripherals.mouse");
    ASSERT_TRUE(g_settings_set_double(panel, "speed", 1.0));
    ASSERT_TRUE(g_settings_set_string(panel, "accel-profile", "flat"));
    g_settings_sync();
    {
        std::unique_lock lock(mutex);
        EXPECT_TRUE(wake.wait_for(lock, 5s, [&] { return calls > 0; }));
    }
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (pointer.EnhancedPrecision() != false && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(pointer.PointerSpeed(), 20);
    EXPECT_EQ(pointer.EnhancedPrecision(), false);
    pointer.SetChangeListener({});
    g_object_unref(panel);
}

TEST(PointerSystem, WithoutTheSchemaValuesAreOnlyStoredAndOneLineSaysSo) {
    TempFolder noSchemas;
    GsettingsSandbox::Shared();
    test::LogCapture log;
    GnomePointerSystem pointer(noSchemas.Path());
    ASSERT_TRUE(pointer.WaitUntilRead(5s));
    EXPECT_FALSE(pointer.Available());
    EXPECT_FALSE(pointer.SetPointerSpeed(20));
    EXPECT_FALSE(pointer.SetEnhancedPrecision(true));
    EXPECT_FALSE(pointer.SetDoubleClickTime(200));
    EXPECT_EQ(pointer.PointerSpeed(), std::nullopt);
    EXPECT_EQ(pointer.DoubleClickTime(), std::nullopt);
    EXPECT_EQ(log.Count("offers no such setting"), 1u);
    EXPECT_EQ(log.Lines().size(), 1u);
}

}  // namespace
}  // namespace kestrix
