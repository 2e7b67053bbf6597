// SPDX-License-Identifier: MIT
#pragma once

// The button page and the macro page side by side in one PageTestHost, connected as the
// main window connects them, with a settable clock for the recorder and key helpers.

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "PageTestHost.h"
#include "editors/KeyPage.h"
#include "editors/MacroPage.h"
#include "ui/CArea.h"
#include "ui/DuiTypes.h"

namespace kestrix::testing {

// Evdev codes the tests type (linux/input-event-codes.h).
inline constexpr int kEvA = 30;
inline constexpr int kEvB = 48;
inline constexpr int kEvC = 46;
inline constexpr int kEvLeftShift = 42;
inline constexpr int kEvRightCtrl = 97;

// Both pages as one page of the host: notifications and keys go to whichever claims them.
class KeysPages : public EditorPage {
  public:
    explicit KeysPages(EditorContext& context) : keys(context), macros(context) {
        macros.ConnectKeyPage(&keys);
    }

    // Each page in its own area of the panel, as the main window gives each tab its own.
    void Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) override {
        keysArea = owner.CreateArea(kKeysArea, rect, panel);
        macrosArea = owner.CreateArea(kMacrosArea, rect, panel);
        for (DUI::CArea* area : {keysArea, macrosArea}) area->SetTransparent(true);
        keys.Create(owner, keysArea, {0, 0, rect.Width(), rect.Height()});
        macros.Create(owner, macrosArea, {0, 0, rect.Width(), rect.Height()});
    }
    // Shows one page's area only (screenshots).
    void ShowOnly(bool keysPage) {
        keysArea->SetVisible(keysPage);
        macrosArea->SetVisible(!keysPage);
    }
    void Layout(const DUI::Rect& rect) override {
        keys.Layout(rect);
        macros.Layout(rect);
    }
    bool OnMessage(int id, int code, std::intptr_t param) override {
        return keys.OnMessage(id, code, param) || macros.OnMessage(id, code, param);
    }
    void Refresh() override {
        keys.Refresh();
        macros.Refresh();
    }
    void ApplyTexts() override {
        keys.ApplyTexts();
        macros.ApplyTexts();
    }
    bool OnKeyEvent(const DUI::KeyEvent& key) override {
        return keys.OnKeyEvent(key) || macros.OnKeyEvent(key);
    }

    static constexpr int kKeysArea = 1901;
    static constexpr int kMacrosArea = 1902;
    KeyPage keys;
    MacroPage macros;
    DUI::CArea* keysArea = nullptr;
    DUI::CArea* macrosArea = nullptr;
};

// A host holding both pages, refreshed once as after a device read, with a clock the test
// moves by hand.
struct KeysHost {
    explicit KeysHost(const std::string& scenario = "vireo") : host(scenario) {
        pages = &host.Attach(std::make_unique<KeysPages>(host.Context()));
        pages->macros.SetTickSource([this] { return now; });
        pages->Refresh();
        host.ClearRecords();
    }

    KeyPage& Keys() { return pages->keys; }
    MacroPage& Macros() { return pages->macros; }

    // A key press or release as the window delivers it.
    bool Key(int scanCode, bool pressed, bool autoRepeat = false) {
        DUI::KeyEvent key;
        key.scanCode = scanCode;
        key.pressed = pressed;
        key.autoRepeat = autoRepeat;
        return host.Window().OnKeyEvent(key);
    }
    // Press and release.
    void Tap(int scanCode) {
        Key(scanCode, true);
        Key(scanCode, false);
    }

    // Renders the host window into a PNG file; false when it cannot be written.
    bool SavePng(const std::string& file) {
        // Windows of earlier hosts in this program wait for their deferred deletion.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowTitle() != "PageTestHost") continue;
            widget->show();
            for (int i = 0; i < 5; ++i) host.ProcessEvents();
            QPixmap pixmap(widget->size());
            pixmap.fill(QColor(26, 26, 26));
            widget->render(&pixmap);
            return pixmap.save(QString::fromStdString(file));
        }
        return false;
    }
    // The folder of the screenshot tests (KESTRIX_SCREENSHOTS); "" when they should skip.
    static std::string ScreenshotFolder() {
        const char* folder = std::getenv("KESTRIX_SCREENSHOTS");
        return folder != nullptr ? std::string(folder) : std::string();
    }

    PageTestHost host;
    KeysPages* pages = nullptr;
    std::uint32_t now = 1000000;
};

}  // namespace kestrix::testing
