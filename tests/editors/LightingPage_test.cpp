// SPDX-License-Identifier: MIT
// The lighting page: default rows, the groups each effect shows, the labels, and what the
// brightness, speed and colour controls store, queue and finally send to the simulated mouse.

#include "editors/LightingPage.h"

#include <gtest/gtest.h>

#include "editors/PageTestHost.h"
#include "ui/CArea.h"
#include "ui/CColorButton.h"
#include "ui/LightSlider.h"
#include "ui/MComboBox.h"
#include "ui/MEdit.h"
#include "ui/MPalette.h"
#include "ui/MText.h"

namespace kestrix {
namespace {

using testing::PageTestHost;
using Page = LightingPage;
using Tasks = std::vector<int>;

// Effects of the default rows: 1 flowing (config 3), 2 breathing (2067), 3 steady (17), 0 off.
constexpr int kFlowing = 1;
constexpr int kBreathing = 2;
constexpr int kSteady = 3;
constexpr int kOff = 0;

struct LightHost {
    explicit LightHost(const std::string& scenario = "vireo") : host(scenario) {
        page = &host.Attach(std::make_unique<Page>(host.Context()));
        page->Refresh();
        host.ClearRecords();
    }
    DUI::MComboBox* Effects() { return host.Control<DUI::MComboBox>(Page::kEffectId); }
    void Choose(int mode) {
        for (int i = 0; i < Effects()->GetCount(); ++i) {
            if (Effects()->GetItemData(i) == mode) Effects()->ChooseItem(i);
        }
    }
    // Chooses mode and forgets what that queued.
    void Show(int mode) {
        Choose(mode);
        host.ClearRecords();
    }
    LightRow Row(int mode) {
        LightRow row;
        EXPECT_TRUE(host.Store().GetLightRow(host.Store().CurrentProfile(), mode, row));
        return row;
    }
    std::string Label(int id) { return host.Control<DUI::MText>(id)->GetTitle(); }
    bool Visible(int id) { return host.Control<DUI::MControl>(id)->IsVisible(); }
    void Slide(int id, int value, int code) {
        host.Control<DUI::LightSlider>(id)->SetPos(value);
        host.Send(id, code, value);
    }
    void Type(int id, const std::string& text) {
        host.Control<DUI::MEdit>(id)->SetTitle(text);
        host.Send(id, DUI::kNotifyTextChanged);
    }
    std::string Field(int id) { return host.Control<DUI::MEdit>(id)->GetTitle(); }
    PageTestHost host;
    Page* page = nullptr;
};

TEST(LightingPage, FirstRefreshMakesTheModelsDefaultRows) {
    LightHost light;
    DataStore& store = light.host.Store();
    ProfileRow fresh;
    fresh.name = "Fresh";
    const ProfileId profile = store.InsertProfile(fresh);
    ASSERT_NE(profile, 0);
    store.SetCurrentProfile(profile);
    ASSERT_EQ(store.CountLightRows(profile), 0);

    light.page->Refresh();
    EXPECT_EQ(store.CountLightRows(profile), 4);  // the Vireo enables light_1, 2, 3 and 6
    ASSERT_EQ(light.Effects()->GetCount(), 4);
    const int modes[] = {kFlowing, kBreathing, kSteady, kOff};
    const int names[] = {280, 281, 282, 285};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(light.Effects()->GetItemData(i), modes[i]);
        EXPECT_EQ(light.Effects()->GetItemText(i), GetLanText(names[i]));
    }
    EXPECT_EQ(light.Effects()->GetCurData(), kFlowing);
    EXPECT_EQ(light.page->CurrentEffect(), kFlowing);
    EXPECT_TRUE(light.host.Tasks().empty());
}

TEST(LightingPage, AModelWithoutLightingGetsNoRows) {
    LightHost light("falco");
    EXPECT_EQ(light.host.Store().CountLightRows(light.host.Store().CurrentProfile()), 0);
    EXPECT_EQ(light.Effects()->GetCount(), 0);
    EXPECT_FALSE(light.Visible(Page::kBrightnessId));
}

TEST(LightingPage, LanguageChangeRenamesTheEffects) {
    LightHost light;
    SetCurrentLcid(2052);
    light.page->ApplyTexts();
    EXPECT_EQ(light.Effects()->GetItemText(0), GetLanText(280));
    EXPECT_EQ(light.host.Control<DUI::MText>(Page::kBrightnessLabelId)->GetTitle(),
              Page::BrightnessLabel(4));
    SetCurrentLcid(1033);
    EXPECT_NE(light.Effects()->GetItemText(0), GetLanText(280));
    EXPECT_TRUE(light.host.Tasks().empty());
}

TEST(LightingPage, EffectsShowTheGroupsOfTheirConfigBits) {
    struct Case {
        int mode;
        bool brightness, speed, picker, colourSlots;
    };
    const Case cases[] = {
        {kFlowing, true, true, false, false},
        {kBreathing, true, true, true, true},
        {kSteady, true, false, true, false},
        {kOff, false, false, false, false},
    };
    LightHost light;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        light.Choose(c.mode);
        EXPECT_EQ(light.Visible(Page::kBrightnessId), c.brightness);
        EXPECT_EQ(light.Visible(Page::kBrightnessLabelId), c.brightness);
        EXPECT_EQ(light.Visible(Page::kSpeedId), c.speed);
        EXPECT_EQ(light.Visible(Page::kPaletteId), c.picker);
        EXPECT_EQ(light.Visible(Page::kFirstPresetId + 7), c.picker);
        EXPECT_EQ(light.Visible(Page::kBlueId), c.picker);
        EXPECT_EQ(light.Visible(Page::kFirstSlotId + 6), c.colourSlots);
        // Choosing an effect marks it active and sends it.
        EXPECT_EQ(light.host.Store().GetActiveLightMode(light.host.Store().CurrentProfile()),
                  c.mode);
        EXPECT_EQ(light.host.Tasks(), (Tasks{8}));
        EXPECT_EQ(light.host.State().currentLightingEffect, c.mode);
        light.host.RunQueuedTasks();
        EXPECT_EQ(light.host.Mouse().lightingEffect, c.mode);
    }
}

TEST(LightingPage, BrightnessLabelFollowsTheSliderAndIsStoredOnRelease) {
    struct Case {
        int value;
        const char* percent;
    };
    LightHost light;
    light.Show(kSteady);
    const std::string word = GetLanText(278);
    for (const Case c :
         {Case{0, "0%"}, Case{1, "25%"}, Case{2, "50%"}, Case{3, "75%"}, Case{4, "100%"}}) {
        SCOPED_TRACE(c.value);
        light.Slide(Page::kBrightnessId, c.value, DUI::kNotifyDragging);
        EXPECT_EQ(light.Label(Page::kBrightnessLabelId), word + ": " + c.percent);
        EXPECT_TRUE(light.host.Tasks().empty());
    }
    EXPECT_EQ(Page::BrightnessLabel(7), word + ": 100%");
    light.Slide(Page::kBrightnessId, 1, DUI::kNotifyClick);
    EXPECT_EQ(light.Row(kSteady).brightness, 1);
    EXPECT_EQ(light.host.Tasks(), (Tasks{8}));
    EXPECT_EQ(light.host.SaveWaitRequests(), 1);
    light.host.RunQueuedTasks();
    EXPECT_EQ(light.host.Mouse().lighting[kSteady].brightness, 1);
}

TEST(LightingPage, SpeedLabelFollowsTheSliderAndWritesOnRelease) {
    LightHost light;
    light.Show(kFlowing);
    const std::string word = GetLanText(279);
    light.Slide(Page::kSpeedId, 3, DUI::kNotifyDragging);
    EXPECT_EQ(light.Label(Page::kSpeedLabelId), word + ": 3");
    EXPECT_TRUE(light.host.Tasks().empty());
    light.Slide(Page::kSpeedId, 3, DUI::kNotifyClick);
    EXPECT_EQ(light.Label(Page::kSpeedLabelId), word + ": 3");
    EXPECT_EQ(light.Row(kFlowing).speed, 3);
    EXPECT_EQ(light.host.Tasks(), (Tasks{8}));
}

TEST(LightingPage, ColourFieldsAreClamped) {
    struct Case {
        const char* typed;
        const char* shown;
        int red;
    };
    LightHost light;
    light.Show(kSteady);
    light.Type(Page::kGreenId, "0");
    light.Type(Page::kBlueId, "0");
    for (const Case c : {Case{"300", "255", 255}, Case{"-5", "0", 0}, Case{"17", "17", 17}}) {
        SCOPED_TRACE(c.typed);
        light.host.ClearRecords();
        light.Type(Page::kRedId, c.typed);
        EXPECT_EQ(light.Field(Page::kRedId), c.shown);
        EXPECT_EQ(light.Row(kSteady).colorValues[0], c.red);
        EXPECT_EQ(light.host.Control<DUI::CArea>(Page::kPreviewId)->GetBkColor(), c.red);
        EXPECT_EQ(light.host.Tasks(), (Tasks{8}));
    }
}

TEST(LightingPage, WithoutSlotsAColourChangesOnlyTheFirstValue) {
    LightHost light;
    light.Show(kSteady);
    const LightRow before = light.Row(kSteady);
    light.host.Send(Page::kFirstPresetId + 3, DUI::kNotifyClick);  // 0xFCFF00
    const LightRow after = light.Row(kSteady);
    EXPECT_EQ(after.colorValues[0], 0xFCFF00);
    for (int i = 1; i < 7; ++i) EXPECT_EQ(after.colorValues[i], before.colorValues[i]) << i;
    EXPECT_EQ(light.Field(Page::kRedId), "0");
    EXPECT_EQ(light.Field(Page::kGreenId), "255");
    EXPECT_EQ(light.Field(Page::kBlueId), "252");
    light.host.RunQueuedTasks();
    ASSERT_FALSE(light.host.Mouse().lighting[kSteady].colours.empty());
    EXPECT_EQ(light.host.Mouse().lighting[kSteady].colours[0], 0xFCFF00u);
}

TEST(LightingPage, WithSlotsAColourGoesIntoTheCheckedSlotOnly) {
    LightHost light;
    light.Show(kBreathing);
    const LightRow before = light.Row(kBreathing);
    // Slot 220 (color_value3) chosen: a click only selects it.
    light.host.Control<DUI::CColorButton>(220)->SetCheck(1);
    light.host.Send(220, DUI::kNotifyClick);
    EXPECT_TRUE(light.host.Tasks().empty());
    EXPECT_EQ(light.host.Control<DUI::CColorButton>(Page::kFirstSlotId)->GetCheck(), 0);
    LightRow same = light.Row(kBreathing);
    EXPECT_EQ(same.colorValues, before.colorValues);

    light.host.Send(Page::kFirstPresetId + 1, DUI::kNotifyClick);  // 0xFF00F0
    const LightRow after = light.Row(kBreathing);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(after.colorValues[i], i == 2 ? 0xFF00F0 : before.colorValues[i]) << i;
    }
    EXPECT_EQ(light.host.Control<DUI::CColorButton>(220)->GetColor(), 0xFF00F0);
    EXPECT_EQ(light.host.Tasks(), (Tasks{8}));
}

TEST(LightingPage, PaletteShowsWhileMovingAndAppliesOnRelease) {
    LightHost light;
    light.Show(kSteady);
    light.host.Control<DUI::CColorButton>(Page::kFirstPresetId)->SetCheck(1);
    auto* palette = light.host.Control<DUI::MPalette>(Page::kPaletteId);
    palette->SetSelectColor(0x00FF00);
    const int picked = palette->GetSelectColor();
    const int stored = light.Row(kSteady).colorValues[0];
    light.host.Send(Page::kPaletteId, DUI::kNotifySelChanging);
    EXPECT_EQ(light.Field(Page::kGreenId), std::to_string(DUI::ColourGreen(picked)));
    EXPECT_EQ(light.host.Control<DUI::CColorButton>(Page::kFirstPresetId)->GetCheck(), 0);
    EXPECT_EQ(light.Row(kSteady).colorValues[0], stored);
    EXPECT_TRUE(light.host.Tasks().empty());
    light.host.Send(Page::kPaletteId, DUI::kNotifyClick);
    EXPECT_EQ(light.Row(kSteady).colorValues[0], picked);
    EXPECT_EQ(light.host.Tasks(), (Tasks{8}));
}

TEST(LightingPage, AnEffectWithoutRowStoresNothingButIsStillSent) {
    LightHost light;
    light.Effects()->AddItem("mode 9", 9);
    light.Choose(9);
    EXPECT_EQ(light.host.Tasks(), (Tasks{8}));
    light.host.ClearRecords();
    light.Slide(Page::kBrightnessId, 2, DUI::kNotifyClick);
    light.host.Send(Page::kFirstPresetId, DUI::kNotifyClick);
    EXPECT_TRUE(light.host.Tasks().empty());
    EXPECT_FALSE(light.Visible(Page::kPaletteId));
}

TEST(LightingPage, RestoreAsksFirst) {
    LightHost light;
    light.host.AnswerMessageBoxes({2, 1});
    light.host.Send(Page::kRestoreId, DUI::kNotifyClick);
    EXPECT_TRUE(light.host.Tasks().empty());
    light.host.Send(Page::kRestoreId, DUI::kNotifyClick);
    EXPECT_EQ(light.host.Tasks(), (Tasks{17}));
    ASSERT_EQ(light.host.MessageBoxes().size(), 2u);
    EXPECT_EQ(light.host.MessageBoxes()[1].upperText, GetLanText(276));
    EXPECT_EQ(light.host.MessageBoxes()[1].lowerText, GetLanText(275));
    light.host.RunQueuedTasks();
    EXPECT_GE(light.host.Events().Count("RefreshLightingPage") +
                  light.host.Events().Count("RefreshEditorPages"),
              1u);
}

// Renders the page (the breathing effect shows every group, steady only some) when
// KESTRIX_SCREENSHOTS names a folder (docs/screenshots); skipped otherwise.
TEST(LightingPage, Screenshots) {
    const std::string folder = testing::ScreenshotFolder();
    if (folder.empty()) GTEST_SKIP() << "set KESTRIX_SCREENSHOTS to a folder";
    for (const char* scenario : {"default", "harrier_pro"}) {
        LightHost light(scenario);
        light.Show(kBreathing);
        light.host.Send(Page::kFirstPresetId + 5, DUI::kNotifyClick);
        EXPECT_TRUE(light.host.SaveScreenshot(folder + "/lighting-" + scenario + ".png"));
        light.Show(kSteady);
        EXPECT_TRUE(light.host.SaveScreenshot(folder + "/lighting-" + scenario + "-steady.png"));
    }
}

}  // namespace
}  // namespace kestrix
