// SPDX-License-Identifier: MIT
// Pictures of every view of the main window and of the small windows, rendered offscreen
// over the simulated mice. Runs only when KESTRIX_SCREENSHOTS names a folder:
//     KESTRIX_SCREENSHOTS=docs/screenshots build/bin/test_app --gtest_filter='Screenshots.*'
#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include "AppTestBench.h"
#include "app/AboutDlg.h"
#include "app/CUIMessageBox.h"
#include "app/DPIMsgDlg.h"
#include "app/ProfileDlg.h"
#include "app/SaveWaitDlg.h"
#include "app/SettingsPage.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;

std::string Folder() {
    const char* folder = std::getenv("KESTRIX_SCREENSHOTS");
    return folder != nullptr ? std::string(folder) : std::string();
}

// Renders the newest live toolkit window titled title into a PNG file.
bool SaveWindowPng(const std::string& title, const std::string& file) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<QWidget*> widgets = QApplication::topLevelWidgets();
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it) {
        QWidget* widget = *it;
        if (widget->windowTitle() != QString::fromStdString(title) || !widget->isVisible())
            continue;
        for (int i = 0; i < 5; ++i) DUI::ProcessPendingEvents();
        if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
        DUI::ProcessPendingEvents();
        QPixmap pixmap(widget->size());
        pixmap.fill(QColor(26, 26, 26));
        widget->render(&pixmap);
        return pixmap.save(QString::fromStdString(file));
    }
    return false;
}

TEST(Screenshots, EveryViewOfTheMainWindow) {
    const std::string folder = Folder();
    if (folder.empty()) GTEST_SKIP() << "KESTRIX_SCREENSHOTS not set";
    std::filesystem::create_directories(folder);
    for (const test::WindowSize& size : test::kWindowSizes) {
        const std::string prefix = folder + "/" + size.name + "-";
        test::WindowBench bench("default");
        ASSERT_TRUE(bench.CreateAndWaitForDevice(size.width, size.height));
        bench.window->ShowWindow(DUI::kSwShowNormal);
        test::PumpFor(300ms);
        EXPECT_TRUE(SaveWindowPng("Kestrix", prefix + "home.png"));

        bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 101);
        const char* pages[] = {"",       "buttons",  "performance",
                               "macros", "lighting", "device-settings"};
        for (int index = 1; index <= 5; ++index) {
            bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, index);
            test::PumpFor(100ms);
            EXPECT_TRUE(SaveWindowPng("Kestrix", prefix + pages[index] + ".png"));
        }
        bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
        test::PumpFor(100ms);
        EXPECT_TRUE(SaveWindowPng("Kestrix", prefix + "settings.png"));

        // The Harrier Pro through its receiver: caption 52 and the battery.
        bench.window->OnMessage(settings_id::kReturn, DUI::kNotifyClick, 0);
        bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 201);
        ASSERT_TRUE(
            test::PumpUntil([&] { return bench.window->Worker()->QueuedTasks() == 0; }, 20000ms));
        test::PumpFor(500ms);
        bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, 4);
        test::PumpFor(100ms);
        EXPECT_TRUE(SaveWindowPng("Kestrix", prefix + "receiver-lighting.png"));
    }

    test::WindowBench empty("none");
    ASSERT_TRUE(empty.Create());
    empty.window->ShowWindow(DUI::kSwShowNormal);
    ASSERT_TRUE(test::PumpUntil([&] { return empty.window->Worker()->QueuedTasks() == 0; }));
    test::PumpFor(300ms);
    EXPECT_TRUE(SaveWindowPng("Kestrix", folder + "/1300x788-no-device.png"));
}

// The Buttons, Macros and settings views in each language: real glyphs in every script, and
// every text whole.
TEST(Screenshots, EveryLanguage) {
    const std::string folder = Folder();
    if (folder.empty()) GTEST_SKIP() << "KESTRIX_SCREENSHOTS not set";
    std::filesystem::create_directories(folder);
    const struct {
        int lcid;
        const char* code;
    } languages[] = {{1033, "en"}, {2052, "zh-CN"}, {1028, "zh-TW"}, {1041, "ja"},
                     {1042, "ko"}, {1058, "uk"},    {1049, "ru"}};
    for (const auto& language : languages) {
        const std::string prefix = folder + "/language-" + language.code + "-";
        test::WindowBench bench("default");
        SetCurrentLcid(language.lcid);
        ASSERT_TRUE(bench.CreateAndWaitForDevice()) << language.code;
        bench.window->ShowWindow(DUI::kSwShowNormal);
        bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 101);
        bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, 1);
        test::PumpFor(100ms);
        EXPECT_TRUE(SaveWindowPng("Kestrix", prefix + "buttons.png"));
        bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, 3);
        test::PumpFor(100ms);
        EXPECT_TRUE(SaveWindowPng("Kestrix", prefix + "macros.png"));
        bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
        test::PumpFor(100ms);
        EXPECT_TRUE(SaveWindowPng("Kestrix", prefix + "settings.png"));
    }
}

TEST(Screenshots, SmallWindows) {
    const std::string folder = Folder();
    if (folder.empty()) GTEST_SKIP() << "KESTRIX_SCREENSHOTS not set";
    std::filesystem::create_directories(folder);
    test::WindowBench bench("vireo");
    ASSERT_TRUE(bench.CreateAndWaitForDevice());
    bench.window->ShowWindow(DUI::kSwShowNormal);

    bool saved = false;
    DUI::PostToUiThread([&] {
        saved = SaveWindowPng("MessageBox", folder + "/dialog-message-box.png");
        test::FindMessageBox()->SendMessage(DUI::kWmClose, 2, 0);
    });
    ShowMessageBox(kMessageBoxYesNo, GetLanText(570), GetLanText(571), bench.window.get());
    EXPECT_TRUE(saved);

    saved = false;
    DUI::PostToUiThread([&] {
        saved = SaveWindowPng("About Window", folder + "/dialog-about.png");
        DUI::FindWindows("About Window").front()->SendMessage(DUI::kWmClose, 1, 0);
    });
    AboutDlg::ShowOver(bench.window.get(), 0x105, "1.0.3");
    EXPECT_TRUE(saved);

    ProfileDlg profiles(*bench.window, bench.store, 1);
    ASSERT_TRUE(profiles.Create(bench.window.get(), kProfileDlgTitle, kShellWindowStyle, 0,
                                ProfileDlg::PlaceAbove({0, 300, 236, 336})));
    profiles.ShowWindow(DUI::kSwShowNormal);
    EXPECT_TRUE(SaveWindowPng(kProfileDlgTitle, folder + "/dialog-profiles.png"));
    profiles.DestroyWindow();

    bench.window->DpiIndicator()->Show(3200);
    EXPECT_TRUE(SaveWindowPng(kDpiIndicatorTitle, folder + "/dialog-dpi-indicator.png"));

    bench.window->ShowSaveWait();
    ASSERT_NE(bench.window->SaveWaitWindow(), nullptr);
    test::PumpFor(200ms);
    EXPECT_TRUE(SaveWindowPng(kSaveWaitTitle, folder + "/dialog-save-wait.png"));
}

}  // namespace
}  // namespace kestrix
