// SPDX-License-Identifier: MIT
#include "ui/Manager.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "base/Log.h"
#include "ui/AccessibleControl.h"
#include "ui/DuiTypes.h"

namespace DUI {

int Manager::m_select_color = MakeColour(0, 174, 239);

namespace {

struct ManagerState {
    std::string deviceName;
    std::string theme = "default";
    std::string resourceFolder;
    std::string requestedFont = "Open Sans Semibold";
    std::string resolvedFont;
    std::vector<std::string> fallbackFonts;
};

ManagerState& State() {
    static ManagerState state;
    return state;
}

// The application object the toolkit made itself, with the argument storage Qt keeps
// pointers into for its whole life.
struct OwnApplication {
    std::vector<std::string> args;
    std::vector<char*> argv;
    int argc = 0;
    std::unique_ptr<QApplication> app;
};

OwnApplication& OwnApp() {
    static OwnApplication* own = new OwnApplication;  // outlives static destruction on purpose
    return *own;
}

bool FamilyInstalled(const QString& family) { return QFontDatabase::hasFamily(family); }

std::string ResolveFont(const std::string& requested) {
    if (!QGuiApplication::instance()) {
        return requested;
    }
    const QString wanted = QString::fromStdString(requested);
    if (FamilyInstalled(wanted)) {
        return requested;
    }
    // fontconfig lists the semibold face of Open Sans under the family "Open Sans"; the
    // weight is chosen per font by the painting code.
    const QString semibold = QStringLiteral(" Semibold");
    if (wanted.endsWith(semibold)) {
        const QString base = wanted.left(wanted.size() - semibold.size());
        if (FamilyInstalled(base)) {
            return base.toStdString();
        }
    }
    for (const char* fallback : {"Open Sans", "Noto Sans", "DejaVu Sans", "Liberation Sans"}) {
        if (FamilyInstalled(QString::fromLatin1(fallback))) {
            kestrix::LogLine("font \"%s\" not installed, using \"%s\"", requested.c_str(),
                             fallback);
            return fallback;
        }
    }
    kestrix::LogLine("font \"%s\" not installed, using the default sans family", requested.c_str());
    return "Sans Serif";
}

}  // namespace

void Manager::SetInstance(void* /*instance*/) {
    if (QCoreApplication::instance()) {
        InstallAccessibility();
        return;
    }
    OwnApplication& own = OwnApp();
    std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    size_t start = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == '\0') {
            own.args.push_back(all.substr(start, i - start));
            start = i + 1;
        }
    }
    if (own.args.empty()) {
        own.args.push_back("kestrix");
    }
    for (std::string& arg : own.args) {
        own.argv.push_back(arg.data());
    }
    own.argv.push_back(nullptr);
    own.argc = static_cast<int>(own.args.size());
    own.app = std::make_unique<QApplication>(own.argc, own.argv.data());
    QApplication::setQuitOnLastWindowClosed(false);
    // Screen readers learn every control's name, role, state and value.
    InstallAccessibility();
}

void Manager::SetDeviceName(const std::string& name) {
    State().deviceName = name;
    if (QCoreApplication::instance()) {
        QCoreApplication::setApplicationName(QString::fromStdString(name));
    }
}

void Manager::SetDesktopEntry(const std::string& name) {
    if (QCoreApplication::instance()) {
        const QString entry = QString::fromStdString(name);
        // Wayland takes the app_id from the desktop file name; X11 takes the class half of
        // WM_CLASS from the application name (else from the executable's name).
        QGuiApplication::setDesktopFileName(entry);
        QCoreApplication::setApplicationName(entry);
    }
}

const std::string& Manager::GetDeviceName() { return State().deviceName; }

const std::string& Manager::GetTheme() { return State().theme; }

void Manager::SetTheme(const std::string& theme) { State().theme = theme; }

void Manager::SetResourceFolder(const std::string& folder) {
    std::string value = folder;
    if (!value.empty() && value.back() != '/') {
        value += '/';
    }
    State().resourceFolder = value;
}

const std::string& Manager::GetResourceFolder() { return State().resourceFolder; }

std::string Manager::GetSkinPath(const std::string& imageName) {
    std::string name = imageName;
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    return State().resourceFolder + "skins/" + State().theme + "/" + name;
}

void Manager::SetFallbackFonts(const std::vector<std::string>& families) {
    State().fallbackFonts = families;
}

const std::vector<std::string>& Manager::GetFallbackFonts() { return State().fallbackFonts; }

void Manager::SetFontName(const std::string& family) {
    State().requestedFont = family;
    State().resolvedFont.clear();
}

const std::string& Manager::GetFontName() {
    ManagerState& state = State();
    if (state.resolvedFont.empty() && QGuiApplication::instance()) {
        state.resolvedFont = ResolveFont(state.requestedFont);
    }
    return state.resolvedFont.empty() ? state.requestedFont : state.resolvedFont;
}

}  // namespace DUI
