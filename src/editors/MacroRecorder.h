// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

#include "rules/KeyCapture.h"
#include "ui/CRecordList.h"

namespace kestrix {

// Turns keyboard activity into the entries of a macro's event list: one entry per key press
// and release, with delay entries by the macro's delay mode (0 none, 1 the real pauses up to
// 31000 ms, 2 a fixed delay), and a limit of 30 events. It only decides what to append; the
// macro page owns the list, the button and the saving. UI thread only.
class MacroRecorder {
  public:
    // The list the recorder appends to.
    class Target {
      public:
        virtual ~Target() = default;
        // Number of entries that are not delays.
        virtual int EventCount() const = 0;
        // Appends an entry at the end.
        virtual void Append(const DUI::RecordEntry& entry) = 0;
    };

    // What became of one key event.
    enum class KeyResult {
        Ignored,       // not recording, or the event has no key name
        Recorded,      // appended (with its delay)
        LimitReached,  // the event limit was reached: recording stopped, trailing delay added
    };

    // Milliseconds of a 32-bit tick counter, like the system tick count.
    using TickSource = std::function<std::uint32_t()>;

    // ticks gives the current tick (the system's monotonic milliseconds by default).
    explicit MacroRecorder(TickSource ticks = {});

    // Starts recording with delay mode 0, 1 or 2 and, for mode 2, the fixed delay in ms.
    // Entries already in the list stay; new ones are appended.
    void Start(int delayMode, int fixedDelay);
    // A decoded key event while recording: appends its delay and its entry.
    KeyResult OnKey(const KeyEvent& event, Target& target);
    // Stops and appends the trailing delay (mode 1: the pause since the last key; mode 2: the
    // fixed delay when the list holds an event). Nothing when not recording.
    void Stop(Target& target);
    // True between Start and Stop.
    bool IsRecording() const { return m_recording; }
    // The current tick of the source.
    std::uint32_t Now() const { return m_ticks(); }

    // The system's monotonic clock in milliseconds, cut to 32 bits.
    static std::uint32_t SystemTicks();

  private:
    // Appends an entry with the next stamp.
    void Append(DUI::RecordEntry entry, Target& target);
    // The pause since the last recorded key, capped at 31000 ms; 0 before the first key.
    int ElapsedSinceLastKey(std::uint32_t now) const;

    TickSource m_ticks;
    bool m_recording = false;
    int m_delayMode = 0;
    int m_fixedDelay = 0;
    std::uint32_t m_lastTick = 0;  // tick of the previous key, 0 before the first
    bool m_hasLastTick = false;
    std::uint32_t m_stamp = 0;  // last stamp given out
};

}  // namespace kestrix
