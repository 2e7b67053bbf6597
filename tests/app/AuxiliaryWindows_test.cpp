// SPDX-License-Identifier: MIT
#include <chrono>

#include <gtest/gtest.h>

#include "AppTestBench.h"
#include "app/AboutDlg.h"
#include "app/CUIMessageBox.h"
#include "app/DPIMsgDlg.h"
#include "app/SaveWaitDlg.h"
#include "app/UpdateProcessDlg.h"
#include "app/UpdateTipDlg.h"
#include "base/FirmwareVersion.h"
#include "ui/MButton.h"
#include "ui/MProgress.h"
#include "ui/MText.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Shows a message box and, from inside its loop, runs act on it; returns the box's result.
int ShowAndAct(int type, const std::function<void(DUI::MWindow&)>& act) {
    DUI::PostToUiThread([act] {
        if (DUI::MWindow* box = test::FindMessageBox()) act(*box);
    });
    return ShowMessageBox(type, "upper", "lower", nullptr);
}

void Click(DUI::MWindow& box, int id) {
    dynamic_cast<DUI::MDialog&>(box).OnMessage(id, DUI::kNotifyClick, 0);
}

TEST(CUIMessageBox, ResultsOfTheButtonsAndOfAnOutsideClose) {
    test::SetUpToolkit();
    const struct {
        int type;
        std::function<void(DUI::MWindow&)> act;
        int result;
    } cases[] = {
        {kMessageBoxYesNo, [](DUI::MWindow& b) { Click(b, CUIMessageBox::kFirstButton); }, 1},
        {kMessageBoxYesNo, [](DUI::MWindow& b) { Click(b, CUIMessageBox::kSecondButton); }, 2},
        {kMessageBoxOk, [](DUI::MWindow& b) { Click(b, CUIMessageBox::kFirstButton); }, 1},
        // The transient-window sweep closes boxes with WM_CLOSE and wParam 2.
        {kMessageBoxYesNo, [](DUI::MWindow& b) { b.SendMessage(DUI::kWmClose, 2, 0); }, 2},
        // Any other close also counts as the second button.
        {kMessageBoxOk, [](DUI::MWindow& b) { b.SendMessage(DUI::kWmClose, 0, 0); }, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(ShowAndAct(c.type, c.act), c.result);
    EXPECT_EQ(test::FindMessageBox(), nullptr);
}

TEST(CUIMessageBox, ButtonsOfEachType) {
    test::SetUpToolkit();
    const struct {
        int type;
        std::vector<std::string> titles;
    } cases[] = {{kMessageBoxOk, {"OK"}}, {kMessageBoxYesNo, {"Yes", "No"}}, {3, {}}};
    for (const auto& c : cases) {
        std::vector<std::string> titles;
        ShowAndAct(c.type, [&titles](DUI::MWindow& box) {
            auto& dialog = dynamic_cast<DUI::MDialog&>(box);
            for (int id : {CUIMessageBox::kFirstButton, CUIMessageBox::kSecondButton}) {
                if (auto* button = dialog.GetControlAs<DUI::MButton>(id))
                    titles.push_back(button->GetTitle());
            }
            EXPECT_EQ(box.GetWindowRect().Width(), 430);
            EXPECT_EQ(box.GetWindowRect().Height(), 230);
            box.SendMessage(DUI::kWmClose, 2, 0);
        });
        EXPECT_EQ(titles, c.titles) << c.type;
    }
}

TEST(SaveWaitDlg, StaysUntilTheDelayAfterTheLastShow) {
    test::SetUpToolkit();
    SaveWaitDlg window;
    window.SetHideDelay(600);
    ASSERT_TRUE(window.CreateOver(nullptr));
    const auto start = Clock::now();
    test::PumpFor(300ms);
    window.Show();  // a second change restarts the 600 ms
    // A window that would open under it (the palette) waits until it has hidden.
    bool ranHidden = false;
    window.RunWhenHidden([&] { ranHidden = !window.IsWindowVisible(); });
    test::PumpUntil([&] { return Clock::now() - start >= 750ms; });
    EXPECT_TRUE(window.IsWindowVisible()) << "hidden by the first show's timer";
    EXPECT_FALSE(ranHidden);
    ASSERT_TRUE(test::PumpUntil([&] { return !window.IsWindowVisible(); }, 3000ms));
    EXPECT_GE(Clock::now() - start, 820ms);  // timers may fire a little early
    EXPECT_TRUE(ranHidden);
    // Hidden, it runs at once; reused afterwards.
    int runs = 0;
    window.RunWhenHidden([&] { ++runs; });
    EXPECT_EQ(runs, 1);
    window.Show();
    EXPECT_TRUE(window.IsWindowVisible());
    window.CloseWindow();
}

TEST(DPIMsgDlg, ShowsTheValueInTheWorkAreaCornerAndHidesAfterTheDelay) {
    test::SetUpToolkit();
    SetWorkAreaSource([] { return DUI::Rect{0, 24, 1366, 768}; });
    DPIMsgDlg indicator;
    indicator.SetHideDelay(500);
    ASSERT_TRUE(indicator.CreateOwned(nullptr));
    EXPECT_FALSE(indicator.IsWindowVisible());
    indicator.Show(800);
    EXPECT_TRUE(indicator.IsWindowVisible());
    EXPECT_EQ(indicator.GetWindowRect(), (DUI::Rect{1064, 636, 1364, 766}));
    EXPECT_EQ(indicator.GetControlAs<DUI::MText>(DPIMsgDlg::kValueText)->GetTitle(), "800");
    EXPECT_EQ(indicator.GetControlAs<DUI::MProgress>(DPIMsgDlg::kBar)->GetPos(), 800);

    const auto start = Clock::now();
    test::PumpFor(300ms);
    indicator.Show(3200);  // a change while visible restarts the timer
    test::PumpUntil([&] { return Clock::now() - start >= 650ms; });
    EXPECT_TRUE(indicator.IsWindowVisible());
    EXPECT_EQ(indicator.GetControlAs<DUI::MText>(DPIMsgDlg::kValueText)->GetTitle(), "3200");
    ASSERT_TRUE(test::PumpUntil([&] { return !indicator.IsWindowVisible(); }, 3000ms));
    // The close button hides it at once.
    indicator.Show(400);
    indicator.OnMessage(DPIMsgDlg::kCloseButton, DUI::kNotifyClick, 0);
    EXPECT_FALSE(indicator.IsWindowVisible());
    indicator.CloseWindow();
    SetWorkAreaSource({});
}

// The about box writes the version number in hexadecimal before formatting it.
TEST(AboutDlg, FirmwareLine) {
    EXPECT_EQ(AboutDlg::FirmwareLine("Firmware", 0x0105), "Firmware: v1.05");
    EXPECT_EQ(AboutDlg::FirmwareLine("Firmware", 0x12), "Firmware: v1.12");
}

TEST(UpdateWindows, ProgressTexts) {
    test::SetUpToolkit();
    UpdateProcessDlg download;
    ASSERT_TRUE(download.Create(nullptr, kUpdateProcessTitle, kShellWindowStyle,
                                DUI::kWsExToolWindow,
                                {0, 0, UpdateProcessDlg::kWidth, UpdateProcessDlg::kHeight}));
    download.SetProgress(42);
    EXPECT_EQ(download.GetControlAs<DUI::MText>(UpdateProcessDlg::kText)->GetTitle(),
              "Downloading: 42%");
    EXPECT_EQ(download.GetControlAs<DUI::MProgress>(UpdateProcessDlg::kBar)->GetPos(), 42);
    download.CloseWindow();

    UpdateTipDlg firmware;
    ASSERT_TRUE(firmware.Create(nullptr, kUpdateTipTitle, kShellWindowStyle, DUI::kWsExToolWindow,
                                {0, 0, UpdateTipDlg::kWidth, UpdateTipDlg::kHeight}));
    EXPECT_EQ(firmware.StatusText(), "Upgrading");
    firmware.SetProgress("Erase", 30);
    EXPECT_EQ(firmware.StatusText(), "Erase: 30%");
    firmware.CloseWindow();
}

}  // namespace
}  // namespace kestrix
