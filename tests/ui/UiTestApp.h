// SPDX-License-Identifier: MIT
#pragma once

// Shared set-up of the toolkit tests: one application object on the offscreen platform
// for the whole test program, the shipped skin folder, and small event helpers.

#include <QApplication>
#include <QElapsedTimer>

#include <cstdlib>
#include <functional>

#include "ui/Manager.h"

namespace uitest {

inline QApplication& App() {
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        auto* created = new QApplication(argc, argv);
        DUI::Manager::SetResourceFolder(KESTRIX_SOURCE_DATA);
        return created;
    }();
    return *app;
}

// Runs the event loop until done() or the time is up; true when done() became true.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace uitest
