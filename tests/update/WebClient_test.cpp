// SPDX-License-Identifier: MIT
#include "update/WebClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "device/SimTestBench.h"
#include "update/TestHttpServer.h"
#include "update/UpdateTestSupport.h"

namespace kestrix {
namespace {

using testing::HttpAnswer;
using testing::TempDir;
using testing::TestHttpServer;

class WebClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Requests go straight to the local server whatever the machine's proxy settings.
        ::setenv("no_proxy", "127.0.0.1", 1);
        ::setenv("NO_PROXY", "127.0.0.1", 1);
        ASSERT_TRUE(server.Running());
    }

    std::vector<int> Download(WebClient& client, const std::string& path, int* result = nullptr) {
        std::vector<int> posted;
        const int got = client.WebDownload(server.Url(path), folder.Path() + "package.zip",
                                           [&posted](int percent) { posted.push_back(percent); });
        if (result != nullptr) *result = got;
        return posted;
    }

    TestHttpServer server;
    TempDir folder;
};

TEST_F(WebClientTest, SendsTheUserAgentAcceptAndNoCacheHeaders) {
    server.Set("/base/version", "1.0.4");
    WebClient client;
    std::string text;
    ASSERT_EQ(client.WebGetText(server.Url("/base/version"), text), kWebOk);
    EXPECT_EQ(text, "1.0.4");
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string head = server.Requests()[0];
    EXPECT_EQ(head.rfind("GET /base/version HTTP/1.1\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: DID2.0/PC 5.5.0000\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nAccept: */*\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nPragma: no-cache"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nCache-Control: no-cache"), std::string::npos) << head;
}

TEST_F(WebClientTest, PostsTheExactPercentSequences) {
    struct Case {
        const char* what;
        size_t size;
        bool sendLength;
        size_t pieceBytes;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        // Under one chunk: the chunk formula has nothing to divide by.
        {"small", 5000, true, 0, {2, 8, 10, 100}},
        // Five full chunks: 10 + 90 * k / 5.
        {"large", 5 * kWebChunkBytes, true, 0, {2, 8, 10, 28, 46, 64, 82, 100}},
        // 25000 bytes in 1000-byte pieces: counted as 10240-byte reads, and the third
        // (partial) read would give 145 without the bound.
        {"uneven", 25000, true, 1000, {2, 8, 10, 55, 100}},
        // No content length: no per-chunk values.
        {"unsized", 30000, false, 0, {2, 8, 10, 100}},
    };
    for (const Case& c : cases) {
        HttpAnswer answer;
        answer.body = std::string(c.size, 'z');
        answer.sendLength = c.sendLength;
        answer.pieceBytes = c.pieceBytes;
        server.Set("/p.zip", answer);
        WebClient client;
        int result = 0;
        EXPECT_EQ(Download(client, "/p.zip", &result), c.expected) << c.what;
        EXPECT_EQ(result, kWebOk) << c.what;
        EXPECT_EQ(testing::ReadFile(folder.Path() + "package.zip"), answer.body) << c.what;
    }
}

TEST_F(WebClientTest, ASecondDownloadStartsAgainFromZero) {
    server.Set("/p.zip", std::string(100, 'a'));
    WebClient client;
    EXPECT_EQ(Download(client, "/p.zip"), (std::vector<int>{2, 8, 10, 100}));
    EXPECT_EQ(Download(client, "/p.zip"), (std::vector<int>{0, 2, 8, 10, 100}));
}

TEST_F(WebClientTest, FailuresLeaveNoFileAndStopTheProgressWhereTheyHappened) {
    HttpAnswer cut;
    cut.body = std::string(4 * kWebChunkBytes, 'c');
    cut.cutAfter = 15000;
    server.Set("/cut.zip", cut);
    HttpAnswer toFtp;
    toFtp.status = 302;
    toFtp.headers = {"Location: ftp://127.0.0.1/p.zip"};
    server.Set("/to-ftp", toFtp);
    HttpAnswer tooBig;
    tooBig.body = std::string(3000, 'b');
    server.Set("/big.zip", tooBig);

    struct Case {
        const char* path;
        uint64_t limit;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        {"/missing.zip", kPackageLimit, {2}},         // 404: the address did not open
        {"/to-ftp", kPackageLimit, {2}},              // redirect away from http(s) refused
        {"/cut.zip", kPackageLimit, {2, 8, 10, 32}},  // connection lost after one chunk
        {"/big.zip", 2000, {2, 8}},                   // announced size over the limit
    };
    for (const Case& c : cases) {
        WebClient client;
        const std::string path = folder.Path() + "package.zip";
        testing::WriteFile(path, "old");
        std::vector<int> posted;
        const int result = client.WebDownload(
            server.Url(c.path), path, [&posted](int p) { posted.push_back(p); }, c.limit);
        EXPECT_EQ(result, kWebFailed) << c.path;
        EXPECT_EQ(posted, c.expected) << c.path;
        EXPECT_FALSE(std::filesystem::exists(path)) << c.path;
    }
}

TEST_F(WebClientTest, TextResultsForEachKindOfAnswer) {
    HttpAnswer redirect;
    redirect.status = 301;
    redirect.headers = {"Location: " + server.Url("/real/version")};
    server.Set("/moved/version", redirect);
    server.Set("/real/version", "2.0.0");
    HttpAnswer unsized;
    unsized.body = std::string(kVersionTextLimit + 1, 'x');
    unsized.sendLength = false;
    server.Set("/huge", unsized);
    HttpAnswer sized = unsized;
    sized.sendLength = true;
    server.Set("/huge-sized", sized);
    server.Set("/limit", std::string(kVersionTextLimit, 'y'));

    const std::string deadUrl = testing::UnusedPortUrl("/version");

    struct Case {
        std::string url;
        int result;
        std::string text;
    };
    const std::vector<Case> cases = {
        {server.Url("/moved/version"), kWebOk, "2.0.0"},
        {server.Url("/limit"), kWebOk, std::string(kVersionTextLimit, 'y')},
        {server.Url("/huge"), kWebFailed, ""},
        {server.Url("/huge-sized"), kWebFailed, ""},
        {server.Url("/nothing-here"), kWebFailed, ""},
        {"version", kWebFailed, ""},  // an empty base: no scheme, no host lookup
        {"file:///etc/hostname", kWebFailed, ""},
        {deadUrl, kWebFailed, ""},
    };
    WebClient client;
    for (const Case& c : cases) {
        testing::LogRecorder log;
        std::string text = "stale";
        EXPECT_EQ(client.WebGetText(c.url, text), c.result)
            << c.url << "\n"
            << ::testing::PrintToString(log.Lines());
        EXPECT_EQ(text, c.text) << c.url;
    }
}

}  // namespace
}  // namespace kestrix
