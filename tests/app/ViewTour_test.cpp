// SPDX-License-Identifier: MIT
#include "app/ViewTour.h"

#include <gtest/gtest.h>

#include "AppTestBench.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;

TEST(ViewTour, WalksEveryViewThenCloses) {
    const struct {
        const char* scenario;
        std::vector<std::string> shown;
    } cases[] = {
        {"vireo",
         {"home", "buttons", "performance", "macros", "lighting", "device-settings", "settings"}},
        {"none", {"home"}},
    };
    for (const auto& c : cases) {
        test::LogRecorder log;
        test::WindowBench bench(c.scenario);
        ASSERT_TRUE(bench.Create());
        bench.window->StartViewTour(30);
        ASSERT_TRUE(test::PumpUntil([&] { return !bench.window->IsWindow(); }, 30000ms))
            << c.scenario;
        std::vector<std::string> shown;
        for (const std::string& line : log.LinesStartingWith("view ")) {
            if (line != "view tour done") shown.push_back(line.substr(5, line.size() - 11));
        }
        EXPECT_EQ(shown, c.shown) << c.scenario;
    }
}

}  // namespace
}  // namespace kestrix
