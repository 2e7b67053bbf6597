// SPDX-License-Identifier: MIT
#include "ui/Desktop.h"

#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QUrl>

#include "base/Log.h"
#include "ui/MWindow.h"
#include "ui/Theme.h"
#include "ui/UiThread.h"
#include "ui/WindowImpl.h"

namespace DUI {

namespace {

QWidget* OwnerWidget(MWindow* owner);

Rect ToRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The folder the file dialogs open in: the one a file was last chosen in, at first the home.
QString& LastFolderStore() {
    static QString folder;
    return folder;
}

QString LastFolder() {
    const QString& folder = LastFolderStore();
    return folder.isEmpty() || !QDir(folder).exists() ? QDir::homePath() : folder;
}

// Runs a file dialog drawn by the toolkit in the window's dark colours (a desktop's own
// dialog would follow the desktop's light theme); the chosen path, or "" when cancelled.
QString RunFileDialog(QFileDialog& dialog) {
    static QStyle* const style = QStyleFactory::create(QStringLiteral("Fusion"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (style != nullptr) dialog.setStyle(style);
    QPalette palette;
    palette.setColor(QPalette::Window, Theme::kPanel);
    palette.setColor(QPalette::WindowText, Theme::kText);
    palette.setColor(QPalette::Base, Theme::kInput);
    palette.setColor(QPalette::AlternateBase, Theme::kPanel);
    palette.setColor(QPalette::Text, Theme::kText);
    palette.setColor(QPalette::Button, Theme::kInput);
    palette.setColor(QPalette::ButtonText, Theme::kHeading);
    palette.setColor(QPalette::ToolTipBase, Theme::kPanel);
    palette.setColor(QPalette::ToolTipText, Theme::kText);
    palette.setColor(QPalette::PlaceholderText, Theme::kSecondary);
    palette.setColor(QPalette::Highlight, Theme::Accent());
    palette.setColor(QPalette::HighlightedText, Theme::kHeading);
    palette.setColor(QPalette::Disabled, QPalette::Text, Theme::kSecondary);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, Theme::kSecondary);
    dialog.setPalette(palette);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().front();
    LastFolderStore() = QFileInfo(chosen).absolutePath();
    return chosen;
}

}  // namespace

bool OpenUrl(const std::string& url) {
    if (url.empty()) {
        return false;
    }
    if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(url)))) {
        kestrix::LogLine("cannot open URL %s", url.c_str());
        return false;
    }
    return true;
}

bool OpenFile(const std::string& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)))) {
        kestrix::LogLine("cannot open %s", path.c_str());
        return false;
    }
    return true;
}

bool ShowOpenFileDialog(MWindow* owner, const std::string& filter, std::string& path) {
    QFileDialog dialog(OwnerWidget(owner), QString(), LastFolder(), QString::fromStdString(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString chosen = RunFileDialog(dialog);
    if (chosen.isEmpty()) {
        return false;
    }
    path = chosen.toStdString();
    return true;
}

bool ShowSaveFileDialog(MWindow* owner, const std::string& filter, const std::string& suggestedName,
                        std::string& path) {
    const QString filterText = QString::fromStdString(filter);
    QFileDialog dialog(OwnerWidget(owner), QString(), LastFolder(), filterText);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!suggestedName.empty()) dialog.selectFile(QString::fromStdString(suggestedName));
    QString chosen = RunFileDialog(dialog);
    if (chosen.isEmpty()) {
        return false;
    }
    // The first "*.ext" of the filter is the default extension.
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\*(\\.[A-Za-z0-9]+)")).match(filterText);
    if (match.hasMatch() && QFileInfo(chosen).suffix().isEmpty()) {
        chosen += match.captured(1);
    }
    path = chosen.toStdString();
    return true;
}

Point GetCursorPos() {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

Rect GetWorkArea(const Point& onScreen) {
    QScreen* screen = QGuiApplication::screenAt(QPoint(onScreen.x, onScreen.y));
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? ToRect(screen->availableGeometry()) : Rect{0, 0, 1300, 788};
}

Rect GetWorkArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ToRect(screen->availableGeometry()) : Rect{0, 0, 1300, 788};
}

namespace {

QWidget* OwnerWidget(MWindow* owner) {
    if (!owner) {
        return nullptr;
    }
    return WindowImpl::WidgetOf(owner);
}

}  // namespace

bool IsWaylandSession() {
    return qApp != nullptr && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace DUI
