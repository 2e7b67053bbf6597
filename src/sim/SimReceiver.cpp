// SPDX-License-Identifier: MIT
#include "sim/SimReceiver.h"

#include <algorithm>

#include "device/CommandFrame.h"

namespace kestrix {

SimReceiver::SimReceiver(std::shared_ptr<SimMouse> mouse, std::string identityCode, bool mouseOn)
    : m_mouse(std::move(mouse)), m_identityCode(std::move(identityCode)), m_mouseOn(mouseOn) {
    // The mouse's own reports (its DPI button) reach the host only while the link is up.
    m_mouse->SetUnsolicitedSink([this](const SimReport& report) {
        SimReportSink sink;
        {
            std::lock_guard lock(m_mutex);
            if (!m_mouseOn) {
                return;
            }
            sink = m_sink;
        }
        if (sink) {
            sink(report);
        }
    });
}

SimReceiver::~SimReceiver() { m_mouse->SetUnsolicitedSink({}); }

void SimReceiver::SetUnsolicitedSink(SimReportSink sink) {
    std::lock_guard lock(m_mutex);
    m_sink = std::move(sink);
}

bool SimReceiver::IsMouseOn() const {
    std::lock_guard lock(m_mutex);
    return m_mouseOn;
}

void SimReceiver::SetAnswerIdentityWhileOff(bool answer) {
    std::lock_guard lock(m_mutex);
    m_identityWhileOff = answer;
}

void SimReceiver::SetMouseOn(bool on) {
    SimReportSink sink;
    {
        std::lock_guard lock(m_mutex);
        m_mouseOn = on;
        sink = m_sink;
    }
    const SimMouseState state = m_mouse->State();
    SimReport report(kSimReportSize, 0);
    report[0] = kLinkReport;
    report[1] = on ? 1 : 0;
    report[2] = on ? state.batteryB : 0;
    report[3] = on ? state.batteryA : 0;
    if (sink) {
        sink(report);
    }
}

void SimReceiver::HandleOutput(const uint8_t* report, size_t length,
                               std::vector<SimReport>& answers) {
    if (length < 1 + kFrameSize) {
        return;
    }
    bool on = false;
    bool identityWhileOff = false;
    {
        std::lock_guard lock(m_mutex);
        on = m_mouseOn;
        identityWhileOff = m_identityWhileOff;
    }
    const uint8_t* frame = report + 1;
    const bool identity = report[0] == 0x00 && frame[0] == command::kIdentity;
    if (!on) {
        if (identity && identityWhileOff) {
            SimReport answer(kSimReportSize, 0);
            answer[0] = command::kIdentity;
            const SimReport data = m_mouse->IdentityAnswer(m_identityCode, false);
            std::copy(data.begin(), data.end(), answer.begin() + kFrameDataOffset);
            unsigned sum = 0;
            for (size_t i = kFrameDataOffset; i < kFrameChecksumOffset; ++i) {
                sum += answer[i];
            }
            answer[kFrameChecksumOffset] = static_cast<uint8_t>(sum & 0xFF);
            answers.push_back(answer);
        }
        return;
    }
    const size_t first = answers.size();
    m_mouse->HandleOutput(report, length, answers);
    if (identity) {
        // Through the receiver the identity carries the receiver's code.
        for (size_t i = first; i < answers.size(); ++i) {
            SimReport& answer = answers[i];
            if (answer[1] != kStatusAccepted) {
                continue;
            }
            for (size_t k = 0; k < 4; ++k) {
                answer[kFrameDataOffset + k] =
                    k < m_identityCode.size() ? static_cast<uint8_t>(m_identityCode[k]) : 0;
            }
            unsigned sum = 0;
            for (size_t k = kFrameDataOffset; k < kFrameChecksumOffset; ++k) {
                sum += answer[k];
            }
            answer[kFrameChecksumOffset] = static_cast<uint8_t>(sum & 0xFF);
        }
    }
}

}  // namespace kestrix
