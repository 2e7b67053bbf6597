// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "base/Text.h"
#include "device/DeviceEvents.h"

namespace kestrix {

// Device-events observer for tests: records every call as one text line, e.g.
// "SetCaption(52)", in the order the worker made them. Thread-safe.
class RecordingObserver : public DeviceEvents {
  public:
    void SetCaption(int textId) override { Add(Format("SetCaption(%d)", textId)); }
    void ShowDevicePages(bool show) override { Add(Format("ShowDevicePages(%d)", show)); }
    void SelectTab(int index) override { Add(Format("SelectTab(%d)", index)); }
    void ShowNoDevicePanel(bool show) override { Add(Format("ShowNoDevicePanel(%d)", show)); }
    void SetAllDeviceState(int state) override { Add(Format("SetAllDeviceState(%d)", state)); }
    void SetDeviceState(int model, int mode, int state) override {
        Add(Format("SetDeviceState(%d,%d,%d)", model, mode, state));
    }
    void SetDeviceVersion(int model, unsigned release) override {
        Add(Format("SetDeviceVersion(%d,%u)", model, release));
    }
    void SetDeviceBattery(int model, int a, int b) override {
        Add(Format("SetDeviceBattery(%d,%d,%d)", model, a, b));
    }
    void SelectDevice(int model) override { Add(Format("SelectDevice(%d)", model)); }
    void SetBatteryInfo(int level, int charge) override {
        Add(Format("SetBatteryInfo(%d,%d)", level, charge));
    }
    void ShowFirmwareVersion(const std::string& text) override {
        Add("ShowFirmwareVersion(" + text + ")");
    }
    void SetDpiSliderRange(const std::string& low, const std::string& high, int steps) override {
        Add(Format("SetDpiSliderRange(%s,%s,%d)", low.c_str(), high.c_str(), steps));
    }
    void SelectStageCount(int count) override { Add(Format("SelectStageCount(%d)", count)); }
    void SelectStageIndex(int index) override { Add(Format("SelectStageIndex(%d)", index)); }
    void SetDpiSliderPosition(int value) override {
        Add(Format("SetDpiSliderPosition(%d)", value));
    }
    void ShowDpiIndicator(int dpi) override { Add(Format("ShowDpiIndicator(%d)", dpi)); }
    void RefreshEditorPages() override { Add("RefreshEditorPages"); }
    void ReapplyPageState() override { Add("ReapplyPageState"); }
    void RefreshDpiPage() override { Add("RefreshDpiPage"); }
    void RefreshLightingPage() override { Add("RefreshLightingPage"); }
    void RefreshDevicePages() override { Add("RefreshDevicePages"); }
    void CloseTransientWindows() override { Add("CloseTransientWindows"); }
    void StopMacroRecording() override { Add("StopMacroRecording"); }
    void UpdateAvailable(int kind) override { Add(Format("UpdateAvailable(%d)", kind)); }
    void UpdateProgress(int percent) override { Add(Format("UpdateProgress(%d)", percent)); }
    void FirmwareProgress(int percent) override { Add(Format("FirmwareProgress(%d)", percent)); }
    void CloseFirmwareWindow() override { Add("CloseFirmwareWindow"); }

    // Every call recorded so far.
    std::vector<std::string> Calls() const {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    // Forgets what was recorded.
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_calls.clear();
    }
    // How often exactly this call was recorded.
    size_t Count(const std::string& call) const {
        std::lock_guard lock(m_mutex);
        return static_cast<size_t>(std::count(m_calls.begin(), m_calls.end(), call));
    }
    // True when the calls contain want as an ordered (not necessarily adjacent) subsequence.
    bool ContainsInOrder(const std::vector<std::string>& want) const {
        std::lock_guard lock(m_mutex);
        size_t next = 0;
        for (const std::string& call : m_calls) {
            if (next < want.size() && call == want[next]) ++next;
        }
        return next == want.size();
    }

  private:
    void Add(std::string call) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

}  // namespace kestrix
