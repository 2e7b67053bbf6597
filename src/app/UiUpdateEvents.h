// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "update/UpdateEvents.h"

namespace kestrix {

// The update-events observer the worker's update flows talk to: every call is handed to the
// UI thread (DUI::PostToUiThread, the queue the device events use too) and made there on
// target, in the order the worker made the calls. After Detach, calls still queued are
// dropped, so a closing window is never reached.
class UiUpdateEvents final : public UpdateEvents {
  public:
    // target receives the calls on the UI thread; it must stay alive until Detach.
    explicit UiUpdateEvents(UpdateEvents& target);
    ~UiUpdateEvents() override;

    // Drops every call not yet made (UI thread, once the worker has stopped).
    void Detach();

    void ShowApplicationCheck(const std::string& latestVersion, const std::string& label,
                              bool updateEnabled) override;
    void ShowFirmwareCheck(const std::string& latestFirmware, const std::string& label,
                           int state) override;
    void FirmwareStep(int textId, int percent) override;
    void DownloadFailed() override;

  private:
    // Queues call for the UI thread unless detached by then.
    void Post(std::function<void(UpdateEvents&)> call);

    UpdateEvents& m_target;
    std::shared_ptr<std::atomic<bool>> m_attached;
};

}  // namespace kestrix
