// SPDX-License-Identifier: MIT
#include "device/HidTrace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace kestrix {
namespace {

TEST(HidTrace, LineFormatAndFile) {
    const uint8_t bytes[] = {0x00, 0x0A, 0xFF, 0x5c};
    EXPECT_EQ(HidTrace::FormatLine('W', "/dev/hidraw1", bytes, 4), "W /dev/hidraw1 00 0A FF 5C");
    EXPECT_EQ(HidTrace::FormatLine('R', "p", bytes, 0), "R p");

    const auto path = std::filesystem::temp_directory_path() /
                      ("hidtrace-" + std::to_string(::getpid()) + ".txt");
    ASSERT_TRUE(HidTrace::SetFile(path.string()));
    EXPECT_TRUE(HidTrace::Enabled());
    HidTrace::Record('R', "sim/a/if2", bytes, 2);
    HidTrace::CloseFile();
    EXPECT_FALSE(HidTrace::Enabled());
    HidTrace::Record('W', "sim/a/if2", bytes, 2);  // not recorded any more
    std::ifstream file(path);
    std::string line;
    ASSERT_TRUE(std::getline(file, line));
    EXPECT_EQ(line, "R sim/a/if2 00 0A");
    EXPECT_FALSE(std::getline(file, line));
    std::filesystem::remove(path);
    EXPECT_FALSE(HidTrace::SetFile("/nonexistent-dir/trace.txt"));
}

}  // namespace
}  // namespace kestrix
