// SPDX-License-Identifier: MIT
#include "sim/SimReceiver.h"

#include <gtest/gtest.h>

#include "device/SimTestBench.h"

namespace kestrix {
namespace {

TEST(SimReceiver, SwitchingTheMouseSendsLinkReportsAndGatesAnswers) {
    SimMouse* mouseSeen = nullptr;
    auto mouse = std::make_shared<SimMouse>(*FindSimModel("falco"), "FL02");
    mouseSeen = mouse.get();
    SimReceiver receiver(mouse, "FL2R", true);
    std::vector<SimReport> unsolicited;
    receiver.SetUnsolicitedSink([&](const SimReport& report) { unsolicited.push_back(report); });

    const ReportBuffer identity = BuildReadRequest(0x10);
    std::vector<SimReport> answers;
    receiver.HandleOutput(identity.data(), identity.size(), answers);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(std::string(answers[0].begin() + 4, answers[0].begin() + 8), "FL2R");
    EXPECT_EQ(answers[0][14], 1);

    mouseSeen->PressDpiButton();  // forwarded while on
    mouseSeen->SetBattery(0, 55);
    receiver.SetMouseOn(false);
    mouseSeen->PressDpiButton();  // lost while off
    ASSERT_EQ(unsolicited.size(), 2u);
    EXPECT_EQ(unsolicited[0][0], 0xC2);
    EXPECT_EQ(unsolicited[1][0], 0xC0);
    EXPECT_NE(unsolicited[1][1], 1);

    answers.clear();
    receiver.HandleOutput(identity.data(), identity.size(), answers);
    EXPECT_TRUE(answers.empty());
    receiver.SetAnswerIdentityWhileOff(true);
    receiver.HandleOutput(identity.data(), identity.size(), answers);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0][14], 0);  // online flag

    receiver.SetMouseOn(true);
    ASSERT_EQ(unsolicited.size(), 3u);
    EXPECT_EQ((std::vector<uint8_t>(unsolicited[2].begin(), unsolicited[2].begin() + 4)),
              (std::vector<uint8_t>{0xC0, 0x01, 55, 0}));
}

}  // namespace
}  // namespace kestrix
