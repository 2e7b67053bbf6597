// SPDX-License-Identifier: MIT
#include "update/WebClient.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>

#include "base/Log.h"
#include "base/UniqueFd.h"

namespace kestrix {
namespace {

constexpr int kPercentStart = 0;
constexpr int kPercentSession = 2;
constexpr int kPercentOpened = 8;
constexpr int kPercentFileCreated = 10;
constexpr int kPercentDone = 100;

constexpr long kMaxRedirects = 10;
// An unreachable server fails a check quickly: the worker runs the device tasks queued
// behind it only afterwards. Name lookup, connection and TLS handshake count.
constexpr long kConnectTimeoutSeconds = 8;
// A version text is a few bytes; a server that has not sent it by then is given up.
constexpr long kTextTimeoutSeconds = 10;
// A transfer slower than 1 byte/s for a minute is given up.
constexpr long kLowSpeedBytes = 1;
constexpr long kLowSpeedSeconds = 60;

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void EnsureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] {
        const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
        if (result != CURLE_OK) LogLine("curl_global_init failed: %s", curl_easy_strerror(result));
    });
}

void RemoveIfPresent(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        LogLine("cannot delete %s: %s", path.c_str(), std::strerror(errno));
    }
}

// prefix is lower case.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

bool IsHttpAddress(const std::string& url) {
    return StartsWithIgnoringCase(url, "http://") || StartsWithIgnoringCase(url, "https://");
}

}  // namespace

// One request: what to do once the final answer's headers are in, and with each body piece.
// Both return false to abort; `reason` then says why.
struct WebClient::Transfer {
    std::function<bool(uint64_t contentLength)> onOpened;
    std::function<bool(const char* data, size_t length)> onData;
    CURL* handle = nullptr;
    const std::function<bool()>* cancel = nullptr;
    long totalTimeoutSeconds = 0;  // 0 = only the connect and low-speed limits
    bool opened = false;
    bool sawLocation = false;
    std::string reason;

    static size_t Header(char* data, size_t size, size_t count, void* user) {
        auto& self = *static_cast<Transfer*>(user);
        const size_t length = size * count;
        if (self.opened) return length;
        const std::string_view line(data, length);
        if (line.rfind("HTTP/", 0) == 0) {
            self.sawLocation = false;  // a new answer (after an interim one or a redirect)
            return length;
        }
        if (StartsWithIgnoringCase(line, "location:")) {
            self.sawLocation = true;
            return length;
        }
        if (line != "\r\n" && line != "\n") return length;
        long status = 0;
        curl_easy_getinfo(self.handle, CURLINFO_RESPONSE_CODE, &status);
        if (status / 100 == 1) return length;                      // interim answer
        if (status / 100 == 3 && self.sawLocation) return length;  // curl follows it
        if (status >= 300) {
            self.reason = "server answered status " + std::to_string(status);
            return 0;
        }
        curl_off_t contentLength = -1;
        curl_easy_getinfo(self.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &contentLength);
        self.opened = true;
        return self.onOpened(contentLength > 0 ? static_cast<uint64_t>(contentLength) : 0) ? length
                                                                                           : 0;
    }

    static size_t Body(char* data, size_t size, size_t count, void* user) {
        auto& self = *static_cast<Transfer*>(user);
        const size_t length = size * count;
        if (!self.opened) {
            self.reason = "body before the headers ended";
            return 0;
        }
        return self.onData(data, length) ? length : 0;
    }

    static int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        auto& self = *static_cast<Transfer*>(user);
        if (self.cancel != nullptr && *self.cancel && (*self.cancel)()) {
            self.reason = "cancelled";
            return 1;
        }
        return 0;
    }
};

WebClient::WebClient() { EnsureCurlInitialised(); }

void WebClient::Post(const ProgressSink& sink, int percent) {
    percent = std::clamp(percent, 0, kPercentDone);
    if (m_lastPosted.exchange(percent) == percent) return;
    if (sink) sink(percent);
}

int WebClient::Perform(const std::string& url, Transfer& transfer) {
    if (!IsHttpAddress(url)) {
        // Without a scheme curl would guess one and look the text up as a host name.
        LogLine("GET %s refused: not an http or https address", url.c_str());
        return kWebFailed;
    }
    CURL* handle = transfer.handle;
    std::unique_ptr<curl_slist, SlistDeleter> headers;
    for (const char* header : {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"}) {
        curl_slist* grown = curl_slist_append(headers.get(), header);
        if (grown == nullptr) {
            LogLine("GET %s: out of memory for the headers", url.c_str());
            return kWebFailed;
        }
        (void)headers.release();
        headers.reset(grown);
    }
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kWebUserAgent);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirect never lowers the protection the address asked for: from https only to https.
    const bool secure = StartsWithIgnoringCase(url, "https://");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytes);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, transfer.totalTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, static_cast<long>(kWebChunkBytes));
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &Transfer::Header);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Transfer::Body);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Transfer::Progress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    transfer.cancel = &m_cancel;

    const CURLcode result = curl_easy_perform(handle);
    if (result == CURLE_OK && transfer.opened) return kWebOk;
    std::string why = !transfer.reason.empty() ? transfer.reason
                      : errorText[0] != '\0'   ? std::string(errorText)
                                               : std::string(curl_easy_strerror(result));
    if (result == CURLE_OK) why = "no answer";
    LogLine("GET %s failed: %s", url.c_str(), why.c_str());
    return kWebFailed;
}

int WebClient::WebGetText(const std::string& url, std::string& text, size_t limit) {
    text.clear();
    std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    if (!handle) {
        LogLine("GET %s: no curl session", url.c_str());
        return kWebNoSession;
    }
    std::string body;
    Transfer transfer;
    transfer.handle = handle.get();
    transfer.totalTimeoutSeconds = kTextTimeoutSeconds;
    transfer.onOpened = [&](uint64_t contentLength) {
        if (contentLength > limit) {
            transfer.reason =
                "announced body of " + std::to_string(contentLength) + " bytes is over the limit";
            return false;
        }
        return true;
    };
    transfer.onData = [&](const char* data, size_t length) {
        if (body.size() + length > limit) {
            transfer.reason = "body over " + std::to_string(limit) + " bytes";
            return false;
        }
        body.append(data, length);
        return true;
    };
    const int result = Perform(url, transfer);
    if (result == kWebOk) text = std::move(body);
    return result;
}

int WebClient::WebDownload(const std::string& url, const std::string& path,
                           const ProgressSink& sink, uint64_t limit) {
    Post(sink, kPercentStart);
    RemoveIfPresent(path);
    std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    if (!handle) {
        LogLine("download %s: no curl session", url.c_str());
        return kWebNoSession;
    }
    Post(sink, kPercentSession);

    UniqueFd file;
    bool created = false;
    uint64_t received = 0;
    uint64_t chunksPerHundred = 0;  // content length / 10240: the formula's divisor
    uint64_t chunks = 0;
    auto postChunk = [&] {
        ++chunks;
        if (chunksPerHundred >= 1) {
            Post(sink, static_cast<int>(
                           std::min<uint64_t>(kPercentDone, 10 + 90 * chunks / chunksPerHundred)));
        }
    };

    Transfer transfer;
    transfer.handle = handle.get();
    transfer.onOpened = [&](uint64_t contentLength) {
        Post(sink, kPercentOpened);
        if (contentLength > limit) {
            transfer.reason = "announced package of " + std::to_string(contentLength) +
                              " bytes is over the limit";
            return false;
        }
        file.Reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!file.Valid()) {
            transfer.reason = "cannot create " + path + ": " + std::strerror(errno);
            return false;
        }
        created = true;
        Post(sink, kPercentFileCreated);
        chunksPerHundred = contentLength / kWebChunkBytes;
        return true;
    };
    transfer.onData = [&](const char* data, size_t length) {
        if (received + length > limit) {
            transfer.reason = "package over " + std::to_string(limit) + " bytes";
            return false;
        }
        if (!file.WriteAll(data, length)) {
            transfer.reason = "cannot write " + path + ": " + std::strerror(errno);
            return false;
        }
        // Progress counts 10240-byte reads, whatever piece sizes the connection delivers.
        received += length;
        while (chunks < received / kWebChunkBytes) postChunk();
        return true;
    };

    int result = Perform(url, transfer);
    if (result == kWebOk && received % kWebChunkBytes != 0) postChunk();
    if (!file.Close() && result == kWebOk) {
        LogLine("download %s: cannot finish writing %s: %s", url.c_str(), path.c_str(),
                std::strerror(errno));
        result = kWebFailed;
    }
    if (result != kWebOk) {
        if (created) RemoveIfPresent(path);
        return result;
    }
    Post(sink, kPercentDone);
    return kWebOk;
}

}  // namespace kestrix
