// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace kestrix {

// The real HID back end: hidapi over Linux hidraw. hidraw does not pad writes, so every write
// is zero-padded to the interface's output report length taken from its report descriptor, as
// the Windows HID layer does.
class HidapiBackend : public HidBackend {
  public:
    HidapiBackend() = default;
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    bool Init() override;
    void Exit() override;
    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidHandle> Open(const std::string& path) override;
    bool ReadTopCollection(const std::string& path, uint16_t& usagePage, uint16_t& usage) override;
    bool LastOpenDenied() const override { return m_lastOpenDenied; }

    // The report descriptor of a hidraw node (sysfs first, then HIDIOCGRDESC); false when neither
    // works.
    static bool ReadReportDescriptor(const std::string& path, std::vector<uint8_t>& descriptor);

  private:
    bool m_initialised = false;
    bool m_lastOpenDenied = false;
};

}  // namespace kestrix
