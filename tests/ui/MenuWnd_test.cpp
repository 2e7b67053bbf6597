// SPDX-License-Identifier: MIT
#include "ui/MenuWnd.h"

#include <gtest/gtest.h>

#include "ControlTestDialog.h"
#include "ui/Desktop.h"
#include "ui/MTrayIcon.h"

namespace {

using uitest::ControlTestDialog;

class OwnerDialog : public ControlTestDialog {
  public:
    std::vector<std::tuple<unsigned, std::uintptr_t, std::intptr_t>> messages;
    std::intptr_t OnWindowMessage(unsigned msg, std::uintptr_t wParam,
                                  std::intptr_t lParam) override {
        if (msg >= 1690 || msg == DUI::kWmCommand) {
            messages.emplace_back(msg, wParam, lParam);
            return 0;
        }
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
};

TEST(MenuWnd, ChoiceArrivesAsTheOwnersMessageWithTheItemId) {
    OwnerDialog owner;
    DUI::MenuWnd menu;
    ASSERT_TRUE(menu.Create(&owner, 1711));
    menu.AddMenu(100, "Move to top");
    menu.AddMenu(101, "Move up");
    ASSERT_TRUE(menu.TrackPopup({200, 200}));
    ASSERT_EQ(DUI::FindWindows("Menu Window").size(), 1u);
    // Second row (rows of 34 px after a 4 px margin).
    QWidget* list = DUI::WindowImpl::WidgetOf(&menu)->childAt(30, 4 + 34 + 10);
    ASSERT_NE(list, nullptr);
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(30, 4 + 34 + 10));
    uitest::WaitFor([&] { return !owner.messages.empty(); });
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0], std::make_tuple(1711u, std::uintptr_t{101}, std::intptr_t{101}));
    EXPECT_FALSE(menu.IsWindow());
    EXPECT_TRUE(DUI::FindWindows("Menu Window").empty());
}

TEST(MenuWnd, ClosingFromOutsidePostsNothing) {
    OwnerDialog owner;
    DUI::MenuWnd menu;
    menu.Create(&owner, DUI::kWmCommand);
    menu.AddMenu(100, "Exit");
    ASSERT_TRUE(menu.TrackPopup({10, 10}));
    // The transient-window sweep closes "Menu Window" with WM_CLOSE 0.
    for (DUI::MWindow* window : DUI::FindWindows("Menu Window"))
        window->PostMessage(DUI::kWmClose, 0, 0);
    uitest::WaitFor([&] { return !menu.IsWindow(); });
    DUI::ProcessPendingEvents();
    EXPECT_FALSE(menu.IsWindow());
    EXPECT_TRUE(owner.messages.empty());
    DUI::MenuWnd empty;
    empty.Create(&owner, 1709);
    EXPECT_FALSE(empty.TrackPopup({0, 0})) << "a menu without items does not open";
}

TEST(MenuWnd, WmCommandMenusCarryTheIdInWParam) {
    OwnerDialog owner;
    DUI::MenuWnd* menu = DUI::MenuWnd::Popup(&owner, DUI::kWmCommand, {{100, "Exit"}}, {5, 5});
    ASSERT_NE(menu, nullptr);
    menu->Choose(0);  // deletes itself afterwards
    uitest::WaitFor([&] { return !owner.messages.empty(); });
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(std::get<0>(owner.messages[0]), DUI::kWmCommand);
    EXPECT_EQ(std::get<1>(owner.messages[0]), 100u);
}

TEST(TrayIcon, SimulatedClicksReachTheOwnerAsTheCallbackMessage) {
    OwnerDialog owner;
    DUI::MTrayIcon tray;
    // The offscreen platform has no notification area: the icon is refused, not faked.
    EXPECT_EQ(tray.Add(&owner, 1690, std::string(KESTRIX_SOURCE_DATA) + "/skins/default/tray.png",
                       "Kestrix"),
              DUI::MTrayIcon::IsAvailable());
    if (!tray.IsShown()) {
        tray.Simulate(DUI::kWmRButtonUp);
        DUI::ProcessPendingEvents();
        EXPECT_TRUE(owner.messages.empty()) << "nothing without an icon";
        return;
    }
    tray.Simulate(DUI::kWmRButtonUp);
    uitest::WaitFor([&] { return !owner.messages.empty(); });
    EXPECT_EQ(owner.messages[0], std::make_tuple(1690u, std::uintptr_t{0}, std::intptr_t{517}));
}

TEST(Desktop, WorkAreaIsNeverEmpty) {
    uitest::App();
    const DUI::Rect area = DUI::GetWorkArea();
    EXPECT_GT(area.Width(), 0);
    EXPECT_GT(area.Height(), 0);
    EXPECT_FALSE(DUI::OpenUrl(""));
}

}  // namespace
