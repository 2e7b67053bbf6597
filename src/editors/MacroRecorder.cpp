// SPDX-License-Identifier: MIT
#include "editors/MacroRecorder.h"

#include <algorithm>
#include <chrono>

#include "editors/MacroEntries.h"

namespace kestrix {

MacroRecorder::MacroRecorder(TickSource ticks)
    : m_ticks(ticks ? std::move(ticks) : TickSource(&SystemTicks)) {}

std::uint32_t MacroRecorder::SystemTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void MacroRecorder::Start(int delayMode, int fixedDelay) {
    m_recording = true;
    m_delayMode = delayMode;
    m_fixedDelay = fixedDelay;
    m_stamp = m_ticks();
    m_lastTick = 0;
    m_hasLastTick = false;
}

int MacroRecorder::ElapsedSinceLastKey(std::uint32_t now) const {
    if (!m_hasLastTick) return 0;
    // Unsigned difference: correct across the 49-day wrap of the counter.
    const std::uint32_t elapsed = now - m_lastTick;
    return static_cast<int>(std::min<std::uint32_t>(elapsed, kMaxRecordedDelay));
}

void MacroRecorder::Append(DUI::RecordEntry entry, Target& target) {
    entry.stamp = ++m_stamp;
    target.Append(entry);
}

MacroRecorder::KeyResult MacroRecorder::OnKey(const KeyEvent& event, Target& target) {
    if (!m_recording || event.kind != KeyEvent::kKeyboard || event.name.empty())
        return KeyResult::Ignored;

    bool delayAdded = false;
    if (m_delayMode == 1) {
        const std::uint32_t now = m_ticks();
        const int elapsed = ElapsedSinceLastKey(now);
        m_lastTick = now;
        m_hasLastTick = true;
        if (elapsed > 0) {
            Append(DelayEntry(elapsed, 0), target);
            delayAdded = true;
        }
    } else if (m_delayMode == 2 && m_fixedDelay > 0 && target.EventCount() > 0) {
        Append(DelayEntry(m_fixedDelay, 0), target);
        delayAdded = true;
    }
    if (delayAdded && target.EventCount() >= kRecordingEventLimit) {
        Stop(target);
        return KeyResult::LimitReached;
    }

    Append(KeyEntry(event.up == 0, event.vk, event.name, 0), target);
    if (target.EventCount() >= kRecordingEventLimit) {
        Stop(target);
        return KeyResult::LimitReached;
    }
    return KeyResult::Recorded;
}

void MacroRecorder::Stop(Target& target) {
    if (!m_recording) return;
    m_recording = false;
    if (m_delayMode == 1) {
        // Only after a recorded key: without one there is no pause to measure.
        const int elapsed = ElapsedSinceLastKey(m_ticks());
        if (elapsed > 0) Append(DelayEntry(elapsed, 0), target);
    } else if (m_delayMode == 2 && m_fixedDelay > 0 && target.EventCount() > 0) {
        Append(DelayEntry(m_fixedDelay, 0), target);
    }
}

}  // namespace kestrix
