// SPDX-License-Identifier: MIT
#include "app/UiUpdateEvents.h"

#include "ui/UiThread.h"

namespace kestrix {

UiUpdateEvents::UiUpdateEvents(UpdateEvents& target)
    : m_target(target), m_attached(std::make_shared<std::atomic<bool>>(true)) {}

UiUpdateEvents::~UiUpdateEvents() { Detach(); }

void UiUpdateEvents::Detach() { m_attached->store(false); }

void UiUpdateEvents::Post(std::function<void(UpdateEvents&)> call) {
    if (!m_attached->load()) return;
    DUI::PostToUiThread([attached = m_attached, target = &m_target, call = std::move(call)] {
        if (attached->load()) call(*target);
    });
}

void UiUpdateEvents::ShowApplicationCheck(const std::string& latestVersion,
                                          const std::string& label, bool updateEnabled) {
    Post([=](UpdateEvents& t) { t.ShowApplicationCheck(latestVersion, label, updateEnabled); });
}
void UiUpdateEvents::ShowFirmwareCheck(const std::string& latestFirmware, const std::string& label,
                                       int state) {
    Post([=](UpdateEvents& t) { t.ShowFirmwareCheck(latestFirmware, label, state); });
}
void UiUpdateEvents::FirmwareStep(int textId, int percent) {
    Post([=](UpdateEvents& t) { t.FirmwareStep(textId, percent); });
}
void UiUpdateEvents::DownloadFailed() {
    Post([](UpdateEvents& t) { t.DownloadFailed(); });
}

}  // namespace kestrix
