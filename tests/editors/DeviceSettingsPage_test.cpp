// SPDX-License-Identifier: MIT
// The device-settings page: the mouse's sensor and power options (stored, queued and, after
// the worker ran, on the simulated mouse) and the desktop pointer settings.

#include "editors/DeviceSettingsPage.h"

#include <gtest/gtest.h>

#include "editors/PageTestHost.h"
#include "support/FakeDesktopLauncher.h"
#include "ui/CCheckButton.h"
#include "ui/CRadioButton.h"
#include "ui/LightSlider.h"
#include "ui/MComboBox.h"
#include "ui/NumberEdit.h"

namespace kestrix {
namespace {

using testing::PageTestHost;
using Page = DeviceSettingsPage;
using Tasks = std::vector<int>;
using Calls = std::vector<std::string>;

struct SettingsHost {
    explicit SettingsHost(const std::string& scenario = "harrier_pro") : host(scenario) {
        page = &host.Attach(std::make_unique<Page>(host.Context(), &launcher));
        host.pointerSettings = [this] { page->ApplyPendingPointerChange(); };
        page->Refresh();
        host.ClearRecords();
    }
    int Checked(int id) {
        if (auto* check = host.Control<DUI::CCheckButton>(id)) return check->GetCheck();
        return host.Control<DUI::CRadioButton>(id)->GetCheck();
    }
    // Ticks or clears a box (or checks a radio) and sends its click.
    void Click(int id, int check = 1) {
        if (auto* box = host.Control<DUI::CCheckButton>(id))
            box->SetCheck(check);
        else
            host.Control<DUI::CRadioButton>(id)->SetCheck(check);
        host.Send(id, DUI::kNotifyClick);
    }
    void Type(int id, const std::string& text, int code) {
        host.Control<DUI::NumberEdit>(id)->SetTitle(text);
        host.Send(id, code);
    }
    std::string Text(int id) { return host.Control<DUI::NumberEdit>(id)->GetTitle(); }
    void Slide(int id, int position, int code) {
        host.Control<DUI::LightSlider>(id)->SetPos(position);
        host.Send(id, code, position);
    }
    FakeDesktopLauncher launcher;
    PageTestHost host;
    Page* page = nullptr;
};

TEST(DeviceSettingsPage, RefreshShowsTheStoredOptions) {
    struct Case {
        const char* liftOff;
        const char* sensorFlag;
        const char* sleep;
        bool twoMillimetres;
        int bit4, bit8, bit16;
        int sleepItem;
    };
    const Case cases[] = {
        {"2", "53", "30", true, 1, 0, 1, 2},
        {"1", "8", "180", false, 0, 1, 0, 5},
        {"3", "0", "1", false, 0, 0, 0, -1},  // the default sleep "1" is no item
        {"", "28", "6", false, 1, 1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.liftOff);
        SettingsHost settings;
        settings.host.SetSetting("liftoff_height", c.liftOff);
        settings.host.SetSetting("sensor_flag", c.sensorFlag);
        settings.host.SetSetting("sleep_light", c.sleep);
        settings.host.SetSetting("button_respondtime", "12");
        settings.host.SetSetting("move_wakeup", "1");
        settings.host.SetSetting("move_closelight", "2");
        settings.page->Refresh();
        EXPECT_EQ(settings.Checked(Page::kLiftOff2Id), c.twoMillimetres ? 1 : 0);
        EXPECT_EQ(settings.Checked(Page::kLiftOff1Id), c.twoMillimetres ? 0 : 1);
        EXPECT_EQ(settings.Checked(Page::kSensorBit4Id), c.bit4);
        EXPECT_EQ(settings.Checked(Page::kSensorBit8Id), c.bit8);
        EXPECT_EQ(settings.Checked(Page::kSensorBit16Id), c.bit16);
        EXPECT_EQ(settings.host.Control<DUI::MComboBox>(Page::kSleepId)->GetCurSel(), c.sleepItem);
        EXPECT_EQ(settings.Text(Page::kButtonResponseId), "12");
        EXPECT_EQ(settings.Checked(Page::kMoveWakeupId), 1);
        EXPECT_EQ(settings.Checked(Page::kMoveCloseLightId), 0);
        EXPECT_TRUE(settings.host.Tasks().empty());
    }
}

TEST(DeviceSettingsPage, SleepItemsShowMinutes) {
    SettingsHost settings;
    auto* sleep = settings.host.Control<DUI::MComboBox>(Page::kSleepId);
    ASSERT_EQ(sleep->GetCount(), 6);
    EXPECT_EQ(sleep->GetItemText(2), "5 " + GetLanText(537));
    EXPECT_EQ(sleep->GetItemData(2), 30);
    EXPECT_EQ(sleep->GetItemData(5), 180);
}

TEST(DeviceSettingsPage, SensorBoxesReplaceEveryOtherBit) {
    SettingsHost settings;
    settings.host.SetSetting("sensor_flag", "53");  // 1 | 4 | 16 | 32
    settings.page->Refresh();
    settings.Click(Page::kSensorBit8Id);
    EXPECT_EQ(settings.host.Setting("sensor_flag"), 28);
    EXPECT_EQ(settings.host.Tasks(), (Tasks{12}));
    EXPECT_EQ(settings.host.SaveWaitRequests(), 1);
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Mouse().sensorOptionA, 1);  // bit 8
    EXPECT_EQ(settings.host.Mouse().sensorOptionB, 1);  // bit 4

    settings.Click(Page::kSensorBit4Id, 0);
    EXPECT_EQ(settings.host.Setting("sensor_flag"), 24);
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Mouse().sensorOptionB, 0);
}

TEST(DeviceSettingsPage, LiftOffRadiosStoreOneOrTwo) {
    SettingsHost settings;
    settings.Click(Page::kLiftOff2Id);
    EXPECT_EQ(settings.host.SettingText("liftoff_height"), "2");
    EXPECT_EQ(settings.Checked(Page::kLiftOff1Id), 0);
    EXPECT_EQ(settings.host.Tasks(), (Tasks{12}));
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Mouse().liftOff, 2);
    settings.Click(Page::kLiftOff1Id);
    EXPECT_EQ(settings.host.SettingText("liftoff_height"), "1");
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Mouse().liftOff, 1);
}

TEST(DeviceSettingsPage, ButtonResponseIsClampedWhenLeftAndWhenCommitted) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    for (const Case c :
         {Case{"25", "20"}, Case{"3", "4"}, Case{"12", "12"}, Case{"", "4"}, Case{"-7", "4"}}) {
        SCOPED_TRACE(c.typed);
        SettingsHost settings;
        settings.Type(Page::kButtonResponseId, c.typed, DUI::kNotifyEditDone);
        EXPECT_EQ(settings.Text(Page::kButtonResponseId), c.shown);
        EXPECT_EQ(settings.host.SettingText("button_respondtime"), c.shown);
        EXPECT_TRUE(settings.host.Tasks().empty());
    }
    // Committing an out-of-range number sends the clamped value, never the typed one.
    SettingsHost settings;
    settings.Type(Page::kButtonResponseId, "99", DUI::kNotifyClick);
    EXPECT_EQ(settings.Text(Page::kButtonResponseId), "20");
    EXPECT_EQ(settings.host.SettingText("button_respondtime"), "20");
    EXPECT_EQ(settings.host.Tasks(), (Tasks{13}));
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Mouse().buttonResponseTime, 20);
}

TEST(DeviceSettingsPage, SleepAndMotionOptionsReachTheMouse) {
    SettingsHost settings;
    settings.host.Control<DUI::MComboBox>(Page::kSleepId)->ChooseItem(3);  // 10 min
    EXPECT_EQ(settings.host.Setting("sleep_light"), 60);
    settings.Click(Page::kMoveWakeupId, 0);
    EXPECT_EQ(settings.host.SettingText("move_wakeup"), "0");
    settings.Click(Page::kMoveCloseLightId, 1);
    EXPECT_EQ(settings.host.SettingText("move_closelight"), "1");
    EXPECT_EQ(settings.host.Tasks(), (Tasks{13, 13, 13}));
    settings.host.RunQueuedTasks();
    const SimMouseState mouse = settings.host.Mouse();
    EXPECT_EQ(mouse.sleepLight, 60);
    EXPECT_EQ(mouse.moveWakeup, 0);
    EXPECT_EQ(mouse.moveCloseLight, 1);
}

TEST(DeviceSettingsPage, ModelHidesTheLiftOffOrSensorGroup) {
    struct Case {
        const char* scenario;
        bool liftOff;
        bool sensor;
    };
    for (const Case c : {Case{"harrier_pro", true, true}, Case{"falco", false, true},
                         Case{"vireo", true, false}}) {
        SCOPED_TRACE(c.scenario);
        SettingsHost settings(c.scenario);
        for (int id : {Page::kLiftOff1Id, Page::kLiftOff2Id}) {
            EXPECT_EQ(settings.host.Control<DUI::CRadioButton>(id)->IsVisible(), c.liftOff);
        }
        for (int id : {Page::kSensorBit4Id, Page::kSensorBit8Id, Page::kSensorBit16Id}) {
            EXPECT_EQ(settings.host.Control<DUI::CCheckButton>(id)->IsVisible(), c.sensor);
        }
    }
}

TEST(DeviceSettingsPage, PointerSpeedStoresWhileMovingAndAppliesThroughTask22) {
    SettingsHost settings;
    settings.Slide(Page::kPointerSpeedId, 19, DUI::kNotifyDragging);
    EXPECT_EQ(settings.host.Setting("mouse_speed"), 20);
    EXPECT_TRUE(settings.host.Tasks().empty());
    settings.Slide(Page::kPointerSpeedId, 19, DUI::kNotifyClick);
    EXPECT_EQ(settings.host.Tasks(), (Tasks{22}));
    EXPECT_EQ(settings.page->Pending(), Page::PendingChange::PointerSpeed);
    EXPECT_EQ(settings.host.SaveWaitRequests(), 0);
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Pointer().Calls(), (Calls{"speed 20"}));
    EXPECT_EQ(settings.host.Pointer().PointerSpeed(), 20);
}

TEST(DeviceSettingsPage, DoubleClickPositionsGiveTheirTimes) {
    struct Case {
        int position;
        int milliseconds;
    };
    for (const Case c : {Case{0, 900}, Case{5, 550}, Case{10, 200}}) {
        SCOPED_TRACE(c.position);
        SettingsHost settings;
        settings.Slide(Page::kDoubleClickId, c.position, DUI::kNotifyClick);
        EXPECT_EQ(settings.host.Setting("doubleclick_time"), c.milliseconds);
        EXPECT_EQ(settings.host.Tasks(), (Tasks{22}));
        settings.host.RunQueuedTasks();
        EXPECT_EQ(settings.host.Pointer().Calls(),
                  (Calls{Format("doubleclick %d", c.milliseconds)}));
        // The slider is refreshed from the desktop afterwards, on the UI thread.
        settings.host.ProcessEvents();
        EXPECT_EQ(settings.host.Control<DUI::LightSlider>(Page::kDoubleClickId)->GetPos(),
                  c.position);
    }
    EXPECT_EQ(Page::DoubleClickTimeOf(12), 12);
}

TEST(DeviceSettingsPage, WheelLinesEditClampsAndAppliesAtOnce) {
    SettingsHost settings;
    settings.Click(Page::kScrollLinesId);
    settings.host.Pointer();
    struct Case {
        const char* typed;
        const char* shown;
    };
    for (const Case c :
         {Case{"0", "1"}, Case{"-3", "1"}, Case{"25", "20"}, Case{"7", "7"}, Case{"", ""}}) {
        SCOPED_TRACE(c.typed);
        settings.Type(Page::kWheelLinesId, c.typed, DUI::kNotifyTextChanged);
        EXPECT_EQ(settings.Text(Page::kWheelLinesId), c.shown);
    }
    settings.Type(Page::kWheelLinesId, "", DUI::kNotifyEditDone);
    EXPECT_EQ(settings.Text(Page::kWheelLinesId), "1");
    settings.host.ClearRecords();
    settings.Type(Page::kWheelLinesId, "7", DUI::kNotifyClick);
    EXPECT_EQ(settings.host.Setting("wheel_scrolllines"), 7);
    EXPECT_EQ(settings.host.Pointer().WheelScrollLines(), 7);
    EXPECT_EQ(settings.host.Control<DUI::LightSlider>(Page::kWheelSliderId)->GetPos(), 7);
    EXPECT_TRUE(settings.host.Tasks().empty());

    // The wheel slider goes through task 22.
    settings.Slide(Page::kWheelSliderId, 12, DUI::kNotifyClick);
    EXPECT_EQ(settings.Text(Page::kWheelLinesId), "12");
    EXPECT_EQ(settings.host.Tasks(), (Tasks{22}));
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Pointer().WheelScrollLines(), 12);
}

TEST(DeviceSettingsPage, ScrollModeRadios) {
    SettingsHost settings;
    settings.Click(Page::kScrollScreenId);
    EXPECT_EQ(settings.host.SettingText("wheel_scrollflag"), "0");
    EXPECT_EQ(settings.host.SettingText("wheel_scrolllines"), "0");
    EXPECT_EQ(settings.Text(Page::kWheelLinesId), "0");
    EXPECT_FALSE(settings.host.Control<DUI::NumberEdit>(Page::kWheelLinesId)->IsEnabled());
    EXPECT_EQ(settings.host.Pointer().WheelScrollLines(), kWheelPageScroll);

    settings.Click(Page::kScrollLinesId);
    EXPECT_EQ(settings.host.SettingText("wheel_scrollflag"), "1");
    EXPECT_EQ(settings.host.SettingText("wheel_scrolllines"), "3");
    EXPECT_EQ(settings.Text(Page::kWheelLinesId), "3");
    EXPECT_TRUE(settings.host.Control<DUI::NumberEdit>(Page::kWheelLinesId)->IsEnabled());
    EXPECT_EQ(settings.host.Pointer().WheelScrollLines(), 3);
    EXPECT_TRUE(settings.host.Tasks().empty());
}

TEST(DeviceSettingsPage, PrecisionAndTheDesktopsMouseSettings) {
    SettingsHost settings;
    settings.Click(Page::kPrecisionId, 0);
    EXPECT_EQ(settings.host.SettingText("mouse_sensitivity"), "0");
    settings.Click(Page::kPrecisionId, 1);
    EXPECT_EQ(settings.host.SettingText("mouse_sensitivity"), "1");
    EXPECT_EQ(settings.host.Pointer().Calls(), (Calls{"precision 0", "precision 1"}));
    settings.host.Send(Page::kMouseSettingsId, DUI::kNotifyClick);
    EXPECT_EQ(settings.launcher.MouseSettingsOpened(), 1);
}

TEST(DeviceSettingsPage, WithoutDesktopSettingsValuesAreOnlyStored) {
    SettingsHost settings;
    FakePointerSystem none(false);
    settings.host.Context().pointer = &none;
    settings.host.SetSetting("doubleclick_time", "340");
    settings.host.SetSetting("mouse_speed", "4");
    settings.page->Refresh();
    EXPECT_EQ(settings.host.Control<DUI::LightSlider>(Page::kDoubleClickId)->GetPos(), 8);
    EXPECT_EQ(settings.host.Control<DUI::LightSlider>(Page::kPointerSpeedId)->GetPos(), 3);
    settings.Slide(Page::kPointerSpeedId, 9, DUI::kNotifyClick);
    settings.host.RunQueuedTasks();
    EXPECT_EQ(settings.host.Setting("mouse_speed"), 10);
    EXPECT_FALSE(none.PointerSpeed().has_value());
}

// Renders the page for the default scenario and a sensor-150 mouse when KESTRIX_SCREENSHOTS
// names a folder (docs/screenshots); skipped otherwise.
TEST(DeviceSettingsPage, Screenshots) {
    const std::string folder = testing::ScreenshotFolder();
    if (folder.empty()) GTEST_SKIP() << "set KESTRIX_SCREENSHOTS to a folder";
    for (const char* scenario : {"default", "harrier_pro"}) {
        SettingsHost settings(scenario);
        EXPECT_TRUE(settings.host.SaveScreenshot(folder + "/device-settings-" + scenario + ".png"));
    }
}

}  // namespace
}  // namespace kestrix
