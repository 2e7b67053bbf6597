// SPDX-License-Identifier: MIT
#include "device/DeviceContext.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "base/Log.h"
#include "device/HidDeviceManager.h"
#include "store/DataStore.h"

namespace kestrix {

DeviceContext::DeviceContext(HidDeviceManager& manager, DataStore& store, DeviceEvents& events)
    : m_manager(manager), m_store(store), m_events(events) {}

DeviceState DeviceContext::State() const {
    std::lock_guard lock(m_stateMutex);
    return m_state;
}

void DeviceContext::UpdateState(const std::function<void(DeviceState&)>& change) {
    std::lock_guard lock(m_stateMutex);
    change(m_state);
}

ProfileId DeviceContext::Profile() const { return m_store.CurrentProfile(); }

int DeviceContext::GetSettingInt(std::string_view key) {
    int value = 0;
    if (!m_store.GetSettingInt(Profile(), key, value)) return 0;
    return value;
}

void DeviceContext::SetSettingInt(std::string_view key, int value) {
    if (!m_store.SetSettingInt(Profile(), key, value)) {
        LogLine("storing %.*s = %d for profile %d failed", static_cast<int>(key.size()), key.data(),
                value, Profile());
    }
}

void DeviceContext::HandleCommandFailure() {
    if (m_manager.GetConnectionKind() != ConnectionKind::Receiver) return;
    m_events.CloseTransientWindows();
    bool wasLinkUp = false;
    int model = 0;
    UpdateState([&](DeviceState& s) {
        wasLinkUp = s.linkUp;
        model = s.selectedModel;
        s.linkUp = true;
    });
    m_events.SetDeviceState(model, 1, 1);
    if (!wasLinkUp) {
        m_events.SetCaption(kCaptionReceiver);
        m_events.SetDeviceState(kReceiverListModel, 1, 1);
    }
}

void DeviceContext::LogFailure(const char* format, ...) {
    // Formatted exactly as LogLine formats, so the log reads the same either way.
    char buffer[2048];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (length < 0) return;
    const std::string line(buffer,
                           std::min<size_t>(static_cast<size_t>(length), sizeof buffer - 1));
    Log::Write(line);
    NoteFailure(line);
}

void DeviceContext::NoteFailure(std::string reason) {
    std::lock_guard lock(m_failureMutex);
    ++m_failureCount;
    if (m_firstFailure.empty()) m_firstFailure = std::move(reason);
}

size_t DeviceContext::FailureCount() const {
    std::lock_guard lock(m_failureMutex);
    return m_failureCount;
}

void DeviceContext::ClearFailure() {
    std::lock_guard lock(m_failureMutex);
    m_firstFailure.clear();
}

std::string DeviceContext::FirstFailure() const {
    std::lock_guard lock(m_failureMutex);
    return m_firstFailure;
}

bool DeviceContext::Wait(std::chrono::milliseconds duration) {
    std::unique_lock lock(m_waitMutex);
    return !m_waitWake.wait_for(lock, duration, [this] { return m_stop.load(); });
}

void DeviceContext::RequestStop() {
    {
        std::lock_guard lock(m_waitMutex);
        m_stop = true;
    }
    m_waitWake.notify_all();
}

void DeviceContext::ClearStop() { m_stop = false; }

}  // namespace kestrix
