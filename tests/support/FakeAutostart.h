// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Autostart.h"

#include <atomic>

namespace kestrix {

// The log-on entry as a flag; Enable can be made to fail to test the caller's reaction.
class FakeAutostart final : public Autostart {
  public:
    explicit FakeAutostart(bool enabled = false);

    bool IsEnabled() const override;
    bool Enable() override;
    bool Disable() override;

    // Test setup: makes Enable and Disable fail (and change nothing) while true.
    void SetFailing(bool failing);

  private:
    std::atomic<bool> m_enabled;
    std::atomic<bool> m_failing{false};
};

}  // namespace kestrix
