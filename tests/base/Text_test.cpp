// SPDX-License-Identifier: MIT
#include "base/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrix {
namespace {

TEST(Text, ParseDecimalReadsLikeThePlainConversion) {
    struct Case {
        std::string text;
        int value;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"0", 0},
        {"42", 42},
        {"  17", 17},
        {"+5", 5},
        {"-12", -12},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {" - 3", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 0},  // overflow reads as 0 rather than wrapping
        {"-2147483649", 0},
        {"99999999999999999999999", 0},
        {"0000000000000000000000042", 42},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Text, ParseHexReadsUsbIdsInEitherCase) {
    struct Case {
        std::string text;
        unsigned value;
    };
    const std::vector<Case> cases = {
        {"0a1f", 0x0A1F},          {"0A1F", 0x0A1F}, {"1209", 0x1209}, {"5a0B", 0x5A0B},
        {"0x1209", 0x1209},        {"", 0},          {"zz", 0},        {"12g4", 0x12},
        {"FFFFFFFF", 0xFFFFFFFFu}, {"100000000", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseHex(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Text, FormatHandlesLongOutput) {
    EXPECT_EQ(Format("%s/device/%s.xml", "/opt/k", "vireo"), "/opt/k/device/vireo.xml");
    EXPECT_EQ(Format("%02X %02X", 0x5A, 0x1), "5A 01");
    const std::string big(5000, 'x');
    EXPECT_EQ(Format("[%s]", big.c_str()), "[" + big + "]");
    EXPECT_EQ(Format("%s", ""), "");
}

}  // namespace
}  // namespace kestrix
