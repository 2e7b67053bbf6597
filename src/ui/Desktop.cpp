// SPDX-License-Identifier: MIT
#include "ui/Desktop.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>

#include "base/Log.h"
#include "ui/MWindow.h"
#include "ui/UiThread.h"
#include "ui/WindowImpl.h"

namespace DUI {

namespace {

QWidget* OwnerWidget(MWindow* owner);

Rect ToRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
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
    const QString chosen = QFileDialog::getOpenFileName(OwnerWidget(owner), QString(), QString(),
                                                        QString::fromStdString(filter));
    if (chosen.isEmpty()) {
        return false;
    }
    path = chosen.toStdString();
    return true;
}

bool ShowSaveFileDialog(MWindow* owner, const std::string& filter, const std::string& suggestedName,
                        std::string& path) {
    const QString filterText = QString::fromStdString(filter);
    QString chosen = QFileDialog::getSaveFileName(
        OwnerWidget(owner), QString(), QString::fromStdString(suggestedName), filterText);
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

}  // namespace DUI
