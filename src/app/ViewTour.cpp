// SPDX-License-Identifier: MIT
#include "app/ViewTour.h"

#include "app/DeviceMainDlg.h"
#include "base/Log.h"
#include "device/DeviceWorker.h"

namespace kestrix {
namespace {

constexpr int kPollMs = 100;
// Longest wait for the first device read before the tour shows what there is.
constexpr int kReadTimeoutMs = 20000;
constexpr const char* kPageNames[] = {"home",   "buttons",  "performance",
                                      "macros", "lighting", "device-settings"};

}  // namespace

ViewTour::ViewTour(DeviceMainDlg& window, int dwellMs) : m_window(window), m_dwellMs(dwellMs) {}

void ViewTour::Start() { m_window.SetTimer(kTimerId, kPollMs); }

bool ViewTour::OnTimer(int id) {
    if (id != kTimerId) return false;
    Step();
    return true;
}

void ViewTour::Step() {
    const bool device = m_window.View().DevicePagesShown();
    if (m_step == 0) {
        // Wait until the worker has read the mouse (or found none).
        const bool idle = m_window.Worker() != nullptr && m_window.Worker()->QueuedTasks() == 0;
        m_waited += kPollMs;
        if (!(idle && (device || m_waited >= 1500)) && m_waited < kReadTimeoutMs) return;
        m_window.SetTimer(kTimerId, m_dwellMs);
    }
    const int last = device ? 7 : 1;
    if (m_step >= last) {
        m_window.KillTimer(kTimerId);
        LogLine("view tour done");
        m_window.CloseWindow();
        return;
    }
    std::string name;
    if (m_step == 0) {
        name = kPageNames[0];
    } else if (m_step == 1) {
        m_window.OnMessage(frame_id::kDeviceList, 2, m_window.SelectedDevice());
        name = kPageNames[1];
    } else if (m_step <= 5) {
        m_window.OnMessage(frame_id::kTabs, 2, m_step);
        name = kPageNames[m_step];
    } else {
        m_window.OnMessage(frame_id::kSettings, 2, 0);
        name = "settings";
    }
    ++m_step;
    m_shown.push_back(name);
    LogLine("view %s shown", name.c_str());
}

}  // namespace kestrix
