// SPDX-License-Identifier: MIT
#include "sim/SimMouse.h"

#include <gtest/gtest.h>

#include "device/SimTestBench.h"

namespace kestrix {
namespace {

using testing::SimBench;

// A Harrier Pro by cable, opened and selected.
struct HarrierBench : SimBench {
    HarrierBench() : SimBench("harrier_pro") {
        Open(201);
        mouse = Device("harrier_pro-cable")->Mouse();
    }
    bool Send(uint8_t code, uint8_t countByte, std::vector<uint8_t> data,
              ReportBuffer* answer = nullptr) {
        ReportBuffer request = BuildWriteRequest(code, countByte, data);
        const bool ok = manager->SendCommand(request, WriteLengthOf(code));
        if (answer != nullptr) {
            *answer = request;
        }
        return ok;
    }
    ReportBuffer Read(uint8_t code) {
        ReportBuffer request = BuildReadRequest(code);
        EXPECT_TRUE(manager->SendCommand(request, kShortWrite)) << "read " << int(code);
        return request;
    }
    std::shared_ptr<SimMouse> mouse;
};

TEST(SimMouse, WritesChangeTheStateAndReadsReturnIt) {
    HarrierBench bench;
    ASSERT_TRUE(bench.Send(0x02, 0x01, {0x40}));
    EXPECT_EQ(bench.mouse->State().reportRate, 0x40);
    EXPECT_EQ(bench.Read(0x12)[4], 0x40);

    std::vector<uint8_t> dpi = {0x34};
    for (uint16_t raw : {7, 15, 31, 63, 127, 519}) {
        dpi.insert(dpi.end(), {uint8_t(raw & 0xFF), uint8_t(raw >> 8), uint8_t(raw & 0xFF),
                               uint8_t(raw >> 8)});
    }
    ASSERT_TRUE(bench.Send(0x03, 0x25, dpi));
    SimMouseState state = bench.mouse->State();
    EXPECT_EQ(state.dpiIndex, 3);
    EXPECT_EQ(state.dpiCount, 4);
    EXPECT_EQ(state.dpiRaw[5], 519);
    EXPECT_EQ(state.dpiRawCopy[5], 519);
    EXPECT_EQ(bench.mouse->StageDpi(5), 25950);  // sensor 150 reads back 50 DPI lower
    const ReportBuffer stages = bench.Read(0x13);
    EXPECT_EQ(stages[0], 0x13);
    EXPECT_EQ(stages[4], 0x34);
    EXPECT_EQ(stages[5 + 20], 0x07);  // stage 5 low byte at answer offset 5 + 4*5
    EXPECT_EQ(stages[6 + 20], 0x02);

    std::vector<uint8_t> colours;
    for (int k = 0; k < 6; ++k) {
        colours.insert(colours.end(), {uint8_t(0x11 * (k + 1)), 0x22, 0x33});
    }
    ASSERT_TRUE(bench.Send(0x04, 0x12, colours));
    EXPECT_EQ(bench.mouse->State().dpiColours[0], 0x332211u);
    EXPECT_EQ(bench.Read(0x14)[4 + 15], 0x66);

    ASSERT_TRUE(bench.Send(0x06, 0x05, {3, 1, 0, 0, 0}));
    ASSERT_TRUE(bench.Send(0x07, 0x04, {30, 0, 1, 12}));
    state = bench.mouse->State();
    EXPECT_EQ(state.liftOff, 3);
    EXPECT_EQ(state.sensorOptionA, 1);
    EXPECT_EQ(state.sensorOptionB, 0);
    EXPECT_EQ(state.sleepLight, 30);
    EXPECT_EQ(state.moveWakeup, 0);
    EXPECT_EQ(state.moveCloseLight, 1);
    EXPECT_EQ(state.buttonResponseTime, 12);
    const ReportBuffer lod = bench.Read(0x16);
    EXPECT_EQ((std::vector<uint8_t>{lod[4], lod[5], lod[6]}), (std::vector<uint8_t>{3, 1, 0}));
    const ReportBuffer sleep = bench.Read(0x17);
    EXPECT_EQ((std::vector<uint8_t>{sleep[4], sleep[5], sleep[6], sleep[7]}),
              (std::vector<uint8_t>{30, 0, 1, 12}));

    std::vector<uint8_t> buttons(27, 0);
    buttons[0] = 0x70;
    buttons[1] = 0x01;
    buttons[2] = 0x06;
    ASSERT_TRUE(bench.Send(0x09, 0x0F, buttons));
    EXPECT_EQ(bench.mouse->State().buttonTable[2], 0x06);
    EXPECT_EQ(bench.Read(0x20)[4], 2);  // firmware 2.01
}

TEST(SimMouse, LightingEffectsAndRestore) {
    HarrierBench bench;
    std::vector<uint8_t> cycle = {2, 0xA3, 7};
    for (int i = 0; i < 7; ++i) {
        cycle.insert(cycle.end(), {uint8_t(i), 0x10, 0x20});
    }
    ASSERT_TRUE(bench.Send(0x05, 24, cycle));
    ASSERT_TRUE(bench.Send(0x05, 5, {3, 0x5F, 0x11, 0x22, 0x33}));
    SimMouseState state = bench.mouse->State();
    EXPECT_EQ(state.lightingEffect, 3);
    EXPECT_EQ(state.lighting[3], (SimLightingEffect{5, 15, {0x332211}}));
    EXPECT_EQ(state.lighting[2].colours.size(), 7u);
    EXPECT_EQ(state.lighting[2].colours[6], 0x201006u);
    EXPECT_EQ(state.lighting[2].brightness, 10);
    ReportBuffer read = bench.Read(0x15);
    EXPECT_EQ(read[4], 3);
    EXPECT_EQ(read[5], 0x5F);

    ASSERT_TRUE(bench.Send(0x0E, 0x01, {0x01}));
    EXPECT_EQ(bench.mouse->LightingRestores(), 1);
    state = bench.mouse->State();
    EXPECT_EQ(state.lightingEffect, bench.mouse->Model().factory.lightingEffect);
    EXPECT_EQ(state.lighting, bench.mouse->Model().factory.lighting);
}

TEST(SimMouse, FactoryResetRestoresEverythingButTheBattery) {
    HarrierBench bench;
    bench.mouse->SetBattery(1, 42);
    ASSERT_TRUE(bench.Send(0x02, 0x01, {0x08}));
    ASSERT_TRUE(bench.manager->SendMultiPacket(0x08, std::vector<uint8_t>{1, 0x30, 1, 0, 4}));
    EXPECT_FALSE(bench.Send(0x0F, 0x01, {0x01}));  // only 0xFF resets
    EXPECT_EQ(bench.mouse->FactoryResets(), 0);
    ASSERT_TRUE(bench.Send(0x0F, 0x01, {0xFF}));
    const SimMouseState state = bench.mouse->State();
    EXPECT_EQ(state.reportRate, bench.mouse->Model().factory.reportRate);
    EXPECT_TRUE(state.macros.empty());
    EXPECT_EQ(state.batteryB, 42);
    EXPECT_EQ(bench.mouse->FactoryResets(), 1);
}

TEST(SimMouse, MacrosAreReassembledFromPackets) {
    HarrierBench bench;
    std::vector<uint8_t> seven = {3};
    for (uint8_t i = 0; i < 7; ++i) {
        seven.insert(seven.end(),
                     {uint8_t(i % 2 ? 0xB0 : 0x30), uint8_t(10 + i), 0x00, uint8_t(4 + i)});
    }
    ASSERT_TRUE(bench.manager->SendMultiPacket(0x08, seven));
    SimMouseState state = bench.mouse->State();
    ASSERT_EQ(state.macros.count(3), 1u);
    const SimMacro& macro = state.macros.at(3);
    EXPECT_EQ(macro.packets, 2);
    ASSERT_EQ(macro.events.size(), 7u);
    EXPECT_EQ(macro.events[6], (SimMacroEvent{0x30, 16, 10}));
    EXPECT_EQ(macro.eventBytes, std::vector<uint8_t>(seven.begin() + 1, seven.end()));

    // A second packet without a first one is out of sequence and rejected; nothing stored.
    ReportBuffer stray = BuildRequest(0x08, 0x12, 2, std::vector<uint8_t>{0x90, 0x01});
    EXPECT_FALSE(bench.manager->SendCommand(stray, kShortWrite));
    EXPECT_EQ(bench.mouse->State().macros.size(), 1u);
}

TEST(SimMouse, BadChecksumAndUnknownCommandsAreRejected) {
    HarrierBench bench;
    SimMouse mouse(*FindSimModel("vireo"), "VR01");
    ReportBuffer request = BuildWriteRequest(0x02, 0x01, std::vector<uint8_t>{0x02});
    request[32] ^= 0xFF;
    std::vector<SimReport> answers;
    mouse.HandleOutput(request.data(), request.size(), answers);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0][1], kSimStatusRejected);
    EXPECT_EQ(mouse.State().reportRate, 1);

    answers.clear();
    const ReportBuffer unknown = BuildReadRequest(0x33);
    mouse.HandleOutput(unknown.data(), unknown.size(), answers);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0][1], kSimStatusRejected);

    // The Falco has no lighting: its lighting commands are rejected.
    SimMouse falco(*FindSimModel("falco"), "FL02");
    answers.clear();
    const ReportBuffer lighting = BuildReadRequest(0x15);
    falco.HandleOutput(lighting.data(), lighting.size(), answers);
    EXPECT_EQ(answers.at(0)[1], kSimStatusRejected);
}

TEST(SimMouse, SelectedButtonReportIsAcknowledged) {
    HarrierBench bench;
    ReportBuffer report{};
    report[0] = 0x52;
    report[1] = 0x52;
    report[2] = 0x04;
    ASSERT_TRUE(bench.manager->SendCommand(report, kLongWrite));
    EXPECT_EQ(bench.mouse->State().selectedButton, 4);
}

TEST(SimMouse, IdentityAnswerLayout) {
    SimBench bench("falco");
    bench.Open(102);
    auto mouse = bench.Device("falco-cable")->Mouse();
    const auto entries = bench.manager->ListEntries();
    ASSERT_EQ(entries.size(), 1u);
    const ReportBuffer& answer = entries[0].identityAnswer;
    EXPECT_EQ(std::string(answer.begin() + 4, answer.begin() + 8), "FL02");
    EXPECT_EQ(answer[8] | answer[9] << 8, 0x3311);
    EXPECT_EQ(answer[10], 38);
    EXPECT_EQ(answer[11], 0x10);
    EXPECT_EQ(answer[13], 80);
    EXPECT_EQ(answer[14], 1);
    EXPECT_EQ(entries[0].modelNumber, 102);
}

TEST(SimMouse, DelayedDeviceStillAnswers) {
    HarrierBench bench;
    bench.Device("harrier_pro-cable")->SetReportDelay(std::chrono::milliseconds(1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(bench.Read(0x12)[0], 0x12);
    EXPECT_GE(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(2));  // one write, one read
}

}  // namespace
}  // namespace kestrix
