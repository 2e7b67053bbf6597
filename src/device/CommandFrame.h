// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrix {

// The 65-byte request/answer buffer: report ID 0x00, the 32-byte command frame, 32 zeros.
using ReportBuffer = std::array<uint8_t, 65>;

// Command codes of the configuration interface.
namespace command {
inline constexpr uint8_t kReportRate = 0x02;
inline constexpr uint8_t kDpiStages = 0x03;
inline constexpr uint8_t kDpiColours = 0x04;
inline constexpr uint8_t kLighting = 0x05;
inline constexpr uint8_t kLiftOff = 0x06;
inline constexpr uint8_t kSleep = 0x07;
inline constexpr uint8_t kMacro = 0x08;
inline constexpr uint8_t kButtons = 0x09;
inline constexpr uint8_t kRestoreLighting = 0x0E;
inline constexpr uint8_t kRestoreFactory = 0x0F;
inline constexpr uint8_t kIdentity = 0x10;
inline constexpr uint8_t kPrepareRead = 0x11;
inline constexpr uint8_t kReadReportRate = 0x12;
inline constexpr uint8_t kReadDpiStages = 0x13;
inline constexpr uint8_t kReadDpiColours = 0x14;
inline constexpr uint8_t kReadLighting = 0x15;
inline constexpr uint8_t kReadLiftOff = 0x16;
inline constexpr uint8_t kReadSleep = 0x17;
inline constexpr uint8_t kReadFirmwareVersion = 0x20;
// First two bytes of the selected-button report, the one request outside the frame.
inline constexpr uint8_t kSelectedButton = 0x52;
}  // namespace command

// Unsolicited input reports (first byte).
inline constexpr uint8_t kDpiChangeReport = 0xC2;
inline constexpr uint8_t kLinkReport = 0xC0;

// Frame layout within a frame (buffer byte = frame offset + 1 in a request).
inline constexpr size_t kFrameSize = 32;
inline constexpr size_t kFrameDataOffset = 4;
inline constexpr size_t kFrameDataSize = 27;
inline constexpr size_t kFrameChecksumOffset = 31;
// Answer status byte (answer offset 1): 0 = accepted.
inline constexpr uint8_t kStatusAccepted = 0x00;

// Write lengths handed to hid_write.
inline constexpr size_t kShortWrite = 33;
inline constexpr size_t kLongWrite = 65;

// Multi-packet writes carry a 4-bit packet count.
inline constexpr size_t kMaxPackets = 15;

// The write length of a command code: 65 for 0x02, 0x04 to 0x07; 33 for everything else.
size_t WriteLengthOf(uint8_t commandCode);

// Checksum of a request buffer: the sum of buffer bytes 5 to 31 (frame offsets 4 to 30), mod 256.
uint8_t FrameChecksum(const ReportBuffer& buffer);
// Stores FrameChecksum at buffer byte 32 (frame offset 31).
void StoreChecksum(ReportBuffer& buffer);

// A zero-filled request: report ID 0, then [code, 0x00, packet field, count byte, data...],
// checksum stored. Data beyond 27 bytes is ignored.
ReportBuffer BuildRequest(uint8_t commandCode, uint8_t packetField, uint8_t countByte,
                          std::span<const uint8_t> data = {});
// A read request [code, 0, 0, 0].
ReportBuffer BuildReadRequest(uint8_t commandCode);
// A single-packet write [code, 0x00, 0x01, countByte, data...].
ReportBuffer BuildWriteRequest(uint8_t commandCode, uint8_t countByte,
                               std::span<const uint8_t> data);

// Result of cutting a multi-packet payload.
struct PacketSplit {
    std::vector<ReportBuffer> packets;
    bool truncated = false;  // the payload needed more than 15 packets and was cut
};

// Cuts data into 27-byte chunks, one request each: frame byte 2 = (index << 4) | count,
// frame byte 3 = bytes in this packet. At most 15 packets; the rest is cut off (truncated).
// Empty data gives one packet with count byte 0.
PacketSplit SplitIntoPackets(uint8_t commandCode, std::span<const uint8_t> data);

}  // namespace kestrix
