// SPDX-License-Identifier: MIT
#include "ui/CDeviceList.h"

#include <gtest/gtest.h>

#include "ControlTestDialog.h"
#include "ui/BatteryCtrl.h"

namespace {

using uitest::ControlTestDialog;
using uitest::Note;

DUI::CDeviceList* MakeList(ControlTestDialog& dialog) {
    auto* list = dialog.Make<DUI::CDeviceList>("CDeviceList", 57, {0, 0, 900, 300});
    list->AddDevice(101, "Vireo", "device/vireo.png");
    list->AddDevice(102, "Falco", "device/falco.png");
    list->AddDevice(201, "Harrier Pro", "device/harrier_pro.png");
    return list;
}

TEST(CDeviceList, OnlineCountFollowsTheStates) {
    ControlTestDialog dialog;
    auto* list = MakeList(dialog);
    EXPECT_EQ(list->GetOnlineDevCount(), 0);
    EXPECT_TRUE(list->SetDeviceState(102, 1, 1));
    EXPECT_TRUE(list->SetDeviceState(201, 0, 1));
    EXPECT_FALSE(list->SetDeviceState(999, 0, 1)) << "unknown model";
    EXPECT_EQ(list->GetOnlineDevCount(), 2);
    list->SetDeviceState(102, 1, 0);  // receiver reports its mouse off line
    EXPECT_EQ(list->GetOnlineDevCount(), 1);
    list->SetAllDeviceState(0);  // start of a rescan
    EXPECT_EQ(list->GetOnlineDevCount(), 0);
    EXPECT_EQ(list->GetDeviceState(201), 0);
    EXPECT_EQ(list->GetDeviceState(999), -1);
}

// SetSelectDevice falls back sensibly and GetSelectDevice reports the outcome.
TEST(CDeviceList, SelectionPrefersTheRequestedOnlineModel) {
    struct Case {
        const char* name;
        std::vector<int> online;
        int requested;
        int selected;
    };
    const std::vector<Case> cases = {
        {"requested and on line", {101, 102}, 102, 102},
        {"requested off line, another on line", {201}, 101, 201},
        {"requested unknown (DeviceType 101 default), first on line wins", {102}, 999, 102},
        {"nothing on line: the requested card", {}, 201, 201},
        {"nothing on line, unknown: the first card", {}, 999, 101},
    };
    for (const Case& c : cases) {
        ControlTestDialog dialog;
        auto* list = MakeList(dialog);
        for (int model : c.online) list->SetDeviceState(model, 0, 1);
        EXPECT_EQ(list->SetSelectDevice(c.requested), c.selected) << c.name;
        EXPECT_EQ(list->GetSelectDevice(), c.selected) << c.name;
    }
    ControlTestDialog dialog;
    auto* empty = dialog.Make<DUI::CDeviceList>("CDeviceList", 57, {0, 0, 900, 300});
    EXPECT_EQ(empty->SetSelectDevice(101), 0);
    EXPECT_EQ(empty->GetSelectDevice(), 0);
}

TEST(CDeviceList, ClickingACardSelectsItAndSendsItsModel) {
    ControlTestDialog dialog;
    auto* list = MakeList(dialog);
    // Three cards of 284 x 222 (height 284, aspect 0.78) are centred in 900 px.
    dialog.Click(450, 150);  // the middle card
    EXPECT_EQ(list->GetSelectDevice(), 102);
    EXPECT_EQ(dialog.notes, (std::vector<Note>{{57, DUI::kNotifyClick, 102}}));
    dialog.Click(5, 5);  // between cards: nothing
    EXPECT_EQ(dialog.notes.size(), 1u);
}

// As many cards show as fit beside each other at their capped height; the ones beyond
// need scrolling.
TEST(CDeviceList, ShowsEveryCardThatFitsAtTheCappedHeight) {
    struct Case {
        const char* name;
        DUI::Rect rect;
        int cards;
        bool canScroll;
    };
    const std::vector<Case> cases = {
        {"below the cap, three of 222 px fit in 900", {0, 0, 900, 300}, 3, false},
        {"above the cap, three of 281 px fit in 1000", {0, 0, 1000, 600}, 3, false},
        {"above the cap, a fourth does not fit", {0, 0, 1000, 600}, 4, true},
        {"below the cap, a fourth does not fit in 900", {0, 0, 900, 300}, 4, true},
    };
    const int models[] = {101, 102, 201, 202};
    for (const Case& c : cases) {
        ControlTestDialog dialog;
        auto* list = dialog.Make<DUI::CDeviceList>("CDeviceList", 57, c.rect);
        for (int i = 0; i < c.cards; ++i) {
            list->AddDevice(models[i], "Mouse", "device/vireo.png");
        }
        EXPECT_EQ(list->CanScroll(), c.canScroll) << c.name;
    }
    // Three 281 x 360 cards centred in 1000 px: the third spans x 664..945.
    ControlTestDialog dialog;
    auto* list = dialog.Make<DUI::CDeviceList>("CDeviceList", 57, {0, 0, 1000, 600});
    for (int i = 0; i < 3; ++i) {
        list->AddDevice(models[i], "Mouse", "device/vireo.png");
    }
    dialog.Click(805, 300);
    EXPECT_EQ(list->GetSelectDevice(), 201);
}

TEST(CDeviceList, BatteryVersionAndDuplicateModels) {
    ControlTestDialog dialog;
    auto* list = MakeList(dialog);
    EXPECT_EQ(list->AddDevice(102, "Falco renamed", "device/falco.png"), 1)
        << "same model updates its card";
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_TRUE(list->SetDeviceBattery(102, 1, 150));
    EXPECT_TRUE(list->SetDeviceVersion(102, 0x112));
    EXPECT_FALSE(list->SetDeviceBattery(5, 0, 50));
    list->DeleteAllDevices();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetSelectDevice(), 0);
}

TEST(BatteryCtrl, LevelIsClampedAndOnlyStateOneIsCharging) {
    ControlTestDialog dialog;
    auto* battery = dialog.Make<DUI::BatteryCtrl>("BatteryCtrl", 50, {0, 0, 100, 20});
    battery->SetBatteryInfo(130, 100);
    EXPECT_EQ(battery->GetLevel(), 100);
    EXPECT_FALSE(battery->IsCharging());
    battery->SetBatteryInfo(-4, 1);
    EXPECT_EQ(battery->GetLevel(), 0);
    EXPECT_TRUE(battery->IsCharging());
}

}  // namespace
