// SPDX-License-Identifier: MIT
#include "app/DeviceMainDlg.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "AppTestBench.h"
#include "app/CUIMessageBox.h"
#include "app/SettingsPage.h"
#include "device/DeviceWorker.h"
#include "device/HidTrace.h"
#include "editors/KeyPage.h"
#include "editors/LightingPage.h"
#include "platform/UsedTextIds.h"
#include "sim/SimBackend.h"
#include "sim/SimDevice.h"
#include "sim/SimMouse.h"
#include "ui/CCheckButton.h"
#include "ui/CDeviceList.h"
#include "ui/CRadioButton.h"
#include "ui/MComboBox.h"
#include "ui/MTabCtrl.h"
#include "ui/MText.h"
#include "ui/MenuWnd.h"
#include "ui/MouseCtrl.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;
using test::WindowBench;

// The task codes the window queued, from its log lines, in order.
std::vector<int> QueuedTasks(const test::LogRecorder& log) {
    std::vector<int> tasks;
    for (const std::string& line : log.LinesStartingWith("task "))
        tasks.push_back(std::stoi(line.substr(5)));
    return tasks;
}

TEST(DeviceMainDlg, InitialisationQueuesReadThenUpdateCheckAndNamesTheModel) {
    test::LogRecorder log;
    WindowBench bench("default");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    const std::vector<int> tasks = QueuedTasks(log);
    ASSERT_GE(tasks.size(), 2u);
    EXPECT_EQ(tasks[0], 1);
    EXPECT_EQ(tasks[1], 23);
    // "101" first, then the rescan remembers the model it selected (the Vireo is 101).
    EXPECT_EQ(bench.registry->Value(kDeviceTypeValue), "101");
    EXPECT_EQ(bench.window->SelectedDevice(), 101);
    EXPECT_EQ(bench.window->CurrentProfile(), 1);
    auto* caption = bench.window->GetControlAs<DUI::MText>(frame_id::kCaption);
    EXPECT_EQ(caption->GetTitle(), GetLanText(51));
    auto* list = bench.window->GetControlAs<DUI::CDeviceList>(frame_id::kDeviceList);
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetDeviceState(101), 1);
    // The home view shows until a device is chosen.
    EXPECT_EQ(bench.window->View().CurrentPage(), kPageHome);
    EXPECT_TRUE(list->IsVisible());
}

TEST(DeviceMainDlg, RescanNamesAnotherModelWhenTheRememberedOneIsAbsent) {
    for (const char* scenario : {"harrier_pro", "harrier_pro-receiver"}) {
        WindowBench bench(scenario);
        ASSERT_TRUE(bench.CreateAndWaitForDevice()) << scenario;
        EXPECT_EQ(bench.registry->Value(kDeviceTypeValue), "201") << scenario;
        EXPECT_EQ(bench.window->SelectedDevice(), 201) << scenario;
        // Home pre-selects the attached mouse, not the absent model remembered at start.
        auto* list = bench.window->GetControlAs<DUI::CDeviceList>(frame_id::kDeviceList);
        EXPECT_EQ(list->GetSelectDevice(), 201) << scenario;
    }
}

// A receiver whose mouse is off is a device: home shows its card, off line, with a note
// asking for the mouse, instead of the panel for "no device".
TEST(DeviceMainDlg, ReceiverWithItsMouseOffShowsItsCard) {
    test::LogRecorder log;
    WindowBench bench("receiver-off");
    ASSERT_TRUE(bench.Create());
    auto* list = bench.window->GetControlAs<DUI::CDeviceList>(frame_id::kDeviceList);
    // Two enumerations each wait for the identity the receiver never gives.
    ASSERT_TRUE(test::PumpUntil([&] { return list->IsVisible(); }, 30000ms));
    EXPECT_FALSE(bench.window->GetControl(frame_id::kNoDevicePanel)->IsVisible());
    EXPECT_EQ(list->GetDeviceState(201), 0);
    EXPECT_EQ(list->GetDeviceNote(201), "Off line — switch the mouse on");
    EXPECT_EQ(list->GetDeviceNote(101), "");
}

TEST(DeviceMainDlg, VersionLineOfTheSettingsOpensTheAboutWindow) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
    bool shown = false;
    DUI::PostToUiThread([&] {
        const std::vector<DUI::MWindow*> about = DUI::FindWindows("About Window");
        shown = !about.empty();
        if (shown) about.front()->SendMessage(DUI::kWmClose, 1, 0);
    });
    bench.window->OnMessage(settings_id::kVersion, DUI::kNotifyClick, 0);
    EXPECT_TRUE(shown);
}

TEST(DeviceMainDlg, NoDeviceShowsThePanelAndQueuesNothingOnRemoval) {
    test::LogRecorder log;
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    ASSERT_TRUE(test::PumpUntil([&] {
        return bench.window->Worker()->QueuedTasks() == 0 && QueuedTasks(log).size() == 2;
    }));
    test::PumpFor(100ms);
    EXPECT_TRUE(bench.window->GetControl(frame_id::kNoDevicePanel)->IsVisible());
    EXPECT_FALSE(bench.window->GetControl(frame_id::kTabs)->IsVisible());
    bench.window->OnDeviceChange(DeviceEventType::RemoveComplete, 0x1209, 0x5A01, 2,
                                 "/dev/hidraw9");
    EXPECT_EQ(QueuedTasks(log), (std::vector<int>{1, 23}));
}

TEST(DeviceMainDlg, ChoosingTheAttachedDeviceOpensTheButtonsPage) {
    test::LogRecorder log;
    WindowBench bench("default");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 101);
    EXPECT_EQ(bench.window->View().CurrentPage(), kPageButtons);
    auto* tabs = bench.window->GetControlAs<DUI::MTabCtrl>(frame_id::kTabs);
    EXPECT_TRUE(tabs->IsVisible());
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_TRUE(bench.window->PagePanel(kPageButtons)->IsVisible());
    // A cable-attached mouse gets caption 51 and no task.
    EXPECT_EQ(QueuedTasks(log), (std::vector<int>{1, 23}));

    // Each tab shows its own panel; home hides the strip and the device column.
    for (int index : {2, 3, 4, 5}) {
        bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, index);
        const int page = DeviceMainDlg::TabItemId(index);
        EXPECT_TRUE(bench.window->PagePanel(page)->IsVisible()) << page;
        EXPECT_FALSE(bench.window->PagePanel(kPageButtons)->IsVisible()) << page;
    }
    bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, 0);
    EXPECT_FALSE(tabs->IsVisible());
    EXPECT_FALSE(bench.window->GetControl(frame_id::kProfileButton)->IsVisible());
    EXPECT_FALSE(bench.window->GetControl(frame_id::kCaption)->IsVisible());
}

TEST(DeviceMainDlg, ReceiverDeviceChosenAgainQueuesTask4EachTime) {
    test::LogRecorder log;
    WindowBench bench("harrier_pro-receiver");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 201);
    bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 201);
    const std::vector<int> tasks = QueuedTasks(log);
    EXPECT_EQ(std::count(tasks.begin(), tasks.end(), 4), 2);
    EXPECT_EQ(bench.window->GetControlAs<DUI::MText>(frame_id::kCaption)->GetTitle(),
              GetLanText(52));
}

TEST(DeviceMainDlg, ChoosingAnUnidentifiedDeviceOnlyShowsTheBox) {
    test::LogRecorder log;
    WindowBench bench("default");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    std::string upper;
    std::string lower;
    DUI::PostToUiThread([&] {
        auto* box = dynamic_cast<DUI::MDialog*>(test::FindMessageBox());
        ASSERT_NE(box, nullptr);
        upper = box->GetControlAs<DUI::MText>(31)->GetTitle();
        lower = box->GetControlAs<DUI::MText>(32)->GetTitle();
        box->OnMessage(CUIMessageBox::kFirstButton, DUI::kNotifyClick, 0);
    });
    bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick,
                            102);  // the Falco is not attached
    EXPECT_EQ(upper, GetLanText(57));
    EXPECT_EQ(lower, GetLanText(56));
    EXPECT_EQ(bench.window->SelectedDevice(), 101);
    EXPECT_EQ(bench.window->View().CurrentPage(), kPageHome);
    EXPECT_EQ(bench.registry->Value(kDeviceTypeValue), "101");
    EXPECT_EQ(QueuedTasks(log), (std::vector<int>{1, 23}));
}

TEST(DeviceMainDlg, LightingTabOnlyForModelsWithLighting) {
    for (const auto& [scenario, lighting] : {std::pair{"falco", false}, std::pair{"vireo", true}}) {
        WindowBench bench(scenario);
        ASSERT_TRUE(bench.CreateAndWaitForDevice()) << scenario;
        auto* tabs = bench.window->GetControlAs<DUI::MTabCtrl>(frame_id::kTabs);
        EXPECT_EQ(tabs->IsItemVisible(tabs->FindItem(kPageLighting)), lighting) << scenario;
        // The other tabs keep their item ids.
        EXPECT_EQ(tabs->GetItemId(5), kPageDeviceSettings) << scenario;
    }
}

TEST(DeviceMainDlg, SettingsPageOpensOverThePagesAndReturns) {
    WindowBench bench("default");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 101);
    bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, 2);
    bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
    EXPECT_TRUE(bench.window->GetControl(settings_id::kLanguageCombo)->IsVisible());
    EXPECT_FALSE(bench.window->GetControl(frame_id::kTabs)->IsVisible());
    bench.window->OnMessage(settings_id::kReturn, DUI::kNotifyClick, 0);
    EXPECT_FALSE(bench.window->GetControl(settings_id::kLanguageCombo)->IsVisible());
    EXPECT_TRUE(bench.window->PagePanel(kPagePerformance)->IsVisible());

    // The home tab while the settings page is open closes it.
    bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
    bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, 0);
    EXPECT_FALSE(bench.window->GetControl(settings_id::kLanguageCombo)->IsVisible());
    EXPECT_TRUE(bench.window->GetControl(frame_id::kDeviceList)->IsVisible());
}

TEST(DeviceMainDlg, CloseButtonFollowsExitMode) {
    const struct {
        const char* exitMode;  // nullptr = no value
        bool tray;
        bool hides;
    } cases[] = {
        {"1", true, true},  {"0", true, false},  {nullptr, true, false},
        {"2", true, false}, {"1", false, false},  // no tray to come back from: close ends the
                                                  // program
    };
    for (const auto& c : cases) {
        WindowBench bench("none", c.tray);
        if (c.exitMode != nullptr) bench.registry->SetValue(kExitModeValue, c.exitMode);
        ASSERT_TRUE(bench.Create());
        bench.window->ShowWindow(DUI::kSwShowNormal);
        bench.window->OnMessage(frame_id::kClose, DUI::kNotifyClick, 0);
        if (c.hides) {
            EXPECT_TRUE(bench.exitCodes.empty());
            EXPECT_FALSE(bench.window->IsWindowVisible());
            // A left click on the tray icon brings it back.
            bench.window->SendMessage(kWmTrayNotify, 0, DUI::kWmLButtonDown);
            EXPECT_TRUE(bench.window->IsWindowVisible());
        } else {
            EXPECT_EQ(bench.exitCodes, std::vector<int>{0}) << (c.exitMode ? c.exitMode : "none");
            EXPECT_FALSE(bench.window->Tray().IsShown());
        }
    }
}

TEST(DeviceMainDlg, TrayMenuItemAndExitRequestEndWithZero) {
    const struct {
        unsigned msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        bool exits;
    } cases[] = {
        {DUI::kWmCommand, kCommandTrayExit, 0, true},
        {kWmExitRequest, 0, 610, true},
        {kWmExitRequest, 0, 611, false},
        {kWmExitRequest, 610, 0, false},
        {kWmExitRequest, 0, 0, false},
    };
    for (const auto& c : cases) {
        WindowBench bench("none");
        ASSERT_TRUE(bench.Create());
        bench.window->SendMessage(c.msg, c.wParam, c.lParam);
        EXPECT_EQ(bench.exitCodes, c.exits ? std::vector<int>{0} : std::vector<int>{})
            << c.msg << " " << c.lParam;
    }
}

TEST(DeviceMainDlg, TrayRightClickMenuHasOneItemThatEndsTheProgram) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    bench.window->SendMessage(kWmTrayNotify, 0, DUI::kWmRButtonUp);
    const std::vector<DUI::MWindow*> menus = DUI::FindWindows("Menu Window");
    ASSERT_EQ(menus.size(), 1u);
    auto* menu = dynamic_cast<DUI::MenuWnd*>(menus.front());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetCount(), 1);
    menu->Choose(0);
    ASSERT_TRUE(test::PumpUntil([&] { return !bench.exitCodes.empty(); }));
    EXPECT_EQ(bench.exitCodes, std::vector<int>{0});
}

TEST(DeviceMainDlg, ExitRequestFromAnotherLaunchArrivesThroughTheInstanceGuard) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    ASSERT_TRUE(bench.instance->Deliver("exit 611"));
    test::PumpFor(50ms);
    EXPECT_TRUE(bench.exitCodes.empty());
    ASSERT_TRUE(bench.instance->Deliver("exit 610"));
    ASSERT_TRUE(test::PumpUntil([&] { return !bench.exitCodes.empty(); }));
    EXPECT_EQ(bench.exitCodes, std::vector<int>{0});
}

TEST(DeviceMainDlg, SecondLaunchShowsTheHiddenWindow) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    bench.window->ShowWindow(DUI::kSwHide);
    EXPECT_FALSE(bench.window->IsWindowVisible());
    ASSERT_TRUE(bench.instance->Deliver("show"));
    ASSERT_TRUE(test::PumpUntil([&] { return bench.window->IsWindowVisible(); }));
}

TEST(DeviceMainDlg, StartAtLogonTickAndUntick) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    auto* logon = bench.window->GetControlAs<DUI::CCheckButton>(settings_id::kStartAtLogon);
    auto* minimised = bench.window->GetControlAs<DUI::CCheckButton>(settings_id::kStartMinimised);
    EXPECT_FALSE(minimised->IsEnabled());

    logon->SetCheck(1);
    bench.window->OnMessage(settings_id::kStartAtLogon, DUI::kNotifyClick, 0);
    EXPECT_TRUE(bench.autostart->IsEnabled());
    EXPECT_TRUE(minimised->IsEnabled());

    minimised->SetCheck(1);
    bench.window->OnMessage(settings_id::kStartMinimised, DUI::kNotifyClick, 0);
    EXPECT_EQ(bench.registry->Value(kAutorunMinimizeValue), "1");

    logon->SetCheck(0);
    bench.window->OnMessage(settings_id::kStartAtLogon, DUI::kNotifyClick, 0);
    EXPECT_FALSE(bench.autostart->IsEnabled());
    EXPECT_EQ(bench.registry->Value(kAutorunMinimizeValue), "0");
    EXPECT_FALSE(minimised->IsEnabled());
    EXPECT_EQ(minimised->GetCheck(), 0);
}

TEST(DeviceMainDlg, SettingsPageReadsTheStoredChoices) {
    const struct {
        bool autostart;
        const char* minimise;
        const char* exitMode;
        bool tray;
        int logonTick, minimiseTick, minimiseEnabled, hideSelected, hideEnabled;
    } cases[] = {
        {true, "1", "1", true, 1, 1, 1, 1, 1},
        {true, "0", "0", true, 1, 0, 1, 0, 1},
        {false, "1", "1", true, 0, 0, 0, 1, 1},
        {true, "1", "1", false, 1, 1, 1, 0, 0},  // without a tray: close ends the program
    };
    for (const auto& c : cases) {
        WindowBench bench("none", c.tray);
        if (c.autostart) bench.autostart->Enable();
        bench.registry->SetValue(kAutorunMinimizeValue, c.minimise);
        bench.registry->SetValue(kExitModeValue, c.exitMode);
        ASSERT_TRUE(bench.Create());
        auto& w = *bench.window;
        EXPECT_EQ(w.GetControlAs<DUI::CCheckButton>(settings_id::kStartAtLogon)->GetCheck(),
                  c.logonTick);
        EXPECT_EQ(w.GetControlAs<DUI::CCheckButton>(settings_id::kStartMinimised)->GetCheck(),
                  c.minimiseTick);
        EXPECT_EQ(w.GetControl(settings_id::kStartMinimised)->IsEnabled(), c.minimiseEnabled == 1);
        EXPECT_EQ(w.GetControlAs<DUI::CRadioButton>(settings_id::kCloseHides)->GetCheck(),
                  c.hideSelected);
        EXPECT_EQ(w.GetControlAs<DUI::CRadioButton>(settings_id::kCloseEnds)->GetCheck(),
                  1 - c.hideSelected);
        EXPECT_EQ(w.GetControl(settings_id::kCloseHides)->IsEnabled(), c.hideEnabled == 1);
    }
}

TEST(DeviceMainDlg, CloseBehaviourRadiosWriteExitMode) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    bench.window->GetControlAs<DUI::CRadioButton>(settings_id::kCloseHides)->SetCheck(1);
    bench.window->OnMessage(settings_id::kCloseHides, DUI::kNotifyClick, 0);
    EXPECT_EQ(bench.registry->Value(kExitModeValue), "1");
    bench.window->GetControlAs<DUI::CRadioButton>(settings_id::kCloseEnds)->SetCheck(1);
    bench.window->OnMessage(settings_id::kCloseEnds, DUI::kNotifyClick, 0);
    EXPECT_EQ(bench.registry->Value(kExitModeValue), "0");
}

// The update check at start-up follows the stored setting; the check box shows and writes it.
TEST(DeviceMainDlg, UpdateCheckAtStartCanBeTurnedOff) {
    for (const auto& [stored, checks] :
         {std::pair{"", true}, std::pair{"0", true}, std::pair{"1", false}}) {
        test::LogRecorder log;
        WindowBench bench("none");
        if (*stored != '\0') bench.registry->SetValue(kSkipUpdateCheckValue, stored);
        ASSERT_TRUE(bench.Create());
        const std::vector<int> tasks = QueuedTasks(log);
        EXPECT_EQ(std::count(tasks.begin(), tasks.end(), 23), checks ? 1 : 0) << stored;
        auto* box = bench.window->GetControlAs<DUI::CCheckButton>(settings_id::kCheckAtStart);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetCheck(), checks ? 1 : 0) << stored;
        box->SetCheck(checks ? 0 : 1);
        bench.window->OnMessage(settings_id::kCheckAtStart, DUI::kNotifyClick, 0);
        EXPECT_EQ(bench.registry->Value(kSkipUpdateCheckValue), checks ? "1" : "0") << stored;
    }
}

TEST(DeviceMainDlg, ResetToDefaultsAsksFirst) {
    const struct {
        const char* scenario;
        int answer;
        int upperText;
        bool queued;
    } cases[] = {
        {"vireo", CUIMessageBox::kFirstButton, 570, true},
        {"vireo", CUIMessageBox::kSecondButton, 570, false},
        {"receiver-off", CUIMessageBox::kFirstButton, 576, false},  // mouse not on line
    };
    for (const auto& c : cases) {
        test::LogRecorder log;
        WindowBench bench(c.scenario);
        ASSERT_TRUE(bench.Create());
        // The switched-off receiver's mouse never answers: no need to wait for its read.
        const bool online = c.upperText == 570;
        ASSERT_TRUE(test::PumpUntil([&] {
            return QueuedTasks(log).size() >= 2 &&
                   (!online || bench.window->View().DevicePagesShown());
        })) << c.scenario;
        std::string upper;
        DUI::PostToUiThread([&] {
            auto* box = dynamic_cast<DUI::MDialog*>(test::FindMessageBox());
            ASSERT_NE(box, nullptr);
            upper = box->GetControlAs<DUI::MText>(31)->GetTitle();
            box->OnMessage(c.answer, DUI::kNotifyClick, 0);
        });
        bench.window->OnMessage(settings_id::kReset, DUI::kNotifyClick, 0);
        EXPECT_EQ(upper, GetLanText(c.upperText)) << c.scenario;
        const std::vector<int> tasks = QueuedTasks(log);
        EXPECT_EQ(std::count(tasks.begin(), tasks.end(), 20), c.queued ? 1 : 0)
            << c.scenario << " " << c.answer;
    }
}

TEST(DeviceMainDlg, VersionCheckButtonQueuesTask23EachTime) {
    test::LogRecorder log;
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    // A check without an answer says so, never that the program is up to date.
    bench.window->UpdateEventSink().ShowApplicationCheck("", "", false);
    EXPECT_EQ(bench.window->GetControlAs<DUI::MText>(settings_id::kUpdateState)->GetTitle(),
              "Could not check for updates");
    bench.window->UpdateEventSink().SetUpdateState(1, "1.0.4");
    EXPECT_TRUE(bench.window->GetControl(settings_id::kUpdateButton)->IsEnabled());
    EXPECT_EQ(bench.window->GetControlAs<DUI::MText>(settings_id::kUpdateState)->GetTitle(),
              GetLanText(582) + ": v1.0.4");
    bench.window->OnMessage(settings_id::kUpdateButton, DUI::kNotifyClick, 0);
    bench.window->OnMessage(settings_id::kUpdateButton, DUI::kNotifyClick, 0);
    EXPECT_EQ(QueuedTasks(log), (std::vector<int>{1, 23, 23, 23}));
    bench.window->UpdateEventSink().SetUpdateState(2, "1.0.3");
    EXPECT_FALSE(bench.window->GetControl(settings_id::kUpdateButton)->IsEnabled());
    EXPECT_EQ(bench.window->GetControlAs<DUI::MText>(settings_id::kUpdateState)->GetTitle(),
              GetLanText(580));
}

TEST(DeviceMainDlg, LanguageChangeReappliesTexts) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    auto* combo = bench.window->GetControlAs<DUI::MComboBox>(settings_id::kLanguageCombo);
    EXPECT_EQ(combo->GetCount(), 7);
    EXPECT_EQ(combo->GetItemText(0), "简体中文");
    EXPECT_EQ(combo->GetCurData(), 1033);
    auto* label = bench.window->GetControlAs<DUI::MText>(settings_id::kLanguageLabel);
    const std::string english = label->GetTitle();
    EXPECT_EQ(english, "Language");

    combo->ChooseItem(0);  // 简体中文, as the user would
    EXPECT_EQ(CurrentLcid(), 2052);
    EXPECT_EQ(bench.registry->Value(kLcidValue), "2052");
    EXPECT_NE(label->GetTitle(), english);
    EXPECT_EQ(label->GetTitle(), GetLanText(600));
    EXPECT_EQ(bench.window->GetControlAs<DUI::MText>(frame_id::kCaption)->GetTitle(),
              GetLanText(50));
    SetCurrentLcid(1033);
}

// A key combination and a macro on two buttons survive a language change and back: the
// button list and the picture's callouts show the stored assignments, not the defaults.
TEST(DeviceMainDlg, LanguageChangeKeepsTheStoredButtonAssignments) {
    WindowBench bench("vireo");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 101);
    const std::vector<ModelKeyEntry>& keys = bench.window->Definition().keys;
    ASSERT_GE(keys.size(), 5u);
    const ProfileId profile = bench.store.CurrentProfile();
    KeyAssignmentRow combination;
    combination.profile = profile;
    combination.keyCode = keys[3].keyValue;
    combination.macroType = 2;  // key with modifiers
    combination.macroValue = 0x3E;
    combination.macroValue2 = 0x01;
    combination.macroDesc = "Ctrl+F5";
    ASSERT_NE(bench.store.ReplaceKeyAssignment(combination), 0);
    KeyAssignmentRow macro = combination;
    macro.keyCode = keys[4].keyValue;
    macro.macroType = 4;
    macro.macroValue = 7;
    macro.macroDesc = "Custom1";
    ASSERT_NE(bench.store.ReplaceKeyAssignment(macro), 0);
    bench.window->DeviceEventSink().RefreshEditorPages();

    auto* page = dynamic_cast<KeyPage*>(bench.window->Page(kPageButtons));
    auto* picture = bench.window->GetControlAs<DUI::MouseCtrl>(KeyPage::kMousePicture);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(picture, nullptr);
    const auto shown = [&](size_t index) {
        return std::make_pair(page->ButtonDescription(keys[index].keyValue),
                              picture->GetKeyText(static_cast<int>(index)));
    };
    const std::string macroName = GetLanText(text::kCustom) + "1";
    EXPECT_EQ(shown(3), std::make_pair(std::string("Ctrl+F5"), std::string("Ctrl+F5")));
    EXPECT_EQ(shown(4), std::make_pair(macroName, macroName));
    const std::string profileTitle =
        bench.window->GetControlAs<DUI::MText>(frame_id::kProfileLabel)->GetTitle();

    bench.window->ChangeLanguage(1049);
    EXPECT_EQ(shown(3).first, "Ctrl+F5");
    EXPECT_EQ(shown(4).first, GetLanText(text::kCustom) + "1");
    EXPECT_NE(shown(4).first, macroName);
    bench.window->ChangeLanguage(1033);
    EXPECT_EQ(shown(3), std::make_pair(std::string("Ctrl+F5"), std::string("Ctrl+F5")));
    EXPECT_EQ(shown(4), std::make_pair(macroName, macroName));
    // The other buttons keep their default functions.
    EXPECT_EQ(page->ButtonDescription(keys[0].keyValue), GetLanText(keys[0].funcDesc));
    EXPECT_EQ(bench.window->GetControlAs<DUI::MText>(frame_id::kProfileLabel)->GetTitle(),
              profileTitle);
}

// A profile switch from the pop-up sends the new profile's active lighting effect (0x05), even
// when that profile's effects were never shown, and the lighting page shows what was sent.
TEST(DeviceMainDlg, ProfileSwitchSendsTheNewProfilesLighting) {
    test::LogRecorder log;
    WindowBench bench("vireo");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 101);
    bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, 4);  // Lighting
    const ProfileId first = bench.store.CurrentProfile();
    // Profile 1 on effect 3, as the user picks it on the page.
    ASSERT_TRUE(bench.store.SetActiveLightMode(first, 3));
    bench.window->DeviceEventSink().RefreshLightingPage();
    auto* effects = bench.window->GetControlAs<DUI::MComboBox>(LightingPage::kEffectId);
    ASSERT_EQ(effects->GetCurData(), 3);
    const ProfileId second = first == 1 ? 2 : 1;
    ASSERT_EQ(bench.store.CountLightRows(second), 0);

    std::mutex mutex;
    std::vector<std::string> writes;
    HidTrace::SetSink([&](std::string_view line) {
        std::lock_guard lock(mutex);
        if (line.rfind("W ", 0) == 0) writes.emplace_back(line);
    });
    bench.window->OnWindowMessage(kWmProfilePopup, 0, second);
    ASSERT_TRUE(test::PumpUntil([&] {
        std::lock_guard lock(mutex);
        return bench.window->Worker()->QueuedTasks() == 0 && writes.size() >= 7;
    }));
    test::PumpFor(200ms);
    HidTrace::SetSink({});

    const int active = bench.store.GetActiveLightMode(second);
    EXPECT_GT(bench.store.CountLightRows(second), 0);
    EXPECT_NE(active, 3);
    // The second byte of a write is its command code.
    const auto sent = [&](const std::string& code) {
        for (const std::string& line : writes) {
            const size_t bytes = line.find(' ', 2);
            if (line.compare(bytes + 4, 2, code) == 0) return true;
        }
        return false;
    };
    EXPECT_TRUE(sent("05"));
    EXPECT_TRUE(sent("09"));
    EXPECT_EQ(bench.backend->Find("vireo-cable")->Mouse()->State().lightingEffect, active);
    EXPECT_EQ(effects->GetCurData(), active);
    EXPECT_TRUE(log.LinesStartingWith("lighting effect").empty());
}

TEST(DeviceMainDlg, LanguageChangedMessageRefreshesFromTheFile) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    auto* label = bench.window->GetControlAs<DUI::MText>(settings_id::kLanguageLabel);
    SetCurrentLcid(1041);
    EXPECT_EQ(label->GetTitle(), "Language");
    bench.window->SendMessage(kWmLanguageChanged, 0, 0);
    EXPECT_EQ(label->GetTitle(), GetLanText(600));
    EXPECT_NE(label->GetTitle(), "Language");
    SetCurrentLcid(1033);
}

TEST(DeviceMainDlg, TransientSweepClosesBoxesAsCancelled) {
    WindowBench bench("none");
    ASSERT_TRUE(bench.Create());
    int result = 0;
    DUI::PostToUiThread([&] { bench.window->DeviceEventSink().CloseTransientWindows(); });
    result = ShowMessageBox(kMessageBoxYesNo, "a", "b", bench.window.get());
    EXPECT_EQ(result, 2);
}

}  // namespace
}  // namespace kestrix
