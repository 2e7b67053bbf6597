// SPDX-License-Identifier: MIT
#include "device/CommandFrame.h"

#include <algorithm>

namespace kestrix {

size_t WriteLengthOf(uint8_t commandCode) {
    switch (commandCode) {
        case command::kReportRate:
        case command::kDpiColours:
        case command::kLighting:
        case command::kLiftOff:
        case command::kSleep:
            return kLongWrite;
        default:
            return kShortWrite;
    }
}

uint8_t FrameChecksum(const ReportBuffer& buffer) {
    unsigned sum = 0;
    for (size_t i = 1 + kFrameDataOffset; i < 1 + kFrameChecksumOffset; ++i) {
        sum += buffer[i];
    }
    return static_cast<uint8_t>(sum & 0xFF);
}

void StoreChecksum(ReportBuffer& buffer) {
    buffer[1 + kFrameChecksumOffset] = FrameChecksum(buffer);
}

ReportBuffer BuildRequest(uint8_t commandCode, uint8_t packetField, uint8_t countByte,
                          std::span<const uint8_t> data) {
    ReportBuffer buffer{};
    buffer[1] = commandCode;
    buffer[3] = packetField;
    buffer[4] = countByte;
    const size_t size = std::min(data.size(), kFrameDataSize);
    std::copy_n(data.begin(), size, buffer.begin() + 1 + kFrameDataOffset);
    StoreChecksum(buffer);
    return buffer;
}

ReportBuffer BuildReadRequest(uint8_t commandCode) { return BuildRequest(commandCode, 0x00, 0x00); }

ReportBuffer BuildWriteRequest(uint8_t commandCode, uint8_t countByte,
                               std::span<const uint8_t> data) {
    return BuildRequest(commandCode, 0x01, countByte, data);
}

PacketSplit SplitIntoPackets(uint8_t commandCode, std::span<const uint8_t> data) {
    PacketSplit split;
    size_t count = (data.size() + kFrameDataSize - 1) / kFrameDataSize;
    if (count == 0) {
        count = 1;
    }
    if (count > kMaxPackets) {
        count = kMaxPackets;
        split.truncated = true;
    }
    for (size_t index = 0; index < count; ++index) {
        const size_t begin = std::min(index * kFrameDataSize, data.size());
        const size_t size = std::min(kFrameDataSize, data.size() - begin);
        const auto packetField = static_cast<uint8_t>((index << 4) | count);
        split.packets.push_back(BuildRequest(commandCode, packetField, static_cast<uint8_t>(size),
                                             data.subspan(begin, size)));
    }
    return split;
}

}  // namespace kestrix
