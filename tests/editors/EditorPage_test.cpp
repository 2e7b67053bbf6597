// SPDX-License-Identifier: MIT
// What every editor page shares: built and refreshed before any database is open (the main
// window creates its pages at start, before a mouse was found), a page leaves the store alone.

#include "editors/EditorPage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/Log.h"
#include "editors/DeviceSettingsPage.h"
#include "editors/KeyPage.h"
#include "editors/LightingPage.h"
#include "editors/MacroPage.h"
#include "editors/PageTestHost.h"
#include "editors/PerformancePage.h"

namespace kestrix {
namespace {

using testing::PageTestHost;

// Collects the log lines written while it lives.
class LogLines {
  public:
    LogLines() {
        Log::SetSink([this](std::string_view line) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_lines.emplace_back(line);
        });
    }
    ~LogLines() { Log::SetSink({}); }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lines;
    }

  private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
};

TEST(EditorPage, PagesOverAClosedStoreQueryNothing) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<EditorPage>(EditorContext&)> make;
    };
    const std::vector<Case> cases = {
        {"performance", [](EditorContext& c) { return std::make_unique<PerformancePage>(c); }},
        {"device settings",
         [](EditorContext& c) { return std::make_unique<DeviceSettingsPage>(c); }},
        {"lighting", [](EditorContext& c) { return std::make_unique<LightingPage>(c); }},
        {"buttons", [](EditorContext& c) { return std::make_unique<KeyPage>(c); }},
        {"macros", [](EditorContext& c) { return std::make_unique<MacroPage>(c); }},
    };
    for (const Case& c : cases) {
        PageTestHost host("none");
        DataStore closed;
        host.Context().store = &closed;
        ASSERT_FALSE(closed.IsOpened());
        LogLines log;
        EditorPage& page = host.Attach(c.make(host.Context()));
        page.Refresh();
        page.OnShow(true);
        host.ProcessEvents();
        EXPECT_EQ(log.Lines(), std::vector<std::string>{}) << c.name;
        EXPECT_EQ(host.Tasks(), std::vector<int>{}) << c.name;
    }
}

}  // namespace
}  // namespace kestrix
