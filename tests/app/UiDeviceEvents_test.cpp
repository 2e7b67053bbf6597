// SPDX-License-Identifier: MIT
#include "app/UiDeviceEvents.h"

#include <thread>

#include <gtest/gtest.h>

#include "AppTestBench.h"
#include "device/RecordingObserver.h"

namespace kestrix {
namespace {

TEST(UiDeviceEvents, CallsFromAnotherThreadArriveOnTheUiThreadInOrder) {
    test::SetUpToolkit();
    struct UiThreadChecker : RecordingObserver {
        bool allOnUiThread = true;
        void SetCaption(int textId) override {
            allOnUiThread = allOnUiThread && DUI::IsUiThread();
            RecordingObserver::SetCaption(textId);
        }
    } target;
    UiDeviceEvents events(target);
    std::thread worker([&events] {
        for (int i = 0; i < 200; ++i) {
            events.SetCaption(50 + i % 3);
            events.SetDeviceState(i, i % 2, 1);
        }
        events.ShowFirmwareVersion("105");
        events.CloseTransientWindows();
    });
    worker.join();
    EXPECT_TRUE(target.Calls().empty());  // nothing runs on the worker
    ASSERT_TRUE(test::PumpUntil([&] { return target.Calls().size() == 402; }));
    const std::vector<std::string> calls = target.Calls();
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(calls[2 * i], Format("SetCaption(%d)", 50 + i % 3));
        EXPECT_EQ(calls[2 * i + 1], Format("SetDeviceState(%d,%d,1)", i, i % 2));
    }
    EXPECT_EQ(calls[400], "ShowFirmwareVersion(105)");
    EXPECT_EQ(calls[401], "CloseTransientWindows");
    EXPECT_TRUE(target.allOnUiThread);
}

TEST(UiDeviceEvents, DetachDropsCallsStillQueued) {
    test::SetUpToolkit();
    RecordingObserver target;
    UiDeviceEvents events(target);
    events.SetCaption(51);
    events.SelectDevice(101);
    events.Detach();
    events.SetCaption(52);
    test::PumpFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(target.Calls().empty());
}

}  // namespace
}  // namespace kestrix
