// SPDX-License-Identifier: MIT
#include "ui/MWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <map>
#include <mutex>

#include "base/Log.h"
#include "ui/Desktop.h"
#include "ui/EdgeResizer.h"
#include "ui/FocusOrder.h"
#include "ui/KeyScanCode.h"
#include "ui/MDialog.h"
#include "ui/Theme.h"
#include "ui/UiThread.h"
#include "ui/WindowImpl.h"

namespace DUI {

namespace {

struct Registry {
    std::mutex lock;
    std::map<WindowHandle, MWindow*> windows;  // handle order = creation order
    WindowHandle next = 1;
};

Registry& Windows() {
    static Registry* registry = new Registry;  // used until process exit
    return *registry;
}

bool IsAliveHandle(WindowHandle handle) {
    Registry& registry = Windows();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.windows.count(handle) != 0;
}

// Delivers key events of any widget inside a toolkit window to that window's dialog.
class KeyFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) {
            return false;
        }
        // A key a child ignores travels up to its parents as the same event object;
        // deliver it once.
        if (event == m_lastEvent && m_lastReceiver && m_lastReceiver != widget &&
            widget->isAncestorOf(m_lastReceiver)) {
            return false;
        }
        m_lastEvent = event;
        m_lastReceiver = widget;
        auto* native = dynamic_cast<NativeWindow*>(widget->window());
        if (!native || !native->m_impl) {
            return false;
        }
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        KeyEvent key;
        key.scanCode = EvdevScanCode(keyEvent->nativeScanCode(), keyEvent->key());
        key.pressed = event->type() == QEvent::KeyPress;
        key.autoRepeat = keyEvent->isAutoRepeat();
        key.text = keyEvent->text().toStdString();
        return native->m_impl->DispatchKey(key);
    }

  private:
    const QEvent* m_lastEvent = nullptr;
    QPointer<QWidget> m_lastReceiver;
};

}  // namespace

WindowHandle RegisterWindow(MWindow* window) {
    Registry& registry = Windows();
    std::lock_guard<std::mutex> guard(registry.lock);
    const WindowHandle handle = registry.next++;
    registry.windows[handle] = window;
    return handle;
}

void UnregisterWindow(WindowHandle handle) {
    Registry& registry = Windows();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.windows.erase(handle);
}

void EnsureKeyFilter() {
    static bool installed = false;
    if (!installed && qApp) {
        qApp->installEventFilter(new KeyFilter(qApp));
        installed = true;
    }
}

void PostToUiThread(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        kestrix::LogLine("PostToUiThread: no toolkit application, call dropped");
        return;
    }
    // Every post goes to the application object as a queued call; Qt delivers posted
    // events of one receiver in posting order, which keeps the hand-off first-in first-out.
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

bool IsUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

bool PostWindowMessage(WindowHandle handle, unsigned msg, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    if (handle == 0 || !IsAliveHandle(handle) || !QCoreApplication::instance()) {
        return false;
    }
    PostToUiThread([handle, msg, wParam, lParam] {
        if (MWindow* window = FromHandle(handle)) {
            window->SendMessage(msg, wParam, lParam);
        }
    });
    return true;
}

MWindow* FromHandle(WindowHandle handle) {
    Registry& registry = Windows();
    std::lock_guard<std::mutex> guard(registry.lock);
    const auto found = registry.windows.find(handle);
    return found == registry.windows.end() ? nullptr : found->second;
}

std::vector<MWindow*> FindWindows(const std::string& title) {
    return FindWindows("MWindow", title);
}

std::vector<MWindow*> FindWindows(const std::string& className, const std::string& title) {
    std::vector<MWindow*> all;
    {
        Registry& registry = Windows();
        std::lock_guard<std::mutex> guard(registry.lock);
        for (const auto& [handle, window] : registry.windows) {
            all.push_back(window);
        }
    }
    std::vector<MWindow*> found;
    for (MWindow* window : all) {
        if (window->GetTitle() == title && window->GetWindowClassName() == className) {
            found.push_back(window);
        }
    }
    return found;
}

void ProcessPendingEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// ---- NativeWindow ----

NativeWindow::NativeWindow(WindowImpl* impl, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_impl(impl) {}

void NativeWindow::paintEvent(QPaintEvent*) {
    if (!m_impl) {
        return;
    }
    QPainter painter(this);
    m_impl->PaintBackground(painter, rect());
    if (auto* dialog = dynamic_cast<MDialog*>(m_impl->m_owner)) {
        dialog->OnPaint();
    }
}

namespace {

// On X11 without a compositor the transparent pixels of a translucent window show black, so
// a rounded window is also cut to its outline (a shape needs no compositor; with one, the
// anti-aliased edge inside the outline is still blended). Other platforms always composite.
void ShapeRoundedWindow(QWidget* widget) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(widget->rect()), 10, 10);
    widget->setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

}  // namespace

void NativeWindow::resizeEvent(QResizeEvent*) {
    if (m_impl && m_impl->m_rounded) ShapeRoundedWindow(this);
    if (!m_impl || m_impl->m_lastSize == size()) {
        return;
    }
    m_impl->m_lastSize = size();
    const std::uintptr_t kind = isMaximized() ? 2 : (isMinimized() ? 1 : 0);
    m_impl->Deliver(kWmSize, kind, (width() & 0xFFFF) | ((height() & 0xFFFF) << 16));
}

void NativeWindow::closeEvent(QCloseEvent* event) {
    // The toolkit decides when a window goes: a close request from the window manager
    // becomes the dialog's OnUserCloseWindow (by default WM_CLOSE with kIdCancel).
    event->ignore();
    if (!m_impl || m_impl->m_destroying) {
        return;
    }
    if (auto* dialog = dynamic_cast<MDialog*>(m_impl->m_owner)) {
        dialog->OnUserCloseWindow();
    } else {
        m_impl->Deliver(kWmClose, kIdCancel, 0);
    }
}

void NativeWindow::mousePressEvent(QMouseEvent* event) {
    // A pop-up also receives the presses outside it (QWidget then closes it): only a press
    // inside the window can be one on its caption band.
    if (m_impl && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()) &&
        event->position().y() < m_impl->m_captionHeight && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    QWidget::mousePressEvent(event);
}

void NativeWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_impl && event->button() == Qt::LeftButton &&
        event->position().y() < m_impl->m_captionHeight) {
        if (auto* dialog = dynamic_cast<MDialog*>(m_impl->m_owner)) {
            dialog->OnMaximize();
            return;
        }
    }
    QWidget::mouseDoubleClickEvent(event);
}

bool NativeWindow::event(QEvent* event) {
    // Activated by the compositor: the user brought a minimised window back.
    if (m_impl && event->type() == QEvent::WindowActivate) m_impl->m_waylandMinimized = false;
    if (m_impl &&
        (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)) {
        m_impl->Deliver(kWmNcActivate, event->type() == QEvent::WindowActivate ? 1 : 0, 0);
    }
    return QWidget::event(event);
}

bool NativeWindow::focusNextPrevChild(bool next) { return FocusNextInReadingOrder(this, next); }

void NativeWindow::keyPressEvent(QKeyEvent* event) {
    auto* dialog = m_impl != nullptr ? dynamic_cast<MDialog*>(m_impl->m_owner) : nullptr;
    if (dialog != nullptr && event->key() == Qt::Key_Escape &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && dialog->OnEscape()) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- WindowImpl ----

std::intptr_t WindowImpl::Deliver(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    if (m_owner->PreTranslateMessage(msg, wParam, lParam)) {
        return 0;
    }
    return m_owner->OnWindowMessage(msg, wParam, lParam);
}

void WindowImpl::PaintBackground(QPainter& painter, const QRect& rect) {
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_bkImage.empty()) {
        const QPixmap image = Theme::SkinImage(m_bkImage, painter.device()->devicePixelRatioF());
        if (!image.isNull()) {
            if (m_layered || m_rounded) {
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.fillRect(rect, Qt::transparent);
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            }
            if (m_backMode == 1) {
                Theme::DrawNineSlice(painter, rect, image, m_backValue > 0 ? m_backValue : 12);
            } else {
                painter.drawPixmap(rect, image);
            }
            return;
        }
    }
    const QColor border = m_borderColour.isValid()
                              ? m_borderColour
                              : QColor((Theme::Accent().red() * 35 + 52 * 65) / 100,
                                       (Theme::Accent().green() * 35 + 52 * 65) / 100,
                                       (Theme::Accent().blue() * 35 + 56 * 65) / 100);
    if (m_rounded || m_layered) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        Theme::DrawPanel(painter, rect, m_bkColour, border, 10);
    } else {
        painter.fillRect(rect, m_bkColour);
        if (m_borderColour.isValid()) {
            painter.setPen(m_borderColour);
            painter.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
        }
    }
}

bool WindowImpl::DispatchKey(const KeyEvent& key) {
    if (auto* dialog = dynamic_cast<MDialog*>(m_owner)) {
        return dialog->OnKeyEvent(key);
    }
    return false;
}

void WindowImpl::Teardown(bool callHandlers) {
    if (!m_widget || m_destroying) {
        return;
    }
    m_destroying = true;
    if (callHandlers) {
        Deliver(kWmDestroy, 0, 0);
    }
    UnregisterWindow(m_handle);
    m_handle = 0;
    for (auto& [id, timer] : m_timers) {
        timer->stop();
        timer->deleteLater();
    }
    m_timers.clear();
    m_pendingShow = false;
    NativeWindow* widget = m_widget;
    m_widget = nullptr;
    widget->m_impl = nullptr;
    widget->hide();
    widget->deleteLater();
    if (m_modal) {
        m_modal->result = m_result;
        m_modal->done = true;
        if (m_modal->loop) {
            m_modal->loop->quit();
        }
    }
    m_destroying = false;
    if (callHandlers) {
        if (auto* dialog = dynamic_cast<MDialog*>(m_owner)) {
            dialog->AfterDestroy();
        }
    }
}

// ---- MWindow ----

MWindow::MWindow() : m_impl(std::make_unique<WindowImpl>(this)) {}

MWindow::~MWindow() {
    *m_impl->m_alive = false;
    m_impl->Teardown(false);
}

bool MWindow::Create(MWindow* parent, const std::string& title, std::uint32_t style,
                     std::uint32_t exStyle, const Rect& rect) {
    if (m_impl->m_widget) {
        return false;
    }
    if (!qApp) {
        kestrix::LogLine("MWindow::Create(\"%s\"): no toolkit application", title.c_str());
        return false;
    }
    EnsureKeyFilter();
    m_impl->m_title = title;
    m_impl->m_parent = parent;
    m_impl->m_style = style;
    m_impl->m_exStyle = exStyle;
    m_impl->m_result = kIdCancel;
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    // Wayland places only pop-ups, relative to their parent surface: a grabbing pop-up
    // (Qt::Popup) for windows opened by a click, a pop-up without focus (Qt::ToolTip) for
    // indicators.
    const bool waylandPopup = parent != nullptr && IsWaylandSession();
    if ((exStyle & kWsExPopupMenu) || (waylandPopup && (exStyle & kWsExAnchored))) {
        flags = Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    } else if (waylandPopup && (exStyle & kWsExNoActivate)) {
        flags = Qt::ToolTip | Qt::FramelessWindowHint;
    } else if (exStyle & kWsExToolWindow) {
        flags = Qt::Tool | Qt::FramelessWindowHint;
    }
    if (exStyle & kWsExNoActivate) {
        flags |= Qt::WindowDoesNotAcceptFocus;
    }
    if (exStyle & kWsExTopmost) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    QWidget* parentWidget = parent ? parent->m_impl->m_widget.data() : nullptr;
    auto* widget = new NativeWindow(m_impl.get(), parentWidget, flags);
    m_impl->m_widget = widget;
    widget->setWindowTitle(QString::fromStdString(title));
    widget->setObjectName(QStringLiteral("MWindow"));
    widget->setMouseTracking(true);
    if (exStyle & kWsExNoActivate) {
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    // Owned windows and tool windows get rounded corners, which needs a translucent surface.
    m_impl->m_rounded = parent != nullptr || (exStyle & (kWsExToolWindow | kWsExPopupMenu)) != 0;
    m_impl->m_layered = (exStyle & kWsExLayered) != 0;
    if (m_impl->m_rounded || m_impl->m_layered) {
        widget->setAttribute(Qt::WA_TranslucentBackground);
    }
    widget->setGeometry(rect.left, rect.top, std::max(1, rect.Width()), std::max(1, rect.Height()));
    m_impl->m_lastSize = widget->size();
    if (m_impl->m_rounded) ShapeRoundedWindow(widget);
    m_impl->m_handle = RegisterWindow(this);
    if (auto* dialog = dynamic_cast<MDialog*>(this)) {
        dialog->AfterCreate();
    }
    if ((style & kWsVisible) && m_impl->m_widget) {
        m_impl->m_pendingShow = true;
        QPointer<NativeWindow> guard = widget;
        QTimer::singleShot(0, widget, [guard] {
            if (guard && guard->m_impl && guard->m_impl->m_pendingShow) {
                guard->m_impl->m_owner->ShowWindow(kSwShow);
            }
        });
    }
    return true;
}

int MWindow::ShowModal(int show) {
    if (!m_impl->m_widget) {
        return m_impl->m_result;
    }
    NativeWindow* widget = m_impl->m_widget;
    if (show == 0) {
        ShowWindow(kSwHide);
    } else {
        if (m_impl->m_parent && widget->windowModality() == Qt::NonModal) {
            const bool wasVisible = widget->isVisible();
            if (wasVisible) {
                widget->hide();
            }
            widget->setWindowModality(Qt::ApplicationModal);
        }
        ShowWindow(show);
    }
    auto state = std::make_shared<ModalState>();
    const std::shared_ptr<bool> alive = m_impl->m_alive;
    std::shared_ptr<ModalState> outer = m_impl->m_modal;
    m_impl->m_modal = state;
    QEventLoop loop;
    state->loop = &loop;
    if (!state->done) {
        loop.exec(QEventLoop::DialogExec);
    }
    state->loop = nullptr;
    if (!*alive) {
        // The window object itself went away while its loop ran.
        return state->done ? state->result : kIdCancel;
    }
    m_impl->m_modal = outer;
    return state->result;
}

void MWindow::CenterWindow() {
    NativeWindow* widget = m_impl->m_widget;
    if (!widget) {
        return;
    }
    QRect area;
    if (m_impl->m_parent && m_impl->m_parent->m_impl->m_widget &&
        m_impl->m_parent->IsWindowVisible()) {
        area = m_impl->m_parent->m_impl->m_widget->frameGeometry();
    } else if (QScreen* screen =
                   widget->screen() ? widget->screen() : QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) {
        QRect frame = widget->geometry();
        frame.moveCenter(area.center());
        widget->move(frame.topLeft());
    }
}

void MWindow::DestroyWindow() { m_impl->Teardown(true); }

bool MWindow::SetIcon(const std::string& path) {
    const QIcon icon(QString::fromStdString(path));
    if (icon.isNull() || icon.availableSizes().isEmpty()) {
        kestrix::LogLine("window icon unreadable: %s", path.c_str());
        return false;
    }
    if (m_impl->m_widget) {
        m_impl->m_widget->setWindowIcon(icon);
    }
    if (!m_impl->m_parent && qApp) {
        QApplication::setWindowIcon(icon);
    }
    return true;
}

WindowHandle MWindow::GetSafeHwnd() const { return m_impl->m_handle; }

void MWindow::ClientToScreen(Point& point) const {
    if (m_impl->m_widget) {
        const QPoint global = m_impl->m_widget->mapToGlobal(QPoint(point.x, point.y));
        point = {global.x(), global.y()};
    }
}

void MWindow::ClientToScreen(Rect& rect) const {
    Point topLeft{rect.left, rect.top};
    ClientToScreen(topLeft);
    rect = {topLeft.x, topLeft.y, topLeft.x + rect.Width(), topLeft.y + rect.Height()};
}

void MWindow::SetTimer(int id, int milliseconds) {
    if (!m_impl->m_widget) {
        return;
    }
    QTimer*& timer = m_impl->m_timers[id];
    if (!timer) {
        timer = new QTimer(m_impl->m_widget);
        WindowImpl* impl = m_impl.get();
        QObject::connect(timer, &QTimer::timeout, timer, [impl, id] {
            if (impl->m_widget) {
                impl->Deliver(kWmTimer, static_cast<std::uintptr_t>(id), 0);
            }
        });
    }
    timer->start(std::max(1, milliseconds));
}

void MWindow::KillTimer(int id) {
    const auto found = m_impl->m_timers.find(id);
    if (found != m_impl->m_timers.end()) {
        found->second->stop();
    }
}

bool MWindow::PostMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostWindowMessage(GetSafeHwnd(), msg, wParam, lParam);
}

std::intptr_t MWindow::SendMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    const WindowHandle handle = GetSafeHwnd();
    if (handle == 0) {
        return 0;
    }
    if (IsUiThread()) {
        return m_impl->Deliver(msg, wParam, lParam);
    }
    std::intptr_t result = 0;
    QMetaObject::invokeMethod(
        qApp,
        [handle, msg, wParam, lParam, &result] {
            if (MWindow* window = FromHandle(handle)) {
                result = window->m_impl->Deliver(msg, wParam, lParam);
            }
        },
        Qt::BlockingQueuedConnection);
    return result;
}

bool MWindow::IsWindow() const { return m_impl->m_widget != nullptr; }

bool MWindow::IsWindowVisible() const { return m_impl->m_widget && m_impl->m_widget->isVisible(); }

bool MWindow::IsMaximized() const { return m_impl->m_widget && m_impl->m_widget->isMaximized(); }

bool MWindow::IsMinimized() const {
    return m_impl->m_widget && (m_impl->m_widget->isMinimized() || m_impl->m_waylandMinimized);
}

bool MWindow::IsExposed() const {
    return m_impl->m_widget && m_impl->m_widget->windowHandle() &&
           m_impl->m_widget->windowHandle()->isExposed();
}

const std::string& MWindow::GetTitle() const { return m_impl->m_title; }

MWindow* MWindow::GetParent() const { return m_impl->m_parent; }

Rect MWindow::GetClientRect() const {
    if (!m_impl->m_widget) {
        return {};
    }
    return {0, 0, m_impl->m_widget->width(), m_impl->m_widget->height()};
}

Rect MWindow::GetWindowRect() const {
    if (!m_impl->m_widget) {
        return {};
    }
    const QRect g = m_impl->m_widget->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void MWindow::MoveWindow(const Rect& screenRect) {
    if (m_impl->m_widget) {
        m_impl->m_widget->setGeometry(screenRect.left, screenRect.top,
                                      std::max(1, screenRect.Width()),
                                      std::max(1, screenRect.Height()));
    }
}

void MWindow::SetMinimumSize(int width, int height) {
    if (m_impl->m_widget) m_impl->m_widget->setMinimumSize(std::max(0, width), std::max(0, height));
}

void MWindow::SetTopMost(bool topMost) {
    NativeWindow* widget = m_impl->m_widget;
    if (!widget || widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topMost) {
        return;
    }
    const bool visible = widget->isVisible();
    widget->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    if (visible) {
        widget->show();  // changing flags hides a top-level widget
    }
}

void MWindow::BringToFront(const std::string& activationToken) {
    if (NativeWindow* widget = m_impl->m_widget) {
        if (m_impl->m_waylandMinimized) {
            // Wayland has no request to un-minimise, and a compositor without xdg-activation
            // (or a launch without a token) would leave the window hidden: mapping the window
            // afresh brings it back on every compositor.
            m_impl->m_waylandMinimized = false;
            widget->hide();
            widget->showNormal();
        } else if (widget->isMinimized()) {
            widget->showNormal();
        } else {
            widget->show();
        }
        widget->raise();
        // Qt's Wayland client hands XDG_ACTIVATION_TOKEN to xdg-activation on the next
        // activation request and then clears it.
        if (!activationToken.empty() && IsWaylandSession())
            qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(activationToken));
        widget->activateWindow();
        m_impl->m_pendingShow = false;
    }
}

void MWindow::SetCaptionHeight(int height) { m_impl->m_captionHeight = height; }

void MWindow::SetResizeBorder(int width) {
    m_impl->m_resizeBorder = std::max(0, width);
    if (width > 0) EdgeResizer::Ensure();
}

int MWindow::GetResult() const { return m_impl->m_result; }

void MWindow::SetResult(int result) { m_impl->m_result = result; }

std::string MWindow::GetWindowClassName() const { return "MWindow"; }

std::string MWindow::GetSuperClassName() const { return {}; }

void MWindow::ShowWindow(int command) {
    NativeWindow* widget = m_impl->m_widget;
    if (!widget) {
        return;
    }
    m_impl->m_pendingShow = false;
    switch (command) {
        case kSwHide:
            widget->hide();
            break;
        case kSwShowMinimized:
        case kSwMinimize:
            widget->showMinimized();
            if (IsWaylandSession()) m_impl->m_waylandMinimized = true;
            break;
        case kSwShowMaximized:
            widget->showMaximized();
            break;
        case kSwShowNormal:
        case kSwRestore:
            widget->showNormal();
            break;
        case kSwShowNoActivate:
            widget->setAttribute(Qt::WA_ShowWithoutActivating);
            widget->show();
            widget->setAttribute(Qt::WA_ShowWithoutActivating,
                                 (m_impl->m_exStyle & kWsExNoActivate) != 0);
            break;
        default:
            widget->show();
            break;
    }
}

std::intptr_t MWindow::OnWindowMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t) {
    if (msg == kWmClose) {
        SetResult(static_cast<int>(wParam));
        DestroyWindow();
    }
    return 0;
}

bool MWindow::PreTranslateMessage(unsigned, std::uintptr_t, std::intptr_t) { return false; }

}  // namespace DUI
