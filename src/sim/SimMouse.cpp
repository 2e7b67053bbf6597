// SPDX-License-Identifier: MIT
#include "sim/SimMouse.h"

#include <algorithm>

#include "device/CommandFrame.h"
#include "sim/SimSensorTable.h"

namespace kestrix {
namespace {

uint8_t FrameSum(const uint8_t* frame) {
    unsigned sum = 0;
    for (size_t i = kFrameDataOffset; i < kFrameChecksumOffset; ++i) {
        sum += frame[i];
    }
    return static_cast<uint8_t>(sum & 0xFF);
}

void PushColour(std::vector<uint8_t>& data, uint32_t colour) {
    data.push_back(static_cast<uint8_t>(colour & 0xFF));
    data.push_back(static_cast<uint8_t>((colour >> 8) & 0xFF));
    data.push_back(static_cast<uint8_t>((colour >> 16) & 0xFF));
}

uint32_t ColourAt(const uint8_t* data) {
    return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
           static_cast<uint32_t>(data[2]) << 16;
}

std::vector<SimMacroEvent> DecodeEvents(const std::vector<uint8_t>& bytes) {
    std::vector<SimMacroEvent> events;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        events.push_back(
            {bytes[i], static_cast<uint16_t>(bytes[i + 1] | bytes[i + 2] << 8), bytes[i + 3]});
    }
    return events;
}

// Lighting effects that carry colours: 2 (count byte, then up to 7 colours) and 3 (one colour).
constexpr uint8_t kEffectColourCycle = 2;
constexpr uint8_t kEffectSingleColour = 3;
constexpr size_t kMaxCycleColours = 7;
constexpr uint8_t kRestoreLightingData = 0x01;
constexpr uint8_t kRestoreFactoryData = 0xFF;

}  // namespace

SimMouse::SimMouse(const SimMouseModel& model, std::string identityCode)
    : m_model(model), m_identityCode(std::move(identityCode)), m_state(model.factory) {}

void SimMouse::SetUnsolicitedSink(SimReportSink sink) {
    std::lock_guard lock(m_mutex);
    m_sink = std::move(sink);
}

SimMouseState SimMouse::State() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

void SimMouse::SetState(const SimMouseState& state) {
    std::lock_guard lock(m_mutex);
    m_state = state;
}

int SimMouse::StageDpi(size_t stage) const {
    std::lock_guard lock(m_mutex);
    return stage < m_state.dpiRaw.size() ? SimStageDpi(m_model.sensorCode, m_state.dpiRaw[stage])
                                         : 0;
}

int SimMouse::CommandCount(uint8_t commandCode) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_commandCounts.find(commandCode);
    return found == m_commandCounts.end() ? 0 : found->second;
}

int SimMouse::FactoryResets() const {
    std::lock_guard lock(m_mutex);
    return m_factoryResets;
}

int SimMouse::LightingRestores() const {
    std::lock_guard lock(m_mutex);
    return m_lightingRestores;
}

SimReport SimMouse::IdentityAnswer(const std::string& identityCode, bool online) const {
    std::lock_guard lock(m_mutex);
    return IdentityDataLocked(identityCode, online);
}

SimReport SimMouse::IdentityDataLocked(const std::string& identityCode, bool online) const {
    SimReport data(11, 0);
    for (size_t i = 0; i < 4 && i < identityCode.size(); ++i) {
        data[i] = static_cast<uint8_t>(identityCode[i]);
    }
    data[4] = static_cast<uint8_t>(m_model.sensorWord & 0xFF);
    data[5] = static_cast<uint8_t>(m_model.sensorWord >> 8);
    data[6] = m_model.sensorCode;
    data[7] = m_model.rateCapability;
    data[8] = m_state.batteryA;
    data[9] = m_state.batteryB;
    data[10] = online ? 1 : 0;
    return data;
}

SimReport SimMouse::Answer(const uint8_t* frame, uint8_t status,
                           const std::vector<uint8_t>& data) const {
    SimReport answer(kSimReportSize, 0);
    answer[0] = frame[0];
    answer[1] = status;
    answer[2] = frame[2];
    answer[3] = frame[3];
    std::copy_n(data.begin(), std::min(data.size(), kFrameDataSize),
                answer.begin() + kFrameDataOffset);
    answer[kFrameChecksumOffset] = FrameSum(answer.data());
    return answer;
}

uint8_t SimMouse::HandleMacroPacket(const uint8_t* frame) {
    const int index = frame[2] >> 4;
    const int count = frame[2] & 0x0F;
    const size_t bytes = std::min<size_t>(frame[3], kFrameDataSize);
    if (count == 0) {
        m_assembling = false;
        return kSimStatusRejected;
    }
    if (index == 0) {
        m_assembling = true;
        m_assemblyCount = count;
        m_assemblyNext = 0;
        m_assembly.clear();
    } else if (!m_assembling || index != m_assemblyNext || count != m_assemblyCount) {
        m_assembling = false;  // a packet out of sequence discards the macro being received
        return kSimStatusRejected;
    }
    m_assembly.insert(m_assembly.end(), frame + kFrameDataOffset, frame + kFrameDataOffset + bytes);
    ++m_assemblyNext;
    if (m_assemblyNext < m_assemblyCount) {
        return kStatusAccepted;
    }
    m_assembling = false;
    if (m_assembly.empty()) {
        return kSimStatusRejected;
    }
    SimMacro macro;
    macro.eventBytes.assign(m_assembly.begin() + 1, m_assembly.end());
    macro.events = DecodeEvents(macro.eventBytes);
    macro.packets = m_assemblyCount;
    m_state.macros[m_assembly[0]] = std::move(macro);
    return kStatusAccepted;
}

void SimMouse::HandleOutput(const uint8_t* report, size_t length, std::vector<SimReport>& answers) {
    if (length < 1 + kFrameSize) {
        return;
    }
    const uint8_t reportId = report[0];
    const uint8_t* frame = report + 1;
    std::lock_guard lock(m_mutex);
    if (reportId == command::kSelectedButton) {
        // The selected-button report: [0x52 0x52 key 0x00 ...]; acknowledged like a command.
        ++m_commandCounts[command::kSelectedButton];
        m_state.selectedButton = frame[1];
        answers.push_back(Answer(frame, kStatusAccepted, {}));
        return;
    }
    if (reportId != 0x00) {
        return;  // no such output report
    }
    const uint8_t code = frame[0];
    ++m_commandCounts[code];
    if (frame[kFrameChecksumOffset] != FrameSum(frame)) {
        answers.push_back(Answer(frame, kSimStatusRejected, {}));
        return;
    }
    const uint8_t* d = frame + kFrameDataOffset;
    std::vector<uint8_t> out;
    uint8_t status = kStatusAccepted;
    SimMouseState& s = m_state;
    switch (code) {
        case command::kReportRate:
            s.reportRate = d[0];
            break;
        case command::kDpiStages:
            s.dpiIndex = d[0] >> 4;
            s.dpiCount = d[0] & 0x0F;
            for (size_t k = 0; k < 6; ++k) {
                s.dpiRaw[k] = static_cast<uint16_t>(d[1 + 4 * k] | d[2 + 4 * k] << 8);
                s.dpiRawCopy[k] = static_cast<uint16_t>(d[3 + 4 * k] | d[4 + 4 * k] << 8);
            }
            break;
        case command::kDpiColours:
            for (size_t k = 0; k < 6; ++k) {
                s.dpiColours[k] = ColourAt(d + 3 * k);
            }
            break;
        case command::kLighting: {
            if (!m_model.lighting) {
                status = kSimStatusRejected;
                break;
            }
            s.lightingEffect = d[0];
            SimLightingEffect effect;
            effect.brightness = d[1] >> 4;
            effect.speed = d[1] & 0x0F;
            if (d[0] == kEffectColourCycle) {
                const size_t colours = std::min<size_t>(d[2], kMaxCycleColours);
                for (size_t i = 0; i < colours; ++i) {
                    effect.colours.push_back(ColourAt(d + 3 + 3 * i));
                }
            } else if (d[0] == kEffectSingleColour) {
                effect.colours.push_back(ColourAt(d + 2));
            }
            s.lighting[d[0]] = effect;
            break;
        }
        case command::kLiftOff:
            s.liftOff = d[0];
            s.sensorOptionA = d[1];
            s.sensorOptionB = d[2];
            break;
        case command::kSleep:
            s.sleepLight = d[0];
            s.moveWakeup = d[1];
            s.moveCloseLight = d[2];
            s.buttonResponseTime = d[3];
            break;
        case command::kMacro:
            status = HandleMacroPacket(frame);
            break;
        case command::kButtons:
            std::copy_n(d, s.buttonTable.size(), s.buttonTable.begin());
            break;
        case command::kRestoreLighting:
            if (d[0] != kRestoreLightingData) {
                status = kSimStatusRejected;
                break;
            }
            s.lightingEffect = m_model.factory.lightingEffect;
            s.lighting = m_model.factory.lighting;
            ++m_lightingRestores;
            break;
        case command::kRestoreFactory: {
            if (d[0] != kRestoreFactoryData) {
                status = kSimStatusRejected;
                break;
            }
            const uint8_t batteryA = s.batteryA;
            const uint8_t batteryB = s.batteryB;
            s = m_model.factory;
            s.batteryA = batteryA;
            s.batteryB = batteryB;
            m_assembling = false;
            ++m_factoryResets;
            break;
        }
        case command::kIdentity: {
            out = IdentityDataLocked(m_identityCode, true);
            break;
        }
        case command::kPrepareRead:
            break;
        case command::kReadReportRate:
            out = {s.reportRate};
            break;
        case command::kReadDpiStages:
            out.push_back(static_cast<uint8_t>(s.dpiIndex << 4 | (s.dpiCount & 0x0F)));
            for (size_t k = 0; k < 6; ++k) {
                out.push_back(static_cast<uint8_t>(s.dpiRaw[k] & 0xFF));
                out.push_back(static_cast<uint8_t>(s.dpiRaw[k] >> 8));
                out.push_back(static_cast<uint8_t>(s.dpiRawCopy[k] & 0xFF));
                out.push_back(static_cast<uint8_t>(s.dpiRawCopy[k] >> 8));
            }
            break;
        case command::kReadDpiColours:
            for (uint32_t colour : s.dpiColours) {
                PushColour(out, colour);
            }
            break;
        case command::kReadLighting: {
            if (!m_model.lighting) {
                status = kSimStatusRejected;
                break;
            }
            const SimLightingEffect& effect = s.lighting[s.lightingEffect];
            out.push_back(s.lightingEffect);
            out.push_back(
                static_cast<uint8_t>((effect.brightness & 0x0F) << 4 | (effect.speed & 0x0F)));
            if (s.lightingEffect == kEffectColourCycle) {
                out.push_back(static_cast<uint8_t>(effect.colours.size()));
            }
            if (s.lightingEffect == kEffectColourCycle || s.lightingEffect == kEffectSingleColour) {
                for (uint32_t colour : effect.colours) {
                    PushColour(out, colour);
                }
            }
            break;
        }
        case command::kReadLiftOff:
            out = {s.liftOff, s.sensorOptionA, s.sensorOptionB, 0, 0};
            break;
        case command::kReadSleep:
            out = {s.sleepLight, s.moveWakeup, s.moveCloseLight, s.buttonResponseTime};
            break;
        case command::kReadFirmwareVersion:
            out = {m_model.firmwareMajor, m_model.firmwareMinor};
            break;
        default:
            status = kSimStatusRejected;
            break;
    }
    answers.push_back(Answer(frame, status, out));
}

void SimMouse::Emit(const SimReport& report) {
    SimReportSink sink;
    {
        std::lock_guard lock(m_mutex);
        sink = m_sink;
    }
    if (sink) {
        sink(report);
    }
}

void SimMouse::PressDpiButton() {
    uint8_t index = 0;
    uint8_t count = 0;
    {
        std::lock_guard lock(m_mutex);
        const uint8_t stages = std::max<uint8_t>(1, m_state.dpiCount);
        m_state.dpiIndex = static_cast<uint8_t>((m_state.dpiIndex + 1) % stages);
        index = m_state.dpiIndex;
        count = m_state.dpiCount;
    }
    SimReport report(kSimReportSize, 0);
    report[0] = kDpiChangeReport;
    report[1] = static_cast<uint8_t>(index << 4 | (count & 0x0F));
    Emit(report);
}

void SimMouse::ChangeDpiStage(uint8_t index, uint8_t count) {
    {
        std::lock_guard lock(m_mutex);
        m_state.dpiIndex = index;
        m_state.dpiCount = count;
    }
    SimReport report(kSimReportSize, 0);
    report[0] = kDpiChangeReport;
    report[1] = static_cast<uint8_t>((index & 0x0F) << 4 | (count & 0x0F));
    Emit(report);
}

void SimMouse::SetBattery(uint8_t chargeState, uint8_t level) {
    std::lock_guard lock(m_mutex);
    m_state.batteryA = chargeState;
    m_state.batteryB = level;
}

}  // namespace kestrix
