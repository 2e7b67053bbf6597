// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace kestrix {

// Results of the web client: success, the address failed to open or a read failed, the
// client session could not be created.
inline constexpr int kWebOk = 1;
inline constexpr int kWebFailed = -1;
inline constexpr int kWebNoSession = 0;

// Request details the update server sees.
inline constexpr char kWebUserAgent[] = "DID2.0/PC 5.5.0000";
inline constexpr size_t kWebChunkBytes = 10240;
// Largest bodies taken: a version text, and a downloaded package.
inline constexpr size_t kVersionTextLimit = 64 * 1024;
inline constexpr uint64_t kPackageLimit = uint64_t{256} * 1024 * 1024;

// Plain HTTP(S) GET over libcurl for the update check and the downloads. Only http and https
// are spoken, also for redirects; the proxy comes from the environment. Calls block; they run
// on the device worker. One client remembers the last progress value it posted.
class WebClient {
  public:
    using ProgressSink = std::function<void(int percent)>;

    WebClient();

    // Fetches url into text. kWebOk with the body; kWebFailed when the address cannot be
    // opened, the server answers with an error status, a read fails or the body is longer
    // than limit (text then empty); kWebNoSession when no curl handle can be made.
    int WebGetText(const std::string& url, std::string& text, size_t limit = kVersionTextLimit);

    // Downloads url to path (an old file there is deleted first). Posts progress to sink
    // whenever it changes: 0 at the start, 2, 8, 10, then per 10240-byte chunk
    // 10 + 90 * chunks / (content length / 10240) (never above 100), and 100 at the end.
    // Results as WebGetText; on failure no partial file is left.
    int WebDownload(const std::string& url, const std::string& path, const ProgressSink& sink,
                    uint64_t limit = kPackageLimit);

    // A predicate asked while a transfer runs; true aborts it (result kWebFailed).
    void SetCancel(std::function<bool()> cancel) { m_cancel = std::move(cancel); }

  private:
    struct Transfer;
    int Perform(const std::string& url, Transfer& transfer);
    void Post(const ProgressSink& sink, int percent);

    std::function<bool()> m_cancel;
    std::atomic<int> m_lastPosted{0};
};

}  // namespace kestrix
