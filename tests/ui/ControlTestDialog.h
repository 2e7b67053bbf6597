// SPDX-License-Identifier: MIT
#pragma once

// A shown dialog that records every control notification, and helpers that drive controls
// with real (QTest) mouse and key input at positions inside them.

#include <QTest>
#include <QWidget>

#include <tuple>
#include <vector>

#include "UiTestApp.h"
#include "ui/MControl.h"
#include "ui/MDialog.h"
#include "ui/UiThread.h"
#include "ui/WindowImpl.h"

namespace uitest {

struct Note {
    int id;
    int code;
    std::intptr_t param;
    bool operator==(const Note&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Note& note) {
    return out << "{" << note.id << ", " << note.code << ", " << note.param << "}";
}

class ControlTestDialog : public DUI::MDialog {
  public:
    std::vector<Note> notes;

    ControlTestDialog() {
        App();
        Create(nullptr, "ControlTest", DUI::kWsPopup, 0, {50, 50, 1050, 750});
        ShowWindow(DUI::kSwShow);
        DUI::ProcessPendingEvents();
    }
    ~ControlTestDialog() override { DestroyWindow(); }

    void OnMessage(int id, int code, std::intptr_t param) override {
        notes.push_back({id, code, param});
    }

    template <class T>
    T* Make(const std::string& cls, int id, const DUI::Rect& rect, const std::string& text = "") {
        T* control = CreateControlAs<T>(cls, id, rect, text);
        DUI::ProcessPendingEvents();
        return control;
    }

    // The widget under a point of the window (the deepest one, as input would find it).
    QWidget* At(int x, int y) const {
        QWidget* root = DUI::WindowImpl::WidgetOf(this);
        QWidget* child = root->childAt(x, y);
        return child ? child : root;
    }
    // Window point to the local point of the widget under it.
    QPoint Local(int x, int y) const {
        return At(x, y)->mapFrom(DUI::WindowImpl::WidgetOf(this), QPoint(x, y));
    }

    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(At(x, y), button, Qt::NoModifier, Local(x, y));
        DUI::ProcessPendingEvents();
    }
    void DoubleClick(int x, int y) {
        QWidget* target = At(x, y);
        const QPoint local = Local(x, y);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
        DUI::ProcessPendingEvents();
    }
    void Drag(int x0, int y0, int x1, int y1) {
        QWidget* target = At(x0, y0);
        const QPoint from = Local(x0, y0);
        const QPoint to = from + QPoint(x1 - x0, y1 - y0);
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, target->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, to);
        DUI::ProcessPendingEvents();
    }
    void Key(Qt::Key key, const QString& text = {}) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : DUI::WindowImpl::WidgetOf(this), key, Qt::NoModifier);
        (void)text;
        DUI::ProcessPendingEvents();
    }
    void Type(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        DUI::ProcessPendingEvents();
    }
    // Codes notified by control id, in order.
    std::vector<int> Codes(int id) const {
        std::vector<int> codes;
        for (const Note& note : notes) {
            if (note.id == id) {
                codes.push_back(note.code);
            }
        }
        return codes;
    }
};

}  // namespace uitest
