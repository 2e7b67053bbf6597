// SPDX-License-Identifier: MIT
#include "platform/SingleInstance.h"

#include "platform/PlatformTestSupport.h"
#include "support/FakeSingleInstance.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <condition_variable>

namespace kestrix {
namespace {

using test::ScopedEnv;
using test::TempFolder;

// Collects what the running instance received, in order; waits for a count.
class Received {
  public:
    void Add(const std::string& what) {
        std::lock_guard guard(m_mutex);
        m_items.push_back(what);
        m_changed.notify_all();
    }
    std::vector<std::string> WaitFor(size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_items.size() >= count; });
        return m_items;
    }
    void Connect(SingleInstance& instance) {
        instance.SetHandlers(
            [this](const std::string& token) { Add(token.empty() ? "show" : "show " + token); },
            [this](int parameter) { Add("exit " + std::to_string(parameter)); });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_items;
};

TEST(SingleInstance, ParsesRequestLines) {
    using Kind = InstanceRequest::Kind;
    const std::string longest = "show " + std::string(kMaxActivationTokenBytes, 'x');
    const std::string tooLong = longest + "x";
    struct Case {
        std::string text;
        Kind kind;
        int parameter;
        std::string token;
    } cases[] = {
        {"show", Kind::Show, 0, ""},
        {"show\n", Kind::Show, 0, ""},
        {"show\r\n", Kind::Show, 0, ""},
        {"show now", Kind::Show, 0, "now"},
        {"show gnome-shell/kestrix/2-3-host_TIME1234\n", Kind::Show, 0,
         "gnome-shell/kestrix/2-3-host_TIME1234"},
        {longest, Kind::Show, 0, longest.substr(5)},
        {tooLong, Kind::Unknown, 0, ""},
        {"show ", Kind::Unknown, 0, ""},
        {"show a b", Kind::Unknown, 0, ""},
        {"show a\tb", Kind::Unknown, 0, ""},
        {"showx", Kind::Unknown, 0, ""},
        {"exit 610", Kind::Exit, 610, ""},
        {"exit 610\n", Kind::Exit, 610, ""},
        {"exit 5", Kind::Exit, 5, ""},
        {"exit -1", Kind::Exit, -1, ""},
        {"exit ", Kind::Unknown, 0, ""},
        {"exit 61x", Kind::Unknown, 0, ""},
        {"exit  610", Kind::Unknown, 0, ""},
        {"SHOW", Kind::Unknown, 0, ""},
        {"", Kind::Unknown, 0, ""},
        {"exit 123456789012", Kind::Unknown, 0, ""},
    };
    for (const Case& c : cases) {
        const InstanceRequest request = ParseInstanceRequest(c.text);
        EXPECT_EQ(request.kind, c.kind) << c.text;
        EXPECT_EQ(request.exitParameter, c.parameter) << c.text;
        EXPECT_EQ(request.activationToken, c.token) << c.text;
    }
    // A token the request cannot carry is left out rather than making the request unknown.
    EXPECT_EQ(MakeShowRequest(""), "show");
    EXPECT_EQ(MakeShowRequest("a b"), "show");
    EXPECT_EQ(MakeShowRequest(tooLong.substr(5)), "show");
    EXPECT_EQ(MakeShowRequest("t-1"), "show t-1");
}

TEST(SingleInstance, SecondLaunchFindsTheFirstAndItsRequestsArriveInOrder) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
    LinuxSingleInstance first("Kestrix");
    EXPECT_EQ(first.SocketPath(), temp / "Kestrix.socket");
    EXPECT_FALSE(first.IsRunning());
    Received received;
    received.Connect(first);
    ASSERT_EQ(first.Acquire(), SingleInstance::Role::First);

    LinuxSingleInstance second("Kestrix");
    EXPECT_TRUE(second.IsRunning());
    ASSERT_EQ(second.Acquire(), SingleInstance::Role::Second);
    EXPECT_TRUE(second.SendRequest(kShowRequest));
    EXPECT_TRUE(second.SendRequest(kExitRequest));
    EXPECT_TRUE(second.SendRequest("exit 5"));
    EXPECT_FALSE(second.SendRequest("quit"));
    // A long activation token arrives whole.
    const std::string token(kMaxActivationTokenBytes, 't');
    EXPECT_TRUE(second.SendRequest(MakeShowRequest(token)));
    EXPECT_EQ(received.WaitFor(4),
              (std::vector<std::string>{"show", "exit 610", "exit 5", "show " + token}));

    // Another program name is another instance.
    LinuxSingleInstance other("Other");
    EXPECT_EQ(other.Acquire(), SingleInstance::Role::First);
}

TEST(SingleInstance, RequestsBeforeHandlersWaitForThem) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
    LinuxSingleInstance first("Kestrix");
    ASSERT_EQ(first.Acquire(), SingleInstance::Role::First);
    LinuxSingleInstance second("Kestrix");
    EXPECT_TRUE(second.SendRequest(kShowRequest));
    Received received;
    received.Connect(first);
    EXPECT_EQ(received.WaitFor(1), std::vector<std::string>{"show"});
}

TEST(SingleInstance, EndingTheFirstFreesTheInstance) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
    {
        LinuxSingleInstance first("Kestrix");
        ASSERT_EQ(first.Acquire(), SingleInstance::Role::First);
    }
    EXPECT_FALSE(test::Exists(temp / "Kestrix.socket"));
    LinuxSingleInstance probe("Kestrix");
    EXPECT_FALSE(probe.IsRunning());
    LinuxSingleInstance next("Kestrix");
    EXPECT_EQ(next.Acquire(), SingleInstance::Role::First);
}

TEST(SingleInstance, SocketLeftByACrashDoesNotBlockTheNextFirstInstance) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
    // A child claims the instance and dies without cleaning up, as a crash would.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LinuxSingleInstance crashing("Kestrix");
        _exit(crashing.Acquire() == SingleInstance::Role::First ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(test::Exists(temp / "Kestrix.socket"));

    LinuxSingleInstance probe("Kestrix");
    EXPECT_FALSE(probe.IsRunning());
    LinuxSingleInstance next("Kestrix");
    Received received;
    received.Connect(next);
    ASSERT_EQ(next.Acquire(), SingleInstance::Role::First);
    LinuxSingleInstance second("Kestrix");
    EXPECT_EQ(second.Acquire(), SingleInstance::Role::Second);
    EXPECT_TRUE(second.SendRequest(kShowRequest));
    EXPECT_EQ(received.WaitFor(1), std::vector<std::string>{"show"});
}

TEST(SingleInstance, AHangingClientDoesNotStopTheListener) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
    LinuxSingleInstance first("Kestrix");
    Received received;
    received.Connect(first);
    ASSERT_EQ(first.Acquire(), SingleInstance::Role::First);
    // A client that sends half a line and never more is dropped after its time-out.
    const int silent = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", first.SocketPath().c_str());
    ASSERT_EQ(connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(send(silent, "sh", 2, 0), 2);
    LinuxSingleInstance second("Kestrix");
    EXPECT_TRUE(second.SendRequest(kShowRequest));
    close(silent);
    EXPECT_EQ(received.WaitFor(1), std::vector<std::string>{"show"});
}

TEST(SingleInstance, FakePlaysRequestsLikeTheListener) {
    FakeSingleInstance fake;
    EXPECT_TRUE(fake.Deliver("exit 610"));
    EXPECT_FALSE(fake.Deliver("bogus"));
    Received received;
    received.Connect(fake);
    EXPECT_TRUE(fake.Deliver("show\n"));
    EXPECT_EQ(received.WaitFor(2), (std::vector<std::string>{"exit 610", "show"}));
    EXPECT_EQ(fake.Acquire(), SingleInstance::Role::First);

    FakeSingleInstance secondLaunch(SingleInstance::Role::Second, true);
    EXPECT_TRUE(secondLaunch.IsRunning());
    EXPECT_EQ(secondLaunch.Acquire(), SingleInstance::Role::Second);
    EXPECT_TRUE(secondLaunch.SendRequest(kShowRequest));
    EXPECT_EQ(secondLaunch.SentRequests(), std::vector<std::string>{"show"});
}

}  // namespace
}  // namespace kestrix
