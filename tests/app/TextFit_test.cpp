// SPDX-License-Identifier: MIT
// Every text of the window fits where it is drawn, in every language, at the design size and
// on a 1366 x 768 laptop screen: each view, the key panels, the drop-down lists and the small
// windows are painted offscreen while the toolkit reports each text it had to cut (a combo box
// measures all of its items). Each language also shows no text in a script it is not written
// in.
#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <set>

#include "AppTestBench.h"
#include "app/AboutDlg.h"
#include "app/CUIMessageBox.h"
#include "app/DPIMsgDlg.h"
#include "app/ProfileDlg.h"
#include "app/SaveWaitDlg.h"
#include "app/SettingsPage.h"
#include "app/UpdateProcessDlg.h"
#include "app/UpdateTipDlg.h"
#include "editors/KeyPage.h"
#include "ui/MComboBox.h"
#include "ui/MouseKeyCtrl.h"
#include "ui/TextFit.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;

// Paints every visible top-level window once (only those titled title when one is given);
// returns how many were painted.
int PaintWindows(const QString& title = {}) {
    DUI::ProcessPendingEvents();
    int painted = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->size().isEmpty()) continue;
        if (!title.isEmpty() && widget->windowTitle() != title) continue;
        QPixmap pixmap(widget->size());
        widget->render(&pixmap);
        ++painted;
    }
    return painted;
}

// True when text has a letter of a script the language lcid is not written in: Latin is
// everywhere (numbers, DPI, product names), Cyrillic only in Russian and Ukrainian, Han only in
// Chinese and Japanese, kana only in Japanese, Hangul only in Korean, full-width forms only in
// Chinese, Japanese and Korean.
bool HasForeignScript(int lcid, const std::string& text) {
    const bool cyrillic = lcid == 1049 || lcid == 1058;
    const bool han = lcid == 2052 || lcid == 1028 || lcid == 1041;
    const bool cjk = han || lcid == 1042;
    for (const char32_t c : QString::fromStdString(text).toStdU32String()) {
        if (c >= 0x0400 && c <= 0x04FF && !cyrillic) return true;
        if (c >= 0x4E00 && c <= 0x9FFF && !han) return true;
        if (c >= 0x3040 && c <= 0x30FF && lcid != 1041) return true;
        if (((c >= 0xAC00 && c <= 0xD7AF) || (c >= 0x1100 && c <= 0x11FF)) && lcid != 1042)
            return true;
        if (c >= 0xFF00 && c <= 0xFFEF && !cjk) return true;
    }
    return false;
}

// Every text and combo item of the window written in a script foreign to lcid (the language
// list, which names each language in itself, aside).
std::vector<std::string> ForeignTexts(DUI::MDialog& window, int lcid) {
    std::vector<std::string> found;
    for (DUI::MControl* control : window.GetControls()) {
        if (control->GetID() == settings_id::kLanguageCombo) continue;
        std::vector<std::string> texts;
        if (auto* font = dynamic_cast<DUI::MControlFont*>(control))
            texts.push_back(font->GetTitle());
        if (auto* combo = dynamic_cast<DUI::MComboBox*>(control)) {
            for (int i = 0; i < combo->GetCount(); ++i) texts.push_back(combo->GetItemText(i));
        }
        for (const std::string& text : texts) {
            if (HasForeignScript(lcid, text))
                found.push_back(std::to_string(control->GetID()) + " \"" + text + "\"");
        }
    }
    return found;
}

// Opens the drop-down list of each combo box of the window and paints it; returns how many
// lists were painted.
int PaintComboLists(DUI::MDialog& window) {
    int painted = 0;
    for (DUI::MControl* control : window.GetControls()) {
        auto* combo = dynamic_cast<DUI::MComboBox*>(control);
        if (combo == nullptr || combo->GetCount() == 0) continue;
        combo->ShowDropDown();
        painted += PaintWindows(QStringLiteral("ComboWnd"));
        combo->HideDropDown();
    }
    return painted;
}

TEST(TextFit, EveryTextFitsInEveryLanguage) {
    std::set<std::string> cuts;
    std::string where;
    DUI::SetCutTextObserver([&](const DUI::CutText& cut) {
        cuts.insert(where + ": " + cut.window + " " + cut.className + " " +
                    std::to_string(cut.controlId) + " \"" + cut.text + "\" needs " +
                    std::to_string(cut.needed) + " px, has " + std::to_string(cut.available));
    });
    for (int lcid : {1033, 2052, 1028, 1041, 1042, 1058, 1049}) {
        for (const test::WindowSize& size : test::kWindowSizes) {
            const std::string run = std::to_string(lcid) + " " + size.name;
            test::WindowBench bench("default");
            SetCurrentLcid(lcid);
            ASSERT_TRUE(bench.CreateAndWaitForDevice(size.width, size.height)) << run;
            bench.window->ShowWindow(DUI::kSwShowNormal);
            where = run + " home";
            PaintWindows();

            bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, 101);
            const char* pages[] = {"",       "buttons",  "performance",
                                   "macros", "lighting", "device-settings"};
            for (int index = 1; index <= 5; ++index) {
                bench.window->OnMessage(frame_id::kTabs, DUI::kNotifyClick, index);
                where = run + " " + pages[index];
                PaintWindows();
                if (index == 1) {
                    // A button other than the left one opens the panels without a warning.
                    bench.window->GetControlAs<DUI::MouseKeyCtrl>(KeyPage::kButtonList)
                        ->ClickItem(3);
                    for (int panel : {KeyPage::kOpenKeyPanel, KeyPage::kOpenRepeatPanel}) {
                        bench.window->OnMessage(panel, DUI::kNotifyClick, 0);
                        test::PumpFor(400ms);
                        PaintWindows();
                    }
                    bench.window->OnMessage(KeyPage::kRepeatClose, DUI::kNotifyClick, 0);
                    test::PumpFor(400ms);
                }
            }
            bench.window->OnMessage(frame_id::kSettings, DUI::kNotifyClick, 0);
            where = run + " settings";
            PaintWindows();
            where = run + " drop-down lists";
            EXPECT_GT(PaintComboLists(*bench.window), 5) << run;
            for (const std::string& text : ForeignTexts(*bench.window, lcid))
                cuts.insert(run + ": in a foreign script: " + text);
            bench.window->OnMessage(settings_id::kReturn, DUI::kNotifyClick, 0);

            where = run + " profiles";
            ProfileDlg profiles(*bench.window, bench.store, 1);
            ASSERT_TRUE(profiles.Create(bench.window.get(), kProfileDlgTitle, kShellWindowStyle, 0,
                                        ProfileDlg::PlaceAbove({0, 300, 236, 336})));
            profiles.ShowWindow(DUI::kSwShowNormal);
            PaintWindows();
            profiles.DestroyWindow();

            where = run + " small windows";
            bench.window->DpiIndicator()->Show(3200);
            bench.window->ShowSaveWait();
            DUI::PostToUiThread([&] {
                PaintWindows();
                DUI::FindWindows("About Window").front()->SendMessage(DUI::kWmClose, 1, 0);
            });
            AboutDlg::ShowOver(bench.window.get(), 0x105, "1.0.3");
            DUI::PostToUiThread([&] {
                PaintWindows();
                test::FindMessageBox()->SendMessage(DUI::kWmClose, 2, 0);
            });
            ShowMessageBox(kMessageBoxYesNo, GetLanText(570), GetLanText(571), bench.window.get());

            UpdateProcessDlg download;
            ASSERT_TRUE(download.Create(
                bench.window.get(), kUpdateProcessTitle, kShellWindowStyle, DUI::kWsExToolWindow,
                {0, 0, UpdateProcessDlg::kWidth, UpdateProcessDlg::kHeight}));
            download.SetProgress(100);
            UpdateTipDlg firmware;
            ASSERT_TRUE(firmware.Create(bench.window.get(), kUpdateTipTitle, kShellWindowStyle,
                                        DUI::kWsExToolWindow,
                                        {0, 0, UpdateTipDlg::kWidth, UpdateTipDlg::kHeight}));
            download.ShowWindow(DUI::kSwShowNormal);
            firmware.ShowWindow(DUI::kSwShowNormal);
            PaintWindows();
            for (DUI::MDialog* dialog :
                 {static_cast<DUI::MDialog*>(&download), static_cast<DUI::MDialog*>(&firmware)}) {
                for (const std::string& text : ForeignTexts(*dialog, lcid))
                    cuts.insert(run + ": in a foreign script: " + text);
            }
            download.CloseWindow();
            firmware.CloseWindow();
        }
    }
    DUI::SetCutTextObserver({});
    std::string report;
    for (const std::string& cut : cuts) report += cut + "\n";
    EXPECT_TRUE(cuts.empty()) << cuts.size() << " texts do not fit or are foreign:\n" << report;
}

}  // namespace
}  // namespace kestrix
