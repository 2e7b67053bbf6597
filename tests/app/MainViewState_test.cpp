// SPDX-License-Identifier: MIT
#include "app/MainViewState.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(MainViewState, StartsAtHomeWithTheNoDevicePanel) {
    MainViewState view;
    const ViewVisibility v = view.Visibility();
    EXPECT_EQ(view.CurrentPage(), kPageHome);
    EXPECT_TRUE(v.noDevicePanel);
    EXPECT_FALSE(v.homeList);
    EXPECT_FALSE(v.tabStrip);
    EXPECT_FALSE(v.deviceControls);
    EXPECT_EQ(v.pagePanel, 0);
}

TEST(MainViewState, TabsSwitchPagesAndHomeHidesTheDeviceControls) {
    MainViewState view;
    view.SetDevicePages(true);
    EXPECT_TRUE(view.Visibility().homeList);

    for (int page :
         {kPageButtons, kPagePerformance, kPageMacros, kPageLighting, kPageDeviceSettings}) {
        view.SelectPage(page);
        const ViewVisibility v = view.Visibility();
        EXPECT_TRUE(v.tabStrip) << page;
        EXPECT_TRUE(v.deviceControls) << page;
        EXPECT_EQ(v.pagePanel, page);
        EXPECT_FALSE(v.homeList);
    }
    view.SelectPage(kPageHome);
    const ViewVisibility home = view.Visibility();
    EXPECT_FALSE(home.tabStrip);
    EXPECT_FALSE(home.deviceControls);
    EXPECT_EQ(home.pagePanel, 0);
    EXPECT_TRUE(home.homeList);
}

TEST(MainViewState, SettingsPageCoversAndHomeTabClosesIt) {
    MainViewState view;
    view.SetDevicePages(true);
    view.SelectPage(kPageMacros);
    view.OpenSettings();
    ViewVisibility v = view.Visibility();
    EXPECT_TRUE(v.settingsPage);
    EXPECT_FALSE(v.settingsButton);
    EXPECT_FALSE(v.tabStrip);
    EXPECT_EQ(v.pagePanel, 0);

    view.SelectPage(kPageHome);
    v = view.Visibility();
    EXPECT_FALSE(v.settingsPage);
    EXPECT_TRUE(v.settingsButton);
    EXPECT_TRUE(v.homeList);
}

TEST(MainViewState, ReturnFromSettings) {
    const struct {
        bool device;
        int page;
        bool selectsHome;
        int shownPage;
    } cases[] = {
        {true, kPagePerformance, false, kPagePerformance},  // back to the page it covered
        {true, kPageHome, true, 0},
        {false, kPagePerformance, true, 0},  // the device went away meanwhile
        {false, kPageHome, true, 0},
    };
    for (const auto& c : cases) {
        MainViewState view;
        view.SetDevicePages(true);
        view.SelectPage(c.page);
        view.OpenSettings();
        view.SetDevicePages(c.device);
        EXPECT_EQ(view.ReturnFromSettings(), c.selectsHome) << c.device << " " << c.page;
        EXPECT_FALSE(view.SettingsVisible());
        EXPECT_EQ(view.Visibility().pagePanel, c.shownPage);
        if (c.selectsHome) {
            EXPECT_EQ(view.CurrentPage(), kPageHome);
        }
    }
}

TEST(MainViewState, AnAttachedDeviceOffLineShowsTheListNotThePanel) {
    MainViewState view;
    view.SetNoDevicePanel(true);
    view.SetAnyAttached(true);
    EXPECT_FALSE(view.Visibility().noDevicePanel);
    EXPECT_TRUE(view.Visibility().homeList);
    view.SetAnyAttached(false);
    EXPECT_TRUE(view.Visibility().noDevicePanel);
}

TEST(MainViewState, LosingTheDeviceFallsBackToHome) {
    MainViewState view;
    view.SetDevicePages(true);
    view.SelectPage(kPageButtons);
    view.SetDevicePages(false);
    const ViewVisibility v = view.Visibility();
    EXPECT_FALSE(v.tabStrip);
    EXPECT_TRUE(v.noDevicePanel);
    // A receiver whose mouse went off line shows the panel even while its entry remains.
    view.SetDevicePages(true);
    view.SelectPage(kPageHome);
    view.SetNoDevicePanel(true);
    EXPECT_TRUE(view.Visibility().noDevicePanel);
    view.SetNoDevicePanel(false);
    EXPECT_TRUE(view.Visibility().homeList);
}

}  // namespace
}  // namespace kestrix
