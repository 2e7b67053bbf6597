// SPDX-License-Identifier: MIT
#include "sim/SimBootLoader.h"

#include "device/Crc16Modbus.h"

namespace kestrix {
namespace {

constexpr uint8_t kBootPrefix0 = 0x05;
constexpr uint8_t kBootPrefix1 = 0x02;
constexpr uint8_t kEnterKind = 0x02;
constexpr uint8_t kEnterData = 0x01;
constexpr uint8_t kFinishKind = 0x06;
constexpr uint8_t kFinishData = 0x02;
constexpr size_t kFirstRecordOffset = 4;
constexpr size_t kMaxRecords = 3;

}  // namespace

SimBootLoaderState SimBootLoader::State() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

void SimBootLoader::HandleOutput(const uint8_t* report, size_t length,
                                 std::vector<SimReport>& answers) {
    std::lock_guard lock(m_mutex);
    uint8_t status = 0;
    const uint8_t kind = length >= 5 ? report[2] : 0;
    const bool framed = length >= kBootReportSize && report[0] == kBootPrefix0 &&
                        report[1] == kBootPrefix1 && report[3] == 0;
    if (framed && kind == kEnterKind && report[4] == kEnterData) {
        m_state = {};
        m_state.entered = true;
    } else if (framed && kind == kFinishKind && report[4] == kFinishData) {
        m_state.finished = m_state.entered;
    } else if (framed && kind != 0 && kind % kBootRecordSize == 0 &&
               kind / kBootRecordSize <= kMaxRecords) {
        const size_t records = kind / kBootRecordSize;
        for (size_t r = 0; r < records; ++r) {
            const uint8_t* record = report + kFirstRecordOffset + r * kBootRecordSize;
            const auto number = static_cast<int>(record[0] | record[1] << 8);
            const auto check = static_cast<uint16_t>(record[18] | record[19] << 8);
            if (Crc16Modbus(record, 18) != check) {
                ++m_state.crcErrors;
                status = 1;
            } else if (!m_state.entered || m_state.finished || number != m_state.records) {
                ++m_state.sequenceErrors;
                status = 1;
            } else {
                m_state.image.insert(m_state.image.end(), record + 2, record + 2 + kBootRecordData);
                ++m_state.records;
            }
        }
    } else {
        ++m_state.badReports;
        status = 1;
    }
    SimReport ack(kBootReportSize, 0xFF);
    ack[0] = kBootPrefix0;
    ack[1] = kBootPrefix1;
    ack[2] = kind;
    ack[3] = status;
    answers.push_back(ack);
}

}  // namespace kestrix
