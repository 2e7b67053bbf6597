// SPDX-License-Identifier: MIT
#include "app/ProfileDlg.h"

#include <fstream>

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "AppTestBench.h"
#include "app/ShellStyle.h"
#include "base/Text.h"
#include "ui/DListBox.h"
#include "ui/MText.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;

// The visible in-place editor of a list, or null.
QLineEdit* VisibleEditor() {
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        if (edit != nullptr && edit->isVisible()) return edit;
    }
    return nullptr;
}

std::vector<int> QueuedTasks(const test::LogRecorder& log) {
    std::vector<int> tasks;
    for (const std::string& line : log.LinesStartingWith("task "))
        tasks.push_back(std::stoi(line.substr(5)));
    return tasks;
}

class ProfilePopup : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(bench.CreateAndWaitForDevice()); }

    // Opens the pop-up (not modally) over the main window.
    std::unique_ptr<ProfileDlg> Open() {
        auto dialog = std::make_unique<ProfileDlg>(*bench.window, bench.store,
                                                   bench.window->CurrentProfile());
        EXPECT_TRUE(dialog->Create(bench.window.get(), kProfileDlgTitle, kShellWindowStyle, 0,
                                   ProfileDlg::PlaceAbove({100, 600, 356, 640})));
        return dialog;
    }

    std::string ProfileTitle() {
        return bench.window->GetControlAs<DUI::MText>(frame_id::kProfileLabel)->GetTitle();
    }

    test::LogRecorder log;
    test::WindowBench bench{"vireo"};
};

TEST_F(ProfilePopup, ListsEveryProfileWithTheCurrentSelected) {
    auto dialog = Open();
    EXPECT_EQ(dialog->GetWindowRect(), (DUI::Rect{100, 390, 356, 595}));
    auto* list = dialog->GetControlAs<DUI::DListBox>(ProfileDlg::kList);
    ASSERT_EQ(list->GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->GetItemText(i), LocaliseProfileName(Format("Profile %d", i + 1)));
        EXPECT_EQ(list->GetItemData(i), i + 1);
    }
    EXPECT_EQ(list->GetCurSel(), 0);
}

TEST_F(ProfilePopup, ClickChoosesTheProfile) {
    auto dialog = Open();
    dialog->OnMessage(ProfileDlg::kList, DUI::kNotifyClick, 2);
    EXPECT_FALSE(dialog->IsWindow());
    ASSERT_TRUE(test::PumpUntil([&] { return bench.window->CurrentProfile() == 3; }));
    EXPECT_EQ(bench.store.GetActiveProfile(), 3);
    EXPECT_EQ(ProfileTitle(), LocaliseProfileName("Profile 3"));
    const std::vector<int> tasks = QueuedTasks(log);
    EXPECT_EQ(tasks.back(), 5);
}

// From the keyboard the arrows only move through the list (choosing closes the pop-up);
// Enter chooses.
TEST_F(ProfilePopup, ArrowsMoveAndEnterChoosesTheProfile) {
    auto dialog = Open();
    dialog->ShowWindow(DUI::kSwShowNormal);
    dialog->SetFocusControl(ProfileDlg::kList);
    QWidget* popup = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == kProfileDlgTitle) popup = widget;
    ASSERT_NE(popup, nullptr);
    ASSERT_NE(popup->focusWidget(), nullptr);
    QTest::keyClick(popup->focusWidget(), Qt::Key_Down);
    QTest::keyClick(popup->focusWidget(), Qt::Key_Down);
    ASSERT_TRUE(dialog->IsWindow());
    QTest::keyClick(popup->focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(dialog->IsWindow());
    ASSERT_TRUE(test::PumpUntil([&] { return bench.window->CurrentProfile() == 3; }));
}

TEST_F(ProfilePopup, RenameThenClickOutsideStillSelects) {
    auto dialog = Open();
    auto* list = dialog->GetControlAs<DUI::DListBox>(ProfileDlg::kList);
    ASSERT_TRUE(list->EditItem(1));
    QLineEdit* editor = VisibleEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText("Work");
    list->EndEdit();
    std::string stored;
    ASSERT_TRUE(bench.store.GetProfileName(2, stored));
    EXPECT_EQ(stored, "Work");
    dialog->OnNcActivate(false);  // a click outside
    EXPECT_FALSE(dialog->IsWindow());
    ASSERT_TRUE(test::PumpUntil([&] { return bench.window->CurrentProfile() == 2; }));
    EXPECT_EQ(ProfileTitle(), "Work");
}

TEST_F(ProfilePopup, EmptyNameIsIgnored) {
    auto dialog = Open();
    auto* list = dialog->GetControlAs<DUI::DListBox>(ProfileDlg::kList);
    ASSERT_TRUE(list->EditItem(0));
    QLineEdit* editor = VisibleEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText("");
    list->EndEdit();
    std::string stored;
    ASSERT_TRUE(bench.store.GetProfileName(1, stored));
    EXPECT_EQ(stored, "Profile 1");
    dialog->OnNcActivate(false);
    test::PumpFor(100ms);
    EXPECT_EQ(QueuedTasks(log).back(), 23);  // nothing chosen
}

TEST_F(ProfilePopup, ExportThenImportIntoAnotherProfile) {
    const std::string file = bench.temp.Path() + "Match day.xml";
    bench.store.SetSetting(1, "report_rate", "4");
    bench.savePath = file;
    auto dialog = Open();
    dialog->OnMessage(ProfileDlg::kExport, DUI::kNotifyClick, 0);
    test::PumpFor(100ms);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(bench.dialogs.back(), "Profile (*.xml)");

    // Choose profile 2, then import the file into it.
    bench.window->SendMessage(kWmProfilePopup, 0, 2);
    bench.openPath = file;
    dialog = Open();
    dialog->OnMessage(ProfileDlg::kImport, DUI::kNotifyClick, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return ProfileTitle() == "Match day"; }));
    EXPECT_EQ(bench.dialogs.back(), "MouseKey (*.xml)");
    std::string rate;
    ASSERT_TRUE(bench.store.GetSetting(2, "report_rate", rate));
    EXPECT_EQ(rate, "4");
    EXPECT_EQ(QueuedTasks(log).back(), 5);
}

TEST_F(ProfilePopup, CancelledOrMissingFileImportsNothing) {
    for (const std::string& path : {std::string(), bench.temp.Path() + "missing.xml"}) {
        bench.openPath = path;
        const size_t before = QueuedTasks(log).size();
        bench.window->SendMessage(kWmProfilePopup, 1, 1);
        EXPECT_EQ(QueuedTasks(log).size(), before) << path;
        EXPECT_EQ(ProfileTitle(), LocaliseProfileName("Profile 1"));
    }
}

}  // namespace
}  // namespace kestrix
