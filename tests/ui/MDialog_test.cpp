// SPDX-License-Identifier: MIT
#include "ui/MDialog.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QWidget>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "UiTestApp.h"
#include "ui/ControlFactory.h"
#include "ui/MControl.h"
#include "ui/UiThread.h"

namespace {

using DUI::MDialog;
using DUI::Rect;

constexpr unsigned kProbe = 1700;

// Records what the toolkit calls, in order.
class ProbeDialog : public MDialog {
  public:
    std::vector<std::string> calls;
    std::vector<std::intptr_t> messages;
    std::vector<int> timers;
    std::vector<DUI::KeyEvent> keys;
    Rect initRect;

    std::intptr_t OnWindowMessage(unsigned msg, std::uintptr_t wParam,
                                  std::intptr_t lParam) override {
        if (msg == kProbe) {
            messages.push_back(lParam);
            return lParam * 2;
        }
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
    bool OnInitDialog() override {
        calls.push_back("OnInitDialog");
        return true;
    }
    void InitUI(const Rect& rect) override {
        calls.push_back("InitUI");
        initRect = rect;
        CreateControl("MEdit", 7, {10, 10, 110, 40});
    }
    void OnCreate() override { calls.push_back("OnCreate"); }
    void OnTimer(int id) override { timers.push_back(id); }
    void OnDestroy() override { calls.push_back("OnDestroy"); }
    void PostNcDestroy() override { calls.push_back("PostNcDestroy"); }
    bool OnKeyEvent(const DUI::KeyEvent& key) override {
        keys.push_back(key);
        return true;
    }
};

bool CreateProbe(ProbeDialog& dialog, const std::string& title = "Probe",
                 std::uint32_t style = DUI::kWsPopup) {
    uitest::App();
    return dialog.Create(nullptr, title, style, 0, {100, 100, 500, 400});
}

TEST(MDialog, CreateCallsOnCreateInitUiThenOnInitDialog) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"OnCreate", "InitUI", "OnInitDialog"}));
    EXPECT_EQ(dialog.initRect, (Rect{0, 0, 400, 300}));
    EXPECT_NE(dialog.GetControl(7), nullptr);
    EXPECT_FALSE(dialog.Create(nullptr, "Again", 0, 0, {0, 0, 10, 10}));
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.calls.back(), "PostNcDestroy");
    EXPECT_FALSE(dialog.IsWindow());
}

// How a modal loop ends and what ShowModal returns.
TEST(MDialog, ShowModalResults) {
    struct Case {
        const char* name;
        std::function<void(ProbeDialog&)> end;
        int expected;
    };
    const std::vector<Case> cases = {
        {"DoOK", [](ProbeDialog& d) { d.DoOK(); }, DUI::kIdOk},
        {"DoCancel", [](ProbeDialog& d) { d.DoCancel(); }, DUI::kIdCancel},
        {"WM_CLOSE wParam 2 (sweep of a message box)",
         [](ProbeDialog& d) { d.PostMessage(DUI::kWmClose, 2, 0); }, DUI::kIdCancel},
        {"WM_CLOSE wParam 0", [](ProbeDialog& d) { d.PostMessage(DUI::kWmClose, 0, 0); }, 0},
        {"DestroyWindow without a result", [](ProbeDialog& d) { d.DestroyWindow(); },
         DUI::kIdCancel},
    };
    for (const Case& c : cases) {
        ProbeDialog dialog;
        ASSERT_TRUE(CreateProbe(dialog)) << c.name;
        DUI::PostToUiThread([&dialog, &c] { c.end(dialog); });
        EXPECT_EQ(dialog.ShowModal(1), c.expected) << c.name;
        EXPECT_FALSE(dialog.IsWindow()) << c.name;
    }
}

TEST(MDialog, ShowModalZeroKeepsTheWindowHidden) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog, "Hidden", DUI::kWsPopup | DUI::kWsVisible));
    bool visibleInLoop = true;
    int ticks = 0;
    dialog.SetTimer(3, 5);
    // Let the loop run a few timer periods before looking.
    std::function<void()> check = [&] {
        if (++ticks < 5) {
            DUI::PostToUiThread(check);
            return;
        }
        visibleInLoop = dialog.IsWindowVisible();
        dialog.DoOK();
    };
    DUI::PostToUiThread(check);
    EXPECT_EQ(dialog.ShowModal(0), DUI::kIdOk);
    EXPECT_FALSE(visibleInLoop);
}

TEST(MDialog, ShowModalShowsTheWindowWhileItRuns) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    bool visibleInLoop = false;
    DUI::PostToUiThread([&] {
        visibleInLoop = dialog.IsWindowVisible();
        dialog.DoCancel();
    });
    dialog.ShowModal(5);
    EXPECT_TRUE(visibleInLoop);
}

TEST(MDialog, PostMessageAndPostToUiThreadKeepOneOrderAcrossThreads) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    std::vector<std::intptr_t> order;
    constexpr int kCount = 400;
    std::thread worker([&] {
        for (int i = 0; i < kCount; ++i) {
            if (i % 2 == 0) {
                EXPECT_TRUE(dialog.PostMessage(kProbe, 0, i));
            } else {
                DUI::PostToUiThread([&order, i] { order.push_back(i); });
            }
        }
    });
    worker.join();
    ASSERT_TRUE(uitest::WaitFor([&] { return dialog.messages.size() + order.size() == kCount; }));
    // Merge what each path saw by value: together they must be 0..kCount-1 in posting order.
    std::vector<std::intptr_t> merged;
    size_t m = 0;
    size_t o = 0;
    while (m < dialog.messages.size() || o < order.size()) {
        const std::intptr_t next = static_cast<std::intptr_t>(merged.size());
        if (m < dialog.messages.size() && dialog.messages[m] == next) {
            merged.push_back(dialog.messages[m++]);
        } else if (o < order.size() && order[o] == next) {
            merged.push_back(order[o++]);
        } else {
            FAIL() << "delivered out of order at " << next;
        }
    }
    EXPECT_EQ(merged.size(), static_cast<size_t>(kCount));
    dialog.DestroyWindow();
}

TEST(MDialog, PostToUiThreadIsDeliveredInterleavedWithMessagesInCallOrder) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    std::vector<std::string> seen;
    std::thread worker([&] {
        dialog.PostMessage(kProbe, 0, 1);
        DUI::PostToUiThread([&] { seen.push_back("fn" + std::to_string(dialog.messages.size())); });
        dialog.PostMessage(kProbe, 0, 2);
    });
    worker.join();
    ASSERT_TRUE(uitest::WaitFor([&] { return dialog.messages.size() == 2; }));
    // The function ran after the first message and before the second.
    EXPECT_EQ(seen, (std::vector<std::string>{"fn1"}));
    dialog.DestroyWindow();
}

TEST(MDialog, SendMessageFromAnotherThreadRunsOnTheUiThreadAndReturnsItsResult) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    std::atomic<std::intptr_t> result{0};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        result = dialog.SendMessage(kProbe, 0, 21);
        finished = true;
    });
    ASSERT_TRUE(uitest::WaitFor([&] { return finished.load(); }));
    worker.join();
    EXPECT_EQ(result.load(), 42);
    dialog.DestroyWindow();
}

TEST(MDialog, MessagesToADestroyedWindowAreDropped) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    const DUI::WindowHandle handle = dialog.GetSafeHwnd();
    ASSERT_NE(handle, 0u);
    EXPECT_TRUE(DUI::PostWindowMessage(handle, kProbe, 0, 1));
    dialog.DestroyWindow();
    DUI::ProcessPendingEvents();
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_FALSE(DUI::PostWindowMessage(handle, kProbe, 0, 2));
    EXPECT_FALSE(dialog.PostMessage(kProbe, 0, 3));
    EXPECT_EQ(dialog.GetSafeHwnd(), 0u);
}

TEST(MDialog, FindWindowsByTitle) {
    ProbeDialog first;
    ProbeDialog second;
    ProbeDialog other;
    ASSERT_TRUE(CreateProbe(first, "MessageBox"));
    ASSERT_TRUE(CreateProbe(second, "MessageBox"));
    ASSERT_TRUE(CreateProbe(other, "WaitDlg"));
    EXPECT_EQ(DUI::FindWindows("MessageBox"), (std::vector<DUI::MWindow*>{&first, &second}));
    EXPECT_EQ(DUI::FindWindows("WaitDlg"), (std::vector<DUI::MWindow*>{&other}));
    EXPECT_TRUE(DUI::FindWindows("ComboWnd").empty());
    EXPECT_TRUE(DUI::FindWindows("OtherClass", "MessageBox").empty());
    first.DestroyWindow();
    EXPECT_EQ(DUI::FindWindows("MessageBox"), (std::vector<DUI::MWindow*>{&second}));
    second.DestroyWindow();
    other.DestroyWindow();
}

TEST(MDialog, TimersFireUntilKilled) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    dialog.SetTimer(200, 5);
    ASSERT_TRUE(uitest::WaitFor([&] { return dialog.timers.size() >= 2; }));
    EXPECT_EQ(dialog.timers.front(), 200);
    dialog.KillTimer(200);
    const size_t count = dialog.timers.size();
    uitest::WaitFor([] { return false; }, 60);
    EXPECT_EQ(dialog.timers.size(), count);
    dialog.DestroyWindow();
}

// Counts the control timer's ticks in counters that outlive the control and its dialog.
struct TickCounters {
    int ticks = 0;
    int ticksAfterRelease = 0;
    bool released = false;
};

class TickProbe : public DUI::MControl {
  public:
    explicit TickProbe(TickCounters* counters) : m_counters(counters) {}
    ~TickProbe() override { m_counters->released = true; }
    void Animate(bool animating) { SetAnimating(animating); }
    void Tick() override {
        ++m_counters->ticks;
        if (m_counters->released) {
            ++m_counters->ticksAfterRelease;
        }
    }

  private:
    TickCounters* m_counters;
};

// The control timer runs only while a control animates, and belongs to the dialog: it stops
// when the window is destroyed or the dialog object goes away, so it never ticks controls
// that were released.
TEST(MDialog, ControlTimerStopsWithTheDialog) {
    enum class End { DestroyWindow, DeleteDialog, DestroyThenDelete };
    for (const End end : {End::DestroyWindow, End::DeleteDialog, End::DestroyThenDelete}) {
        SCOPED_TRACE(static_cast<int>(end));
        TickCounters counters;
        auto dialog = std::make_unique<ProbeDialog>();
        ASSERT_TRUE(CreateProbe(*dialog));
        auto* probe = static_cast<TickProbe*>(dialog->AddControl(
            std::make_unique<TickProbe>(&counters), "TickProbe", 90, {0, 0, 10, 10}));
        ASSERT_NE(probe, nullptr);
        dialog->SetMTimer(1);
        // Nothing animates: the timer does not run at all.
        uitest::WaitFor([] { return false; }, 20);
        EXPECT_EQ(counters.ticks, 0);
        probe->Animate(true);
        ASSERT_TRUE(uitest::WaitFor([&] { return counters.ticks >= 2; }));
        // The animation ends: so do the ticks; it starts again: so do they.
        probe->Animate(false);
        const int ticksAtPause = counters.ticks;
        uitest::WaitFor([] { return false; }, 20);
        EXPECT_EQ(counters.ticks, ticksAtPause);
        probe->Animate(true);
        ASSERT_TRUE(uitest::WaitFor([&] { return counters.ticks >= ticksAtPause + 2; }));
        if (end != End::DeleteDialog) {
            dialog->DestroyWindow();
        }
        const int ticksAtEnd = counters.ticks;
        if (end != End::DestroyWindow) {
            dialog.reset();
        }
        uitest::WaitFor([] { return false; }, 50);
        EXPECT_EQ(counters.ticks, ticksAtEnd);
        EXPECT_EQ(counters.ticksAfterRelease, 0);
        EXPECT_TRUE(counters.released);
    }
}

TEST(MDialog, CreatesEveryControlClassByName) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    const std::vector<std::string> names = {
        "MText",        "MPicture",     "MButton",      "MButton2",    "MButton3",
        "CImageButton", "CTextButton",  "CIconButton",  "CHelpButton", "CCheckButton",
        "CRadioButton", "CColorButton", "MComboBox",    "MComboBox2",  "MEdit",
        "NumberEdit",   "MTabCtrl",     "MTabLayout",   "CArea",       "CRoundArea",
        "MProgress",    "MProgress2",   "MPalette",     "DListBox",    "CDeviceList",
        "CDeviceState", "BatteryCtrl",  "DPIControl",   "DPISlider",   "LightSlider",
        "ReporteCtrl",  "MouseCtrl",    "MouseKeyCtrl", "MacroList",   "CRecordList"};
    EXPECT_EQ(DUI::ControlClassNames(), names);
    int id = 1000;
    for (const std::string& name : names) {
        DUI::MControl* control = dialog.CreateControl(name, id, {0, 0, 120, 40}, "text");
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->GetClassName(), name);
        EXPECT_EQ(dialog.GetControl(id), control) << name;
        ++id;
    }
    EXPECT_EQ(dialog.CreateControl("NoSuchControl", 5, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(dialog.GetControl(5), nullptr);
    dialog.DestroyWindow();
}

// Key events reach the dialog with the evdev code, direction and repeat flag, whichever
// control has the focus.
TEST(MDialog, KeyEventsCarryTheEvdevScanCode) {
    ProbeDialog dialog;
    ASSERT_TRUE(CreateProbe(dialog));
    dialog.ShowWindow(DUI::kSwShow);
    DUI::ProcessPendingEvents();
    dialog.SetFocusControl(7);
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    // X11 reports key code = evdev + 8: 38 is the A key (evdev 30).
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 0, 0, "a", false);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 0, 0, "a", true);
    QCoreApplication::sendEvent(target, &repeat);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, 0, 0, "a", false);
    QCoreApplication::sendEvent(target, &release);
    // Without a native code (offscreen, VNC) the key is mapped by its Qt key.
    QKeyEvent noNative(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 0, 0, 0, "", false);
    QCoreApplication::sendEvent(target, &noNative);
    ASSERT_EQ(dialog.keys.size(), 4u);
    EXPECT_EQ(dialog.keys[0].scanCode, 30);
    EXPECT_TRUE(dialog.keys[0].pressed);
    EXPECT_FALSE(dialog.keys[0].autoRepeat);
    EXPECT_EQ(dialog.keys[0].text, "a");
    EXPECT_TRUE(dialog.keys[1].autoRepeat);
    EXPECT_FALSE(dialog.keys[2].pressed);
    EXPECT_EQ(dialog.keys[3].scanCode, 29);
    dialog.DestroyWindow();
}

}  // namespace
