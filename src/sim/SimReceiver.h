// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "sim/SimFirmware.h"
#include "sim/SimMouse.h"

namespace kestrix {

// The firmware of a 2.4 GHz receiver: passes requests to its mouse while the mouse is on and
// answers with its own identity code; while the mouse is off it answers nothing (or, when
// told to, only the identity with online flag 0). Switching the mouse sends a 0xC0 link report.
class SimReceiver : public SimFirmware {
  public:
    // A receiver paired with mouse; identityCode goes into identity bytes 4 to 7.
    SimReceiver(std::shared_ptr<SimMouse> mouse, std::string identityCode, bool mouseOn);
    // Detaches from the mouse's report sink.
    ~SimReceiver() override;
    SimReceiver(const SimReceiver&) = delete;
    SimReceiver& operator=(const SimReceiver&) = delete;

    void HandleOutput(const uint8_t* report, size_t length,
                      std::vector<SimReport>& answers) override;
    void SetUnsolicitedSink(SimReportSink sink) override;

    // The paired mouse.
    const std::shared_ptr<SimMouse>& Mouse() const { return m_mouse; }
    // True while the mouse is on and in range.
    bool IsMouseOn() const;
    // Switches the mouse on or off; sends the link report [0xC0, 1 or 0, level, charge].
    void SetMouseOn(bool on);
    // While the mouse is off, answer the identity request with online flag 0 instead of nothing.
    void SetAnswerIdentityWhileOff(bool answer);

  private:
    std::shared_ptr<SimMouse> m_mouse;
    const std::string m_identityCode;
    mutable std::mutex m_mutex;
    bool m_mouseOn;
    bool m_identityWhileOff = false;
    SimReportSink m_sink;
};

}  // namespace kestrix
