// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "sim/SimFirmware.h"
#include "sim/SimMouseModel.h"
#include "sim/SimMouseState.h"

namespace kestrix {

// The firmware of a simulated mouse: answers every command of the configuration protocol
// from and into the state it keeps, reassembles multi-packet macros, and sends DPI-change
// reports when its DPI button is pressed. Requests with a wrong checksum, an unknown command
// or an out-of-sequence macro packet are answered with status 0x01.
class SimMouse : public SimFirmware {
  public:
    // A mouse of model in its factory state, answering identityCode in identity bytes 4 to 7.
    SimMouse(const SimMouseModel& model, std::string identityCode);

    void HandleOutput(const uint8_t* report, size_t length,
                      std::vector<SimReport>& answers) override;
    void SetUnsolicitedSink(SimReportSink sink) override;

    // A copy of the state (safe while another thread exchanges with the mouse).
    SimMouseState State() const;
    // Replaces the state.
    void SetState(const SimMouseState& state);
    // The model this mouse is.
    const SimMouseModel& Model() const { return m_model; }
    // The identity answer's data bytes (answer offsets 4 to 14) with this code and online flag.
    SimReport IdentityAnswer(const std::string& identityCode, bool online) const;
    // DPI of stage k by the model's sensor rule (first copy of the raw code).
    int StageDpi(size_t stage) const;
    // How many requests with this command code reached the mouse.
    int CommandCount(uint8_t commandCode) const;
    // Number of factory resets (0x0F) and lighting restores (0x0E) performed.
    int FactoryResets() const;
    int LightingRestores() const;

    // The DPI button: selects the next stage and sends the 0xC2 report.
    void PressDpiButton();
    // Sets stage index and count and sends the 0xC2 report with them.
    void ChangeDpiStage(uint8_t index, uint8_t count);
    // Sets the battery values reported in the identity answer and link reports.
    void SetBattery(uint8_t chargeState, uint8_t level);

  private:
    SimReport IdentityDataLocked(const std::string& identityCode, bool online) const;
    SimReport Answer(const uint8_t* frame, uint8_t status, const std::vector<uint8_t>& data) const;
    uint8_t HandleMacroPacket(const uint8_t* frame);
    void Emit(const SimReport& report);

    const SimMouseModel m_model;
    const std::string m_identityCode;
    mutable std::mutex m_mutex;
    SimMouseState m_state;
    SimReportSink m_sink;
    std::map<uint8_t, int> m_commandCounts;
    int m_factoryResets = 0;
    int m_lightingRestores = 0;
    // Macro being reassembled from 0x08 packets.
    bool m_assembling = false;
    int m_assemblyCount = 0;
    int m_assemblyNext = 0;
    std::vector<uint8_t> m_assembly;
};

}  // namespace kestrix
