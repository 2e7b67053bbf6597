// SPDX-License-Identifier: MIT
#pragma once

// A test host for one editor page: an offscreen toolkit window holding the page's controls,
// an EditorContext over a real store in a temporary folder, the task codes the page queued,
// the save-wait, DPI-indicator and message-box requests it made, and a device worker over the
// simulated mice that runs the queued tasks on demand (on the test thread, so the simulated
// mouse can be checked right after).
//
//     PageTestHost host("vireo");                       // reads the simulated Vireo
//     auto& page = host.Attach(std::make_unique<PerformancePage>(host.Context()));
//     host.Send(120, 2);                                // control 120, code 2
//     EXPECT_EQ(host.Tasks(), (std::vector<int>{9}));
//     host.RunQueuedTasks();                            // the worker sends them
//     EXPECT_EQ(host.Mouse().dpiCount, 3);

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/DeviceWorker.h"
#include "device/RecordingObserver.h"
#include "device/WorkerTestBench.h"
#include "editors/EditorPage.h"
#include "platform/LanguageTexts.h"
#include "rules/EnsureProfiles.h"
#include "sim/SimMouse.h"
#include "store/DataStore.h"
#include "support/FakePointerSystem.h"
#include "ui/CArea.h"
#include "ui/MDialog.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"

namespace kestrix::testing {

// Renders the live toolkit window titled title (shown first when hidden) into a PNG file at
// device pixel ratio 1; false when there is no such window or the file cannot be written.
inline bool SaveWindowPng(const std::string& title, const std::string& file) {
    // Windows destroyed earlier may still wait for their deferred deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<QWidget*> widgets = QApplication::topLevelWidgets();
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it) {
        QWidget* widget = *it;
        if (widget->windowTitle() != QString::fromStdString(title)) continue;
        widget->show();
        for (int i = 0; i < 5; ++i) DUI::ProcessPendingEvents();
        // The first focusable control took the focus when shown; a screenshot shows none.
        if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
        DUI::ProcessPendingEvents();
        QPixmap pixmap(widget->size());
        pixmap.fill(QColor(26, 26, 26));
        widget->render(&pixmap);
        return pixmap.save(QString::fromStdString(file));
    }
    return false;
}

// The folder screenshot tests write to (KESTRIX_SCREENSHOTS), "" when they should skip.
inline std::string ScreenshotFolder() {
    const char* folder = std::getenv("KESTRIX_SCREENSHOTS");
    return folder != nullptr ? std::string(folder) : std::string();
}

// The offscreen window the page lives in; hands every notification, timer and key to the page.
class PageHostDialog : public DUI::MDialog {
  public:
    EditorPage* page = nullptr;
    std::vector<std::pair<int, int>> unclaimed;  // (id, code) of notifications no page took

    void OnMessage(int id, int code, std::intptr_t param) override {
        if (page == nullptr || !page->OnMessage(id, code, param)) unclaimed.emplace_back(id, code);
    }
    void OnTimer(int id) override {
        if (page != nullptr) page->OnTimer(id);
    }
    bool OnKeyEvent(const DUI::KeyEvent& key) override {
        return page != nullptr && page->OnKeyEvent(key);
    }
};

// The device events of the worker: recorded as text lines ("RefreshDpiPage"), and the page
// refreshes forwarded to the attached page as the main window does.
class PageHostEvents : public RecordingObserver {
  public:
    std::function<void()> refreshPage;

    void RefreshEditorPages() override {
        RecordingObserver::RefreshEditorPages();
        if (refreshPage) refreshPage();
    }
    void RefreshDpiPage() override {
        RecordingObserver::RefreshDpiPage();
        if (refreshPage) refreshPage();
    }
    void RefreshLightingPage() override {
        RecordingObserver::RefreshLightingPage();
        if (refreshPage) refreshPage();
    }
};

// One message box the page asked for.
struct HostMessageBox {
    int type = 0;
    std::string upperText;
    std::string lowerText;
};

class PageTestHost {
  public:
    // Attaches the simulated devices of scenario ("default", "vireo", "harrier_pro", "none",
    // ... see SimScenarioNames) and runs task 1 on the worker, which selects a mouse, opens
    // its database in the temporary folder, makes its profiles and reads the mouse into it.
    // Without a mouse (scenario "none") the database of modelWithoutMouse is opened and given
    // its profiles instead.
    explicit PageTestHost(const std::string& scenario = "default",
                          const std::string& modelWithoutMouse = "vireo")
        : m_sim(scenario) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("XDG_DATA_HOME", m_folder.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_folder.Path().c_str(), 1);
        DUI::Manager::SetInstance(nullptr);
        DUI::Manager::SetResourceFolder(KESTRIX_SOURCE_DATA);
        LanguageTexts::SetModuleFolder(KESTRIX_SOURCE_DATA);
        LanguageTexts::SetCurrentLcid(LanguageTexts::kStartLcid);

        DeviceWorkerHooks hooks;
        hooks.applyPointerSettings = [this] {
            if (pointerSettings) pointerSettings();
        };
        m_worker = std::make_unique<DeviceWorker>(*m_sim.manager, m_store, m_events,
                                                  WorkerConfig(m_folder.Path()), std::move(hooks));
        m_worker->RunTask(DeviceTask::RebuildAndRead);
        m_deviceAttr = AttrOfModel(m_worker->State().selectedModel);
        if (m_deviceAttr.empty()) {
            m_deviceAttr = modelWithoutMouse;
            m_store.OpenForModel(m_folder.Path(), m_deviceAttr);
            EnsureProfiles(m_store, KESTRIX_SOURCE_DATA, m_deviceAttr,
                           [](int) { return std::string("Profile"); });
        }
        LoadDeviceDefinition(KESTRIX_SOURCE_DATA, m_deviceAttr, m_definition);
        m_events.Clear();
        FillContext();

        m_window.Create(nullptr, kWindowTitle, DUI::kWsPopup | DUI::kWsClipChildren, 0,
                        {0, 0, 1024, 646});
        m_window.SetBkColor(DUI::MakeColour(26, 26, 26), DUI::MakeColour(26, 26, 26));
    }

    ~PageTestHost() {
        m_events.refreshPage = {};
        m_window.page = nullptr;
        m_window.DestroyWindow();
        m_page.reset();
    }

    PageTestHost(const PageTestHost&) = delete;
    PageTestHost& operator=(const PageTestHost&) = delete;

    // Title of the host window.
    static constexpr const char* kWindowTitle = "PageTestHost";

    // Builds the page's controls inside a panel of the host window (rect in window
    // coordinates; the default is the main window's page area, 976 x 598) and routes the
    // window's notifications and the worker's page refreshes to it. The host owns the page;
    // one page per host. The panel itself draws nothing, as in the main window.
    template <class Page>
    Page& Attach(std::unique_ptr<Page> page, const DUI::Rect& rect = {24, 24, 1000, 622}) {
        Page& result = *page;
        m_page = std::move(page);
        m_panel = m_window.CreateArea(kPanelId, rect);
        m_panel->SetTransparent(true);
        m_page->Create(m_window, m_panel, {0, 0, rect.Width(), rect.Height()});
        m_window.page = m_page.get();
        m_events.refreshPage = [this] { m_page->Refresh(); };
        return result;
    }

    // A control notification, as the window delivers it (id, code, parameter).
    void Send(int id, int code, std::intptr_t param = 0) { m_window.OnMessage(id, code, param); }
    // The control with this id in the host window, cast to T (nullptr when absent).
    template <class T>
    T* Control(int id) const {
        return m_window.GetControlAs<T>(id);
    }
    // Runs pending toolkit events (layout, paint, posted calls).
    void ProcessEvents() const { DUI::ProcessPendingEvents(); }
    // Renders the host window into a PNG file; false when it cannot be written.
    bool SaveScreenshot(const std::string& file) { return SaveWindowPng(kWindowTitle, file); }

    // The context every page of this host was given; tests may replace its functions.
    EditorContext& Context() { return m_context; }
    // The host window, and the panel the page was placed in.
    PageHostDialog& Window() { return m_window; }
    DUI::CArea* Panel() const { return m_panel; }
    // The store the page and the worker share.
    DataStore& Store() { return m_store; }
    // The model's description the context points to (tests may change its flags).
    DeviceDefinition& Definition() { return m_definition; }
    // device_attr of the selected model ("vireo").
    const std::string& DeviceAttr() const { return m_deviceAttr; }
    // The desktop pointer settings the context points to.
    FakePointerSystem& Pointer() { return m_pointer; }

    // A setting of the current profile as an integer (-1 when missing) or as its text.
    int Setting(const std::string& key) {
        int value = -1;
        if (!m_store.GetSettingInt(m_store.CurrentProfile(), key, value)) return -1;
        return value;
    }
    std::string SettingText(const std::string& key) {
        std::string value;
        m_store.GetSetting(m_store.CurrentProfile(), key, value);
        return value;
    }
    void SetSetting(const std::string& key, const std::string& value) {
        m_store.SetSetting(m_store.CurrentProfile(), key, value);
    }

    // Numbers of the tasks the page queued since the last ClearTasks / RunQueuedTasks, in order.
    std::vector<int> Tasks() const {
        std::vector<int> numbers;
        for (DeviceTask task : m_tasks) numbers.push_back(TaskNumber(task));
        return numbers;
    }
    void ClearTasks() { m_tasks.clear(); }
    // Times the page asked for the save-wait window.
    int SaveWaitRequests() const { return m_saveWaitRequests; }
    // Values the page showed in the DPI indicator, in order.
    const std::vector<int>& DpiIndicatorShows() const { return m_dpiShows; }
    // Message boxes the page opened, in order.
    const std::vector<HostMessageBox>& MessageBoxes() const { return m_boxes; }
    // Answers for the next message boxes (1 = first button, 2 = second); 1 when none is left.
    void AnswerMessageBoxes(std::vector<int> answers) {
        m_answers.assign(answers.begin(), answers.end());
    }
    // Clears the recorded tasks, save-wait requests, indicator values, boxes and events.
    void ClearRecords() {
        m_tasks.clear();
        m_saveWaitRequests = 0;
        m_dpiShows.clear();
        m_boxes.clear();
        m_events.Clear();
    }
    // The path the next file dialog returns ("" = cancelled), and the dialogs asked for.
    void SetChosenFile(std::string path) { m_chosenFile = std::move(path); }
    int FileDialogs() const { return m_fileDialogs; }

    // What task 22 runs on the worker (the main window hands it to the pointer settings).
    std::function<void()> pointerSettings;

    // The worker, its device state and a change to it (sensor code, report-rate class, ...).
    DeviceWorker& Worker() { return *m_worker; }
    DeviceState State() const { return m_worker->State(); }
    void ChangeState(const std::function<void(DeviceState&)>& change) {
        m_worker->UpdateState(change);
    }
    // What the worker told the window, as recorded lines.
    PageHostEvents& Events() { return m_events; }

    // Runs every recorded task on the worker in order (on this thread), then clears them.
    void RunQueuedTasks() {
        const std::vector<DeviceTask> tasks = std::move(m_tasks);
        m_tasks.clear();
        for (DeviceTask task : tasks) m_worker->RunTask(task);
    }
    // The flash of the simulated mouse named device ("vireo-cable", "harrier_pro-receiver"),
    // or of the first simulated mouse attached when device is empty.
    SimMouseState Mouse(const std::string& device = "") const {
        std::shared_ptr<SimDevice> found = device.empty() ? FirstMouse() : m_sim.Device(device);
        return found != nullptr && found->Mouse() != nullptr ? found->Mouse()->State()
                                                             : SimMouseState{};
    }

  private:
    static constexpr int kPanelId = 990;

    static std::string AttrOfModel(int model) {
        for (const CatalogueLine& line : ShippedLines()) {
            if (line.model.deviceType == model) return line.model.deviceAttr;
        }
        return {};
    }

    std::shared_ptr<SimDevice> FirstMouse() const {
        for (const char* suffix : {"-cable", "-receiver"}) {
            std::shared_ptr<SimDevice> device = m_sim.Device(m_deviceAttr + suffix);
            if (device != nullptr && device->Mouse() != nullptr) return device;
        }
        return nullptr;
    }

    void FillContext() {
        m_context.store = &m_store;
        m_context.pointer = &m_pointer;
        m_context.programFolder = std::string(KESTRIX_SOURCE_DATA) + "/";
        m_context.deviceAttr = m_deviceAttr;
        m_context.definition = &m_definition;
        m_context.queueTask = [this](DeviceTask task) { m_tasks.push_back(task); };
        m_context.deviceState = [this] { return m_worker->State(); };
        m_context.updateDeviceState = [this](const std::function<void(DeviceState&)>& change) {
            m_worker->UpdateState(change);
        };
        m_context.showSaveWait = [this] { ++m_saveWaitRequests; };
        m_context.showDpiIndicator = [this](int dpi) { m_dpiShows.push_back(dpi); };
        m_context.messageBox = [this](int type, const std::string& upper,
                                      const std::string& lower) {
            m_boxes.push_back({type, upper, lower});
            if (m_answers.empty()) return 1;
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        };
        m_context.chooseFile = [this](bool, const std::string&, const std::string&) {
            ++m_fileDialogs;
            return m_chosenFile;
        };
        m_context.refreshDeviceColumn = [] {};
    }

    // Destroyed last: the worker and page use everything above them.
    TempFolder m_folder;
    SimBench m_sim;
    DataStore m_store;
    PageHostEvents m_events;
    FakePointerSystem m_pointer;
    DeviceDefinition m_definition;
    std::string m_deviceAttr;
    EditorContext m_context;
    std::unique_ptr<DeviceWorker> m_worker;
    PageHostDialog m_window;
    std::unique_ptr<EditorPage> m_page;
    DUI::CArea* m_panel = nullptr;

    std::vector<DeviceTask> m_tasks;
    int m_saveWaitRequests = 0;
    std::vector<int> m_dpiShows;
    std::vector<HostMessageBox> m_boxes;
    std::deque<int> m_answers;
    std::string m_chosenFile;
    int m_fileDialogs = 0;
};

}  // namespace kestrix::testing
