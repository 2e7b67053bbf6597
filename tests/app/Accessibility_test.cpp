// SPDX-License-Identifier: MIT
// What a screen reader finds on every view of the main window, and what the keyboard alone
// reaches and changes there.

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "AppTestBench.h"
#include "app/CUIMessageBox.h"
#include "app/ProfileDlg.h"
#include "editors/KeyPage.h"
#include "editors/LightingPage.h"
#include "editors/MacroPage.h"
#include "editors/MousePaletteDlg.h"
#include "editors/PerformancePage.h"
#include "editors/RecordEditDlg.h"
#include "ui/AccessibleControl.h"
#include "ui/CRecordList.h"
#include "ui/ControlHost.h"
#include "ui/DPIControl.h"
#include "ui/MComboBox.h"
#include "ui/MControl.h"
#include "ui/MTabCtrl.h"
#include "ui/MouseKeyCtrl.h"

namespace kestrix {
namespace {

// The control class and id behind a control's widget, for the failure message.
std::string ControlClass(const QWidget* widget) {
    const auto* host = dynamic_cast<const DUI::ControlHost*>(widget);
    return host != nullptr && host->m_control != nullptr ? host->m_control->GetClassName() : "?";
}
int ControlId(const QWidget* widget) {
    const auto* host = dynamic_cast<const DUI::ControlHost*>(widget);
    return host != nullptr && host->m_control != nullptr ? host->m_control->GetID() : 0;
}

// The visible controls of the window's accessible tree that the user operates but that have
// no name, as "role id" texts.
void CollectUnnamed(QAccessibleInterface* node, std::vector<std::string>& unnamed, int& seen) {
    if (node == nullptr || node->state().invisible) return;
    if (auto* control = dynamic_cast<DUI::AccessibleControl*>(node)) {
        const auto* widget = static_cast<const QWidget*>(control->object());
        if (widget->isVisible() && DUI::AccessibleControl::IsInteractive(control->role())) {
            ++seen;
            if (control->text(QAccessible::Name).trimmed().isEmpty())
                unnamed.push_back(ControlClass(widget) + " " + std::to_string(ControlId(widget)));
        }
    }
    for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), unnamed, seen);
}

QWidget* MainWidget() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == "Kestrix") return widget;
    }
    return nullptr;
}

TEST(Accessibility, EveryInteractiveControlOfEveryViewHasAName) {
    test::WindowBench bench;
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->ShowWindow(DUI::kSwShowNormal);
    QWidget* main = MainWidget();
    ASSERT_NE(main, nullptr);
    auto walk = [&](const std::string& view) {
        test::PumpFor(std::chrono::milliseconds(50));
        std::vector<std::string> unnamed;
        int seen = 0;
        CollectUnnamed(QAccessible::queryAccessibleInterface(main), unnamed, seen);
        EXPECT_GT(seen, 0) << view;
        EXPECT_TRUE(unnamed.empty()) << view << ": " << ::testing::PrintToString(unnamed);
    };
    for (int tab = 0; tab < 6; ++tab) {
        bench.window->SelectTab(tab);
        walk("tab " + std::to_string(tab));
    }
    bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
    walk("settings");
}

// ---- keyboard ----

// The visible, enabled interactive controls of the accessible tree under node.
void CollectInteractive(QAccessibleInterface* node, std::set<const QWidget*>& found) {
    if (node == nullptr || node->state().invisible) return;
    if (auto* control = dynamic_cast<DUI::AccessibleControl*>(node)) {
        const auto* widget = static_cast<const QWidget*>(control->object());
        if (widget->isVisible() && !control->state().disabled &&
            DUI::AccessibleControl::IsInteractive(control->role()))
            found.insert(widget);
    }
    for (int i = 0; i < node->childCount(); ++i) CollectInteractive(node->child(i), found);
}

// The widget of the control holding the keyboard focus (an edit's field counts as its
// edit), or null.
const QWidget* FocusedControl(const QWidget* window = nullptr) {
    for (QWidget* widget = window ? window->focusWidget() : QApplication::focusWidget();
         widget != nullptr; widget = widget->parentWidget()) {
        if (dynamic_cast<DUI::ControlHost*>(widget) != nullptr) return widget;
    }
    return nullptr;
}

// The window the keyboard test works in.
QWidget* s_keyboardWindow = nullptr;

// Presses a key where the keyboard is: the focused widget, else the active window.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    // The offscreen platform activates every window shown, even one that takes no focus (the
    // DPI indicator); on a desktop the window in use stays active.
    if (QWidget* active = QApplication::activeWindow();
        active != nullptr && active->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
        s_keyboardWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(s_keyboardWindow));
    }
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) target = QApplication::activeWindow();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
    QApplication::processEvents();
}

// Tabs until the control with id has the focus; false after a full round without it.
bool TabTo(int id, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (int presses = 0; presses < 120; ++presses) {
        if (ControlId(FocusedControl()) == id) return true;
        Press(Qt::Key_Tab, modifiers);
    }
    return false;
}

std::string Describe(const QWidget* widget) {
    return widget == nullptr ? "none"
                             : ControlClass(widget) + " " + std::to_string(ControlId(widget));
}

// Tab from the window without focus reaches every enabled interactive control of its
// accessible tree once, in reading order (a control never comes after one wholly below it,
// nor after one wholly to its right in the same row of its panel), and wraps; Shift+Tab walks
// the same way back. A capture field may keep the focus for one press: it takes Tab as the
// key to capture until it holds one.
void CheckTabWalk(QWidget* window) {
    std::set<const QWidget*> expected;
    CollectInteractive(QAccessible::queryAccessibleInterface(window), expected);
    ASSERT_FALSE(expected.empty());
    if (QWidget* focus = window->focusWidget()) focus->clearFocus();
    // The controls reached until the focus comes to stop (or back to the first one reached).
    const auto walk = [window](Qt::Key key, size_t limit, const QWidget* stop) {
        std::vector<const QWidget*> reached;
        for (size_t presses = 0; presses < limit; ++presses) {
            QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key);
            const QWidget* now = FocusedControl(window);
            if (!reached.empty() && reached.back() == now) continue;
            if (now == (stop != nullptr || reached.empty() ? stop : reached.front())) break;
            reached.push_back(now);
        }
        return reached;
    };
    std::vector<const QWidget*> forward = walk(Qt::Key_Tab, 2 * expected.size() + 4, nullptr);
    std::set<const QWidget*> reached(forward.begin(), forward.end());
    EXPECT_EQ(reached.size(), forward.size()) << "a control was reached twice";
    std::vector<std::string> missing;
    std::vector<std::string> extra;
    for (const QWidget* control : expected)
        if (reached.count(control) == 0) missing.push_back(Describe(control));
    for (const QWidget* control : reached)
        if (expected.count(control) == 0) extra.push_back(Describe(control));
    EXPECT_TRUE(missing.empty()) << "not reached: " << ::testing::PrintToString(missing);
    EXPECT_TRUE(extra.empty()) << "reached but hidden or not interactive: "
                               << ::testing::PrintToString(extra);

    // Reading order among controls of one panel.
    for (size_t i = 0; i < forward.size(); ++i) {
        for (size_t j = i + 1; j < forward.size(); ++j) {
            const QWidget* a = forward[i];
            const QWidget* b = forward[j];
            if (a->parentWidget() != b->parentWidget()) continue;
            const QRect ra = a->geometry();
            const QRect rb = b->geometry();
            const bool above = rb.bottom() < ra.top();
            const bool leftInRow =
                rb.right() < ra.left() && rb.top() <= ra.bottom() && ra.top() <= rb.bottom();
            EXPECT_FALSE(above || leftInRow)
                << Describe(forward[j]) << " comes after " << Describe(forward[i]);
        }
    }

    // Shift+Tab from the first control goes back through the same controls.
    std::vector<const QWidget*> backward =
        walk(Qt::Key_Backtab, 2 * expected.size() + 4, forward.empty() ? nullptr : forward.front());
    backward.insert(backward.begin(), forward.empty() ? nullptr : forward.front());
    if (backward.size() > 1) std::reverse(backward.begin() + 1, backward.end());
    EXPECT_EQ(backward, forward);
}

// Shows the main window and makes it the active one, as a user's window would be.
QWidget* ActivateMain(test::WindowBench& bench) {
    bench.window->ShowWindow(DUI::kSwShowNormal);
    QWidget* main = MainWidget();
    if (main == nullptr) return nullptr;
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main)) return nullptr;
    s_keyboardWindow = main;
    return main;
}

// Tab from a window without focus reaches every interactive control of each view once, in
// reading order (a control never comes after one wholly below it, nor after one wholly to
// its right in the same row of its panel), wraps, and Shift+Tab walks the same way back.
TEST(Keyboard, TabReachesEveryControlOfEveryViewOnceInReadingOrder) {
    test::WindowBench bench("vireo");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    QWidget* main = ActivateMain(bench);
    ASSERT_NE(main, nullptr);
    struct View {
        const char* name;
        std::function<void()> show;
    };
    const auto tab = [&](int index) { return [&, index] { bench.window->SelectTab(index); }; };
    const View views[] = {
        {"home", tab(0)},
        {"buttons", tab(1)},
        {"key combination panel",
         [&] {
             // A button other than the primary one, which would ask first.
             bench.window->OnMessage(KeyPage::kButtonList, DUI::kNotifyClick, 2);
             bench.window->OnMessage(KeyPage::kOpenKeyPanel, DUI::kNotifyClick, 0);
         }},
        {"repeat panel",
         [&] { bench.window->OnMessage(KeyPage::kOpenRepeatPanel, DUI::kNotifyClick, 0); }},
        {"performance", tab(2)},
        {"macros", tab(3)},
        {"lighting", tab(4)},
        {"device settings", tab(5)},
        {"settings", [&] { bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0); }},
    };
    for (const View& view : views) {
        SCOPED_TRACE(view.name);
        view.show();
        test::PumpFor(std::chrono::milliseconds(20));
        CheckTabWalk(main);
    }
}

// The native window of a toolkit window.
QWidget* NativeOf(const std::string& title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == QString::fromStdString(title))
            return widget;
    }
    return nullptr;
}

// Each dialog and pop-up: Tab walks it as the main window's views, and Escape closes it as
// its cancel would, leaving the main window open.
TEST(Keyboard, DialogsAreWalkedByTabAndEscapeCancelsThem) {
    test::WindowBench bench("vireo");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    ASSERT_NE(ActivateMain(bench), nullptr);
    DUI::MWindow* owner = bench.window.get();

    CUIMessageBox box(4, "Upper", "Lower");  // a yes/no question
    MousePaletteDlg palette(0x123456);
    RecordEditDlg record;
    ProfileDlg profiles(*bench.window, bench.store, bench.store.CurrentProfile());
    struct Dialog {
        std::string title;
        std::function<bool()> create;
        DUI::MDialog* dialog;
    };
    const Dialog dialogs[] = {
        {kMessageBoxTitle,
         [&] {
             return box.Create(owner, kMessageBoxTitle, kShellWindowStyle, DUI::kWsExToolWindow,
                               {0, 0, 420, 200});
         },
         &box},
        {MousePaletteDlg::kTitle, [&] { return palette.CreateWindow(owner); }, &palette},
        {RecordEditDlg::kWindowTitle,
         [&] {
             return record.Create(owner, RecordEditDlg::kWindowTitle, DUI::kWsPopup, 0,
                                  {0, 0, RecordEditDlg::kWidth, RecordEditDlg::kHeight});
         },
         &record},
        {kProfileDlgTitle,
         [&] {
             return profiles.Create(owner, kProfileDlgTitle, kShellWindowStyle, 0,
                                    ProfileDlg::PlaceAbove({0, 300, 236, 336}));
         },
         &profiles},
    };
    for (const Dialog& entry : dialogs) {
        SCOPED_TRACE(entry.title);
        ASSERT_TRUE(entry.create());
        entry.dialog->ShowWindow(DUI::kSwShowNormal);
        QWidget* window = NativeOf(entry.title);
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        CheckTabWalk(window);
        // Escape from the first control (the capture field would take it as its key).
        if (QWidget* focus = window->focusWidget()) focus->clearFocus();
        QTest::keyClick(window, Qt::Key_Tab);
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        test::PumpUntil(
            [&] { return !entry.dialog->IsWindow() || !entry.dialog->IsWindowVisible(); },
            std::chrono::milliseconds(1000));
        EXPECT_FALSE(entry.dialog->IsWindow() && entry.dialog->IsWindowVisible());
    }
    EXPECT_EQ(palette.ResultColour(), MousePaletteDlg::kNothingChosen);
    EXPECT_EQ(record.Captured().vk, 0);
    QWidget* main = MainWidget();
    ASSERT_NE(main, nullptr);
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_Escape);
    test::PumpFor(std::chrono::milliseconds(20));
    EXPECT_TRUE(bench.window->IsWindowVisible());
}

// With keys alone: open the mouse from the home list, raise a DPI stage and apply it, give a
// button another mouse function (and open and close the key-combination panel) and pick
// another lighting effect; each change reaches the mouse.
TEST(Keyboard, KeysAloneChangeADpiStageAButtonAndTheLightingEffect) {
    test::WindowBench bench("vireo");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    ASSERT_NE(ActivateMain(bench), nullptr);
    const auto mouse = [&] { return bench.backend->Find("vireo-cable")->Mouse()->State(); };
    const auto idle = [&] {
        return test::PumpUntil([&] { return bench.window->Worker()->QueuedTasks() == 0; });
    };
    auto* tabs = bench.window->GetControlAs<DUI::MTabCtrl>(frame_id::kTabs);
    ASSERT_NE(tabs, nullptr);
    const auto selectTab = [&](int index) {
        ASSERT_TRUE(TabTo(frame_id::kTabs));
        for (int presses = 0; presses < 6 && tabs->GetCurSel() != index; ++presses)
            Press(tabs->GetCurSel() < index ? Qt::Key_Right : Qt::Key_Left);
        ASSERT_EQ(tabs->GetCurSel(), index);
    };

    bench.window->SelectTab(0);
    ASSERT_TRUE(TabTo(frame_id::kDeviceList));
    Press(Qt::Key_Return);
    ASSERT_TRUE(bench.window->View().DevicePagesShown());

    // Performance: the neighbouring stage, a page up on the slider, apply.
    selectTab(2);
    auto* stages = bench.window->GetControlAs<DUI::DPIControl>(PerformancePage::kStageListId);
    ASSERT_TRUE(TabTo(PerformancePage::kStageListId));
    const int shownStage = stages->GetCurSel();
    Press(shownStage + 1 < stages->GetCount() ? Qt::Key_Right : Qt::Key_Left);
    const int stage = stages->GetCurSel();
    ASSERT_NE(stage, shownStage);
    const uint16_t rawBefore = mouse().dpiRaw[stage];
    ASSERT_TRUE(TabTo(PerformancePage::kSliderId));
    Press(Qt::Key_PageUp);
    ASSERT_TRUE(TabTo(PerformancePage::kApplyId));
    Press(Qt::Key_Return);
    ASSERT_TRUE(idle());
    EXPECT_GT(mouse().dpiRaw[stage], rawBefore);

    // Buttons: the third button gets the next mouse function.
    selectTab(1);
    ASSERT_TRUE(TabTo(KeyPage::kButtonList));
    auto* buttons = bench.window->GetControlAs<DUI::MouseKeyCtrl>(KeyPage::kButtonList);
    while (buttons->GetCurSel() < 2) Press(Qt::Key_Down);
    const auto tableBefore = mouse().buttonTable;
    ASSERT_TRUE(TabTo(KeyPage::kMouseBox));
    Press(Qt::Key_Down);
    ASSERT_TRUE(idle());
    const auto changed = mouse().buttonTable;
    EXPECT_NE(changed, tableBefore);
    // The key-combination panel opens with the keyboard inside it; Escape closes it and
    // gives the keyboard back to the button that opened it.
    ASSERT_TRUE(TabTo(KeyPage::kOpenKeyPanel));
    Press(Qt::Key_Return);
    DUI::MControl* panel = bench.window->GetControl(KeyPage::kKeyPanel);
    ASSERT_TRUE(panel->IsVisible());
    EXPECT_EQ(ControlId(FocusedControl()), KeyPage::kKeyPanelClose);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(panel->IsVisible());
    EXPECT_EQ(ControlId(FocusedControl()), KeyPage::kOpenKeyPanel);
    EXPECT_EQ(mouse().buttonTable, changed);

    // Lighting: the effect box's list opens, moves down one and picks.
    selectTab(4);
    auto* effects = bench.window->GetControlAs<DUI::MComboBox>(LightingPage::kEffectId);
    const int effectBefore = effects->GetCurData();
    ASSERT_TRUE(TabTo(LightingPage::kEffectId));
    Press(Qt::Key_Space);
    ASSERT_TRUE(effects->IsDroppedDown());
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    ASSERT_FALSE(effects->IsDroppedDown());
    ASSERT_TRUE(idle());
    EXPECT_NE(effects->GetCurData(), effectBefore);
    EXPECT_EQ(mouse().lightingEffect, effects->GetCurData());
}

// A macro recording started with the keyboard can be stopped with it: Space on the record
// button ends it, while the other keys go into the macro.
TEST(Keyboard, ARecordingStartedBySpaceEndsBySpace) {
    test::WindowBench bench("vireo");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    ASSERT_NE(ActivateMain(bench), nullptr);
    bench.window->SelectTab(3);
    ASSERT_TRUE(TabTo(MacroPage::kNewMacro));
    Press(Qt::Key_Return);
    ASSERT_TRUE(TabTo(MacroPage::kRecordButton));
    QWidget* record = QApplication::focusWidget();
    MacroPage* macros = bench.window->Pages().Macros();
    Press(Qt::Key_Space);
    ASSERT_TRUE(macros->IsRecording());
    Press(Qt::Key_A);
    Press(Qt::Key_Space);
    EXPECT_FALSE(macros->IsRecording());
    auto* events = bench.window->GetControlAs<DUI::CRecordList>(MacroPage::kEventList);
    const int recorded = events->GetCount();
    EXPECT_GE(recorded, 2);  // A pressed and released

    // Started by a click, Space is a key of the macro like any other.
    QTest::mouseClick(record, Qt::LeftButton);
    ASSERT_TRUE(macros->IsRecording());
    Press(Qt::Key_Space);
    EXPECT_TRUE(macros->IsRecording());
    QTest::mouseClick(record, Qt::LeftButton);
    EXPECT_FALSE(macros->IsRecording());
    EXPECT_GT(events->GetCount(), recorded);
}

}  // namespace
}  // namespace kestrix
