// SPDX-License-Identifier: MIT
#include "ui/MDialog.h"

#include <QTimer>

#include <algorithm>
#include <map>

#include "base/Log.h"
#include "ui/CArea.h"
#include "ui/ControlFactory.h"
#include "ui/MControl.h"
#include "ui/MControlFont.h"
#include "ui/Theme.h"
#include "ui/UiThread.h"
#include "ui/WindowImpl.h"

namespace DUI {

struct MDialog::DialogImpl {
    std::vector<std::unique_ptr<MControl>> controls;
    std::map<int, MControl*> byId;
    QTimer* controlTimer = nullptr;
    int controlTimerMs = 0;  // SetMTimer's period; 0 = off

    // Stops the control timer for good. The timer is a child of the native widget, whose
    // deletion is deferred; without this it would keep ticking controls that are already
    // released, or a dialog object that is gone.
    void StopControlTimer() {
        if (controlTimer) {
            controlTimer->stop();
            controlTimer->deleteLater();
            controlTimer = nullptr;
        }
    }
};

MDialog::MDialog() : m_dialog(std::make_unique<DialogImpl>()) {}

MDialog::~MDialog() {
    m_dialog->StopControlTimer();
    // No control may call back into this object while the native window goes away.
    for (const auto& control : m_dialog->controls) {
        control->Detach();
    }
    m_impl->Teardown(false);
}

std::string MDialog::GetWindowClassName() const { return "MWindow"; }

std::string MDialog::GetSuperClassName() const { return {}; }

void MDialog::ShowWindow(int command) { MWindow::ShowWindow(command); }

std::intptr_t MDialog::OnWindowMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (msg) {
        case kWmClose:
            SetResult(static_cast<int>(wParam));
            OnClose();
            return 0;
        case kWmTimer:
            OnTimer(static_cast<int>(wParam));
            return 0;
        case kWmSize:
            if (wParam != 1) {
                UISize({0, 0, static_cast<int>(lParam & 0xFFFF),
                        static_cast<int>((lParam >> 16) & 0xFFFF)});
            }
            return 0;
        case kWmNcActivate:
            return OnNcActivate(wParam != 0);
        case kWmDestroy:
            OnDestroyMessage();
            OnDestroy();
            return 0;
        default:
            return 0;
    }
}

bool MDialog::PreTranslateMessage(unsigned, std::uintptr_t, std::intptr_t) { return false; }

bool MDialog::OnInitDialog() { return true; }

void MDialog::OnDestroyMessage() {}

Point MDialog::GetAirBladderPoint() {
    const Rect rect = GetWindowRect();
    return {(rect.left + rect.right) / 2, rect.top};
}

void MDialog::OnMinimize() { ShowWindow(kSwMinimize); }

void MDialog::OnMaximize() { ShowWindow(IsMaximized() ? kSwRestore : kSwShowMaximized); }

void MDialog::InitUI(const Rect&) {}

void MDialog::UISize(const Rect&) {}

void MDialog::OnMessage(int, int, std::intptr_t) {}

void MDialog::OnUserCloseWindow() { PostMessage(kWmClose, kIdCancel, 0); }

void MDialog::OnCreate() {}

int MDialog::OnNcActivate(bool) { return 1; }

bool MDialog::OnKeyEvent(const KeyEvent&) { return false; }

bool MDialog::OnEscape() {
    OnUserCloseWindow();
    return true;
}

void MDialog::OnPaint() {}

void MDialog::OnTimer(int) {}

void MDialog::OnNcPaint() {}

void MDialog::OnClose() { CloseWindow(); }

void MDialog::OnDestroy() {}

void MDialog::PostNcDestroy() {}

void MDialog::CloseWindow() { DestroyWindow(); }

MControl* MDialog::CreateControl(const std::string& className, int id, const Rect& rect,
                                 const std::string& text, MControl* parent) {
    if (!m_impl->m_widget) {
        kestrix::LogLine("CreateControl(\"%s\", %d) before the window exists", className.c_str(),
                         id);
        return nullptr;
    }
    std::unique_ptr<MControl> control = MakeControl(className);
    if (!control) {
        kestrix::LogLine("CreateControl: unknown control class \"%s\" (id %d)", className.c_str(),
                         id);
        return nullptr;
    }
    MControl* result = AddControl(std::move(control), className, id, rect, parent);
    if (auto* textControl = dynamic_cast<MControlFont*>(result); textControl && !text.empty()) {
        textControl->SetTitle(text);
    }
    return result;
}

MControl* MDialog::AddControl(std::unique_ptr<MControl> control, const std::string& className,
                              int id, const Rect& rect, MControl* parent) {
    if (!m_impl->m_widget || !control) {
        return nullptr;
    }
    QWidget* parentWidget = parent && parent->Widget() ? parent->Widget() : m_impl->m_widget.data();
    control->Attach(this, parentWidget, id, className, rect);
    MControl* result = control.get();
    m_dialog->byId.emplace(id, result);
    m_dialog->controls.push_back(std::move(control));
    if (parent) {
        parent->ChildAdded(result);
    }
    return result;
}

CArea* MDialog::CreateArea(int id, const Rect& rect, MControl* parent) {
    return CreateControlAs<CArea>("CArea", id, rect, "", parent);
}

MControl* MDialog::GetControl(int id) const {
    const auto found = m_dialog->byId.find(id);
    return found == m_dialog->byId.end() ? nullptr : found->second;
}

std::vector<MControl*> MDialog::GetControls() const {
    std::vector<MControl*> result;
    result.reserve(m_dialog->controls.size());
    for (const auto& control : m_dialog->controls) {
        result.push_back(control.get());
    }
    return result;
}

bool MDialog::LoadBKImage(const std::string& file) {
    m_impl->m_bkImage = file;
    if (m_impl->m_widget) {
        m_impl->m_widget->update();
    }
    return Theme::HasSkinImage(file);
}

void MDialog::SetBackMode(int mode, int value) {
    m_impl->m_backMode = mode;
    m_impl->m_backValue = value;
    if (m_impl->m_widget) {
        m_impl->m_widget->update();
    }
}

void MDialog::SetLayeredWindow(bool layered) {
    m_impl->m_layered = layered;
    if (m_impl->m_widget) {
        m_impl->m_widget->setAttribute(Qt::WA_TranslucentBackground, layered || m_impl->m_rounded);
        m_impl->m_widget->update();
    }
}

void MDialog::SetBkColor(int background, int border) {
    m_impl->m_bkColour = Theme::FromColourInt(background);
    m_impl->m_borderColour = border < 0 ? QColor() : Theme::FromColourInt(border);
    if (m_impl->m_widget) {
        m_impl->m_widget->update();
    }
}

void MDialog::SetMTimer(int milliseconds) {
    m_dialog->controlTimerMs = std::max(0, milliseconds);
    UpdateControlTimer();
}

void MDialog::UpdateControlTimer() {
    if (!m_impl->m_widget) {
        return;
    }
    const bool animating = std::any_of(m_dialog->controls.begin(), m_dialog->controls.end(),
                                       [](const auto& control) { return control->IsAnimating(); });
    if (m_dialog->controlTimerMs <= 0 || !animating) {
        if (m_dialog->controlTimer) {
            m_dialog->controlTimer->stop();
        }
        return;
    }
    if (!m_dialog->controlTimer) {
        m_dialog->controlTimer = new QTimer(m_impl->m_widget);
        QObject::connect(m_dialog->controlTimer, &QTimer::timeout, m_dialog->controlTimer, [this] {
            for (const auto& control : m_dialog->controls) {
                if (control->IsAnimating()) control->Tick();
            }
        });
    }
    if (!m_dialog->controlTimer->isActive() ||
        m_dialog->controlTimer->interval() != m_dialog->controlTimerMs) {
        m_dialog->controlTimer->start(m_dialog->controlTimerMs);
    }
}

void MDialog::DoOK() {
    SetResult(kIdOk);
    CloseWindow();
}

void MDialog::DoCancel() {
    SetResult(kIdCancel);
    CloseWindow();
}

void MDialog::SetFocusControl(int id) {
    if (MControl* control = GetControl(id)) {
        control->OnFocus();
    }
}

void MDialog::AfterCreate() {
    OnCreate();
    InitUI(GetClientRect());
    OnInitDialog();
}

void MDialog::AfterDestroy() {
    m_dialog->StopControlTimer();
    for (const auto& control : m_dialog->controls) {
        control->Detach();
    }
    PostNcDestroy();
    // The handler that closed the window may still be running inside one of the controls
    // (a button's click); they are released once the event loop is back.
    auto released =
        std::make_shared<std::vector<std::unique_ptr<MControl>>>(std::move(m_dialog->controls));
    m_dialog->controls.clear();
    m_dialog->byId.clear();
    PostToUiThread([released] { released->clear(); });
}

}  // namespace DUI
