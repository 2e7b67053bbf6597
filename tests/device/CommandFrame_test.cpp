// SPDX-License-Identifier: MIT
#include "device/CommandFrame.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace kestrix {
namespace {

TEST(CommandFrame, ChecksumCoversFrameBytesFourToThirtyOnly) {
    ReportBuffer buffer{};
    buffer[1] = 0x02;  // command, status, packet field and count byte are outside the sum
    buffer[3] = 0x01;
    buffer[4] = 0x25;
    EXPECT_EQ(FrameChecksum(buffer), 0x00);
    buffer[5] = 0xF0;   // frame offset 4
    buffer[31] = 0x20;  // frame offset 30
    buffer[33] = 0x77;  // beyond the frame: not summed even in a 65-byte write
    buffer[64] = 0x55;
    EXPECT_EQ(FrameChecksum(buffer), 0x10);  // (0xF0 + 0x20) mod 256
}

TEST(CommandFrame, WriteLengths) {
    const struct {
        uint8_t code;
        size_t length;
    } cases[] = {{0x02, 65}, {0x03, 33}, {0x04, 65}, {0x05, 65}, {0x06, 65},
                 {0x07, 65}, {0x08, 33}, {0x09, 33}, {0x0E, 33}, {0x0F, 33},
                 {0x10, 33}, {0x12, 33}, {0x17, 33}, {0x20, 33}};
    for (const auto& c : cases) {
        EXPECT_EQ(WriteLengthOf(c.code), c.length) << "command " << int(c.code);
    }
}

TEST(CommandFrame, ReportRateWriteBytes) {
    const uint8_t data[] = {0x01};
    const ReportBuffer buffer = BuildWriteRequest(command::kReportRate, 0x01, data);
    ReportBuffer expected{};
    expected[1] = 0x02;
    expected[3] = 0x01;
    expected[4] = 0x01;
    expected[5] = 0x01;
    expected[32] = 0x01;
    EXPECT_EQ(buffer, expected);
}

std::vector<uint8_t> Payload(size_t size) {
    std::vector<uint8_t> data(size);
    std::iota(data.begin(), data.end(), uint8_t{1});
    return data;
}

TEST(CommandFrame, MacroPacketFields) {
    const struct {
        size_t events;
        std::vector<uint8_t> packetFields;
        std::vector<uint8_t> countBytes;
        bool truncated;
    } cases[] = {
        {6, {0x01}, {25}, false},
        {7, {0x02, 0x12}, {27, 2}, false},
        {13, {0x02, 0x12}, {27, 26}, false},
        {101,
         {0x0F, 0x1F, 0x2F, 0x3F, 0x4F, 0x5F, 0x6F, 0x7F, 0x8F, 0x9F, 0xAF, 0xBF, 0xCF, 0xDF, 0xEF},
         {27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27},
         false},
        {102,
         {0x0F, 0x1F, 0x2F, 0x3F, 0x4F, 0x5F, 0x6F, 0x7F, 0x8F, 0x9F, 0xAF, 0xBF, 0xCF, 0xDF, 0xEF},
         {27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27},
         true},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> data = Payload(4 * c.events + 1);
        const PacketSplit split = SplitIntoPackets(command::kMacro, data);
        ASSERT_EQ(split.packets.size(), c.packetFields.size()) << c.events << " events";
        EXPECT_EQ(split.truncated, c.truncated) << c.events << " events";
        size_t offset = 0;
        for (size_t i = 0; i < split.packets.size(); ++i) {
            const ReportBuffer& packet = split.packets[i];
            EXPECT_EQ(packet[1], 0x08);
            EXPECT_EQ(packet[3], c.packetFields[i]) << c.events << " events, packet " << i;
            EXPECT_EQ(packet[4], c.countBytes[i]) << c.events << " events, packet " << i;
            for (size_t k = 0; k < c.countBytes[i]; ++k) {
                ASSERT_EQ(packet[5 + k], data[offset + k]);
            }
            offset += c.countBytes[i];
            EXPECT_EQ(packet[32], FrameChecksum(packet));
        }
    }
}

}  // namespace
}  // namespace kestrix
