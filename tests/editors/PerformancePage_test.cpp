// SPDX-License-Identifier: MIT
// The performance page driven through its control notifications over a real store, with the
// queued tasks run by the device worker against the simulated mice.

#include "editors/PerformancePage.h"

#include <gtest/gtest.h>

#include "device/DpiCodec.h"
#include "editors/MousePaletteDlg.h"
#include "editors/PageTestHost.h"
#include "rules/SensorDpiRules.h"
#include "ui/DPIControl.h"
#include "ui/DPISlider.h"
#include "ui/MComboBox.h"
#include "ui/ReporteCtrl.h"

namespace kestrix {
namespace {

using testing::PageTestHost;
using Page = PerformancePage;
using Tasks = std::vector<int>;

struct PerfHost {
    explicit PerfHost(const std::string& scenario = "vireo") : host(scenario) {
        page = &host.Attach(std::make_unique<Page>(host.Context()));
        page->Refresh();
        host.ClearRecords();
    }
    DUI::DPIControl* Stages() { return host.Control<DUI::DPIControl>(Page::kStageListId); }
    DUI::DPISlider* Slider() { return host.Control<DUI::DPISlider>(Page::kSliderId); }
    DUI::MComboBox* Count() { return host.Control<DUI::MComboBox>(Page::kStageCountId); }
    DUI::ReporteCtrl* Rates() { return host.Control<DUI::ReporteCtrl>(Page::kRateId); }
    void Sensor(int code) {
        host.ChangeState([code](DeviceState& s) { s.sensorCode = static_cast<uint16_t>(code); });
        page->Refresh();
        host.ClearRecords();
    }
    // Types text into the value edit of stage and finishes the edit.
    void Type(int stage, const std::string& text) {
        Stages()->SetCurSel(stage);
        Stages()->SetEditText(text);
        host.Send(Page::kStageListId, DUI::kNotifyEditDone);
    }
    PageTestHost host;
    Page* page = nullptr;
};

TEST(PerformancePage, RefreshShowsTheStoredStagesAndRecordsThemInTheDeviceState) {
    PerfHost perf;
    perf.host.SetSetting("dpi_count", "4");
    perf.host.SetSetting("dpi_index", "2");
    perf.host.SetSetting("dpi_group2_value", "3200");
    perf.host.SetSetting("dpi_group2_rgb", "65280");
    perf.page->Refresh();
    EXPECT_EQ(perf.Stages()->GetCount(), 4);
    EXPECT_EQ(perf.Stages()->GetCurSel(), 2);
    EXPECT_EQ(perf.Stages()->GetDPIValue(2), 3200);
    EXPECT_EQ(perf.Stages()->GetDPIColorValue(2), 0x00FF00);
    EXPECT_EQ(perf.Count()->GetCurData(), 4);
    EXPECT_EQ(perf.Slider()->GetProgress(), 32);  // sensor 53: DPI / 100
    EXPECT_EQ(perf.host.State().stageCount, 4);
    EXPECT_EQ(perf.host.State().stageIndex, 2);

    // An active stage beyond the count shows the first stage.
    perf.host.SetSetting("dpi_index", "5");
    perf.page->Refresh();
    EXPECT_EQ(perf.Stages()->GetCurSel(), 0);
    EXPECT_TRUE(perf.host.Tasks().empty());
}

TEST(PerformancePage, LoweringTheStageCountBelowTheActiveStageMovesIt) {
    PerfHost perf;
    perf.host.SetSetting("dpi_index", "4");
    perf.page->Refresh();
    perf.host.ClearRecords();

    perf.Count()->ChooseItem(2);  // three stages
    EXPECT_EQ(perf.host.Setting("dpi_count"), 3);
    EXPECT_EQ(perf.host.Setting("dpi_index"), 2);
    EXPECT_EQ(perf.Stages()->GetCount(), 3);
    EXPECT_EQ(perf.Stages()->GetCurSel(), 2);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{9}));
    EXPECT_EQ(perf.host.SaveWaitRequests(), 1);  // the Vireo asks for the save-wait window

    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Mouse().dpiCount, 3);
    EXPECT_EQ(perf.host.Mouse().dpiIndex, 2);

    // Raising it again keeps the active stage.
    perf.Count()->ChooseItem(5);
    EXPECT_EQ(perf.host.Setting("dpi_count"), 6);
    EXPECT_EQ(perf.host.Setting("dpi_index"), 2);
}

TEST(PerformancePage, ChoosingAStageQueuesOnlyWhenItChanged) {
    PerfHost perf;
    const int dpi = perf.host.Setting("dpi_group3_value");
    perf.Stages()->ClickItem(3);
    EXPECT_EQ(perf.host.Setting("dpi_index"), 3);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{9}));
    EXPECT_EQ(perf.host.DpiIndicatorShows(), (std::vector<int>{dpi}));
    EXPECT_EQ(perf.Slider()->GetProgress(), SensorDpiRules::ForSensor(53).DpiToSlider(dpi));

    perf.host.ClearRecords();
    perf.host.Send(Page::kStageListId, DUI::kNotifyEditEnter);  // entering the same stage's edit
    EXPECT_TRUE(perf.host.Tasks().empty());
    EXPECT_TRUE(perf.host.DpiIndicatorShows().empty());

    perf.host.RunQueuedTasks();
    perf.host.Definition().showDpiTips = false;
    perf.Stages()->ClickItem(1);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{9}));
    EXPECT_TRUE(perf.host.DpiIndicatorShows().empty());
    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Mouse().dpiIndex, 1);
}

TEST(PerformancePage, TypedValuesSnapBySensor) {
    struct Case {
        int sensor;
        const char* typed;
        int dpi;
    };
    const Case cases[] = {
        {38, "150", 200},    {38, "5049", 5000},   {38, "12000", 10000}, {17, "10050", 10000},
        {17, "99", 100},     {17, "10175", 10100}, {53, "16500", 16000}, {150, "30000", 26000},
        {150, "1234", 1200}, {53, "abc", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("sensor %d typed %s", c.sensor, c.typed));
        PerfHost perf;
        perf.Sensor(c.sensor);
        const int stage = perf.host.State().stageIndex;
        perf.Type(stage, c.typed);
        EXPECT_EQ(perf.Stages()->GetEditText(), Format("%d", c.dpi));
        EXPECT_EQ(perf.Stages()->GetDPIValue(stage), c.dpi);
        EXPECT_EQ(perf.host.Setting(Format("dpi_group%d_value", stage)), c.dpi);
        EXPECT_EQ(perf.Slider()->GetProgress(),
                  SensorDpiRules::ForSensor(c.sensor).DpiToSlider(c.dpi));
        // The value's own write goes without the save-wait window.
        EXPECT_EQ(perf.host.Tasks(), (Tasks{9}));
        EXPECT_EQ(perf.host.SaveWaitRequests(), 0);
    }
}

TEST(PerformancePage, TypingIntoAnotherStageQueuesTwice) {
    PerfHost perf;
    perf.Type(4, "2450");
    EXPECT_EQ(perf.host.Tasks(), (Tasks{9, 9}));
    EXPECT_EQ(perf.host.SaveWaitRequests(), 1);
    EXPECT_EQ(perf.host.DpiIndicatorShows(), (std::vector<int>{2400}));
    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Mouse().dpiRaw[4], EncodeDpi(53, 2400));
}

TEST(PerformancePage, SliderMapsBySensorAndQueuesOnRelease) {
    struct Case {
        int sensor;
        int slider;
        int dpi;
        int afterRefresh;  // slider value a refresh shows for the stored DPI
    };
    // Both rules of every sensor agree: a value dropped at n reappears at n. A value beyond
    // an end is the end: the left end gives the low label's DPI, the right end the high one's.
    const Case cases[] = {
        {38, 1, 200, 1},        {38, 48, 4900, 48},     {38, 49, 5000, 49},
        {38, 50, 5500, 50},     {38, 59, 10000, 59},    {150, 1, 100, 2},
        {150, 521, 26000, 520}, {150, 640, 26000, 520}, {53, 160, 16000, 160},
        {4, 80, 8000, 80},      {99, 520, 26000, 520},  {17, 1, 100, 2},
        {5, 184, 12000, 184},   {25, 174, 30000, 174},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Format("sensor %d slider %d", c.sensor, c.slider));
        PerfHost perf;
        perf.Sensor(c.sensor);
        const int stage = perf.Stages()->GetCurSel();
        perf.Slider()->SetProgress(c.slider);
        perf.host.Send(Page::kSliderId, DUI::kNotifyDragging, c.slider);
        EXPECT_EQ(perf.host.Setting(Format("dpi_group%d_value", stage)), c.dpi);
        EXPECT_TRUE(perf.host.Tasks().empty());
        perf.host.Send(Page::kSliderId, DUI::kNotifyClick, c.slider);
        EXPECT_EQ(perf.host.Tasks(), (Tasks{9}));
        // A refresh puts the slider back where the value was dropped.
        perf.page->Refresh();
        EXPECT_EQ(perf.Slider()->GetProgress(), c.afterRefresh);
    }
}

TEST(PerformancePage, ReleasingAnUnmovedSliderKeepsTheStagesDpi) {
    PerfHost perf("harrier_pro");
    const int stage = perf.Stages()->GetCurSel();
    const std::string key = Format("dpi_group%d_value", stage);
    // A value off the slider's grid, as a mouse may report it.
    perf.host.SetSetting(key, "425");
    perf.page->Refresh();
    perf.host.ClearRecords();
    ASSERT_EQ(perf.Slider()->GetProgress(), 8);
    perf.host.Send(Page::kSliderId, DUI::kNotifyClick, 8);
    EXPECT_EQ(perf.host.Setting(key), 425);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{9}));
    // Moving it away and back is a real choice.
    perf.Slider()->SetProgress(9);
    perf.host.Send(Page::kSliderId, DUI::kNotifyDragging, 9);
    perf.Slider()->SetProgress(8);
    perf.host.Send(Page::kSliderId, DUI::kNotifyClick, 8);
    EXPECT_EQ(perf.host.Setting(key), 400);
}

TEST(PerformancePage, Sensor150SliderEndStoresTheCapAndReachesTheMouse) {
    PerfHost perf("harrier_pro");
    ASSERT_EQ(perf.host.State().sensorCode, 150);
    const int stage = perf.Stages()->GetCurSel();
    perf.Slider()->SetProgress(520);
    EXPECT_EQ(perf.Slider()->GetProgress(), 520);
    perf.host.Send(Page::kSliderId, DUI::kNotifyClick, 520);
    EXPECT_EQ(perf.host.Setting(Format("dpi_group%d_value", stage)), 26000);
    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Mouse().dpiRaw[stage], EncodeDpi(150, 26000));
}

TEST(PerformancePage, ColourFromThePaletteIsStoredUnlessNothingWasChosen) {
    PerfHost perf;
    const int stage = perf.Stages()->GetCurSel();
    const std::string key = Format("dpi_group%d_rgb", stage);
    const int before = perf.host.Setting(key);
    int offered = -1;
    perf.page->SetColourChooser([&offered](int colour) {
        offered = colour;
        return MousePaletteDlg::kNothingChosen;
    });
    perf.Stages()->ClickColor(stage);
    EXPECT_EQ(offered, before);
    EXPECT_EQ(perf.host.Setting(key), before);
    EXPECT_TRUE(perf.host.Tasks().empty());
    EXPECT_TRUE(perf.host.DpiIndicatorShows().empty());

    perf.page->SetColourChooser([](int) { return 0x3366CC; });
    perf.Stages()->ClickColor(stage);
    EXPECT_EQ(perf.host.Setting(key), 0x3366CC);
    EXPECT_EQ(perf.Stages()->GetDPIColorValue(stage), 0x3366CC);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{10}));
    EXPECT_EQ(perf.host.DpiIndicatorShows().size(), 1u);
    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Mouse().dpiColours[stage], 0x3366CCu);

    // Black is a choice: stored and sent.
    perf.host.ClearRecords();
    perf.page->SetColourChooser([](int) { return 0; });
    perf.Stages()->ClickColor(stage);
    EXPECT_EQ(perf.host.Setting(key), 0);
    EXPECT_EQ(perf.Stages()->GetDPIColorValue(stage), 0);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{10}));
    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Mouse().dpiColours[stage], 0u);
}

TEST(PerformancePage, PollingRatesFollowTheReportRateClass) {
    struct Case {
        int rateClass;
        int items;
    };
    for (const Case c : {Case{4, 4}, Case{5, 4}, Case{6, 4}, Case{7, 7}}) {
        SCOPED_TRACE(c.rateClass);
        PerfHost perf;
        perf.host.ChangeState([&c](DeviceState& s) { s.reportRateClass = c.rateClass; });
        perf.host.SetSetting("report_rate", "2");
        perf.page->Refresh();
        ASSERT_EQ(perf.Rates()->GetCount(), c.items);
        EXPECT_EQ(perf.Rates()->GetItemText(c.items - 1), c.items == 7 ? "8000 Hz" : "1000 Hz");
        EXPECT_EQ(perf.Rates()->GetItemData(perf.Rates()->GetCurSel()), 2);
    }
    // A stored 2000 Hz without the class to offer it selects nothing.
    PerfHost perf;
    perf.host.SetSetting("report_rate", "16");
    perf.page->Refresh();
    EXPECT_EQ(perf.Rates()->GetCurSel(), -1);
}

TEST(PerformancePage, ChoosingAndResettingThePollingRate) {
    PerfHost perf;
    perf.Rates()->ClickItem(1);  // 250 Hz
    EXPECT_EQ(perf.host.Setting("report_rate"), 4);
    EXPECT_EQ(perf.host.Setting("report_rate_wireless"), 4);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{11}));
    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Mouse().reportRate, 4);

    perf.host.Send(Page::kRateResetId, DUI::kNotifyClick);  // the Vireo's default is 1000 Hz
    EXPECT_EQ(perf.host.Setting("report_rate"), 1);
    EXPECT_EQ(perf.host.Setting("report_rate_wireless"), 1);
    EXPECT_EQ(perf.Rates()->GetItemData(perf.Rates()->GetCurSel()), 1);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{11}));

    // Without a readable model file the stored rate stays and the rate is sent all the same.
    perf.host.ClearRecords();
    perf.host.Context().deviceAttr = "no_such_model";
    perf.host.Send(Page::kRateResetId, DUI::kNotifyClick);
    EXPECT_EQ(perf.host.Setting("report_rate"), 1);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{11}));
}

TEST(PerformancePage, DpiResetAsksFirst) {
    PerfHost perf;
    perf.host.AnswerMessageBoxes({2, 1});
    perf.host.Send(Page::kDpiResetId, DUI::kNotifyClick);
    EXPECT_TRUE(perf.host.Tasks().empty());
    perf.host.Send(Page::kDpiResetId, DUI::kNotifyClick);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{18}));
    ASSERT_EQ(perf.host.MessageBoxes().size(), 2u);
    EXPECT_EQ(perf.host.MessageBoxes()[0].type, 4);
    EXPECT_EQ(perf.host.MessageBoxes()[0].upperText, GetLanText(253));
    EXPECT_EQ(perf.host.MessageBoxes()[0].lowerText, GetLanText(258));

    // The worker puts the model's stages back and the page shows them.
    perf.host.SetSetting("dpi_group0_value", "5000");
    perf.host.RunQueuedTasks();
    EXPECT_EQ(perf.host.Setting("dpi_group0_value"), 400);
    EXPECT_EQ(perf.Stages()->GetDPIValue(0), 400);
}

TEST(PerformancePage, SaveWaitOnlyWhenTheModelAsksForIt) {
    PerfHost perf("falco");  // show_savetips="0"
    perf.host.Send(Page::kApplyId, DUI::kNotifyClick);
    EXPECT_EQ(perf.host.Tasks(), (Tasks{9}));
    EXPECT_EQ(perf.host.SaveWaitRequests(), 0);
    perf.host.Definition().showSaveTips = true;
    perf.host.Send(Page::kApplyId, DUI::kNotifyClick);
    EXPECT_EQ(perf.host.SaveWaitRequests(), 1);
}

TEST(PerformancePage, ClaimsOnlyItsOwnControls) {
    PerfHost perf;
    for (int id : {115, 116, 117, 118, 120, 124, 125})
        EXPECT_TRUE(perf.page->OnMessage(id, 0, 0)) << id;
    for (int id : {119, 129, 139, 197, 255}) EXPECT_FALSE(perf.page->OnMessage(id, 2, 0)) << id;
}

// Renders the page for the default scenario and a sensor-150 mouse when KESTRIX_SCREENSHOTS
// names a folder (docs/screenshots); skipped otherwise.
TEST(PerformancePage, Screenshots) {
    const std::string folder = testing::ScreenshotFolder();
    if (folder.empty()) GTEST_SKIP() << "set KESTRIX_SCREENSHOTS to a folder";
    for (const char* scenario : {"default", "harrier_pro"}) {
        PerfHost perf(scenario);
        EXPECT_TRUE(perf.host.SaveScreenshot(folder + "/performance-" + scenario + ".png"));
    }
}

}  // namespace
}  // namespace kestrix
