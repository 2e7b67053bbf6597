// SPDX-License-Identifier: MIT
#pragma once

// A small HTTP/1.1 server on 127.0.0.1 with an ephemeral port for the update tests: serves
// fixed answers per path, one connection at a time, and records each request head.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrix::testing {

struct HttpAnswer {
    int status = 200;
    std::string body;
    std::vector<std::string> headers;  // extra header lines without line ends
    bool sendLength = true;  // false: no Content-Length, the body ends with the connection
    size_t pieceBytes = 0;   // send the body in pieces of this size (0 = at once)
    size_t cutAfter = std::string::npos;  // close the connection after this many body bytes
};

class TestHttpServer {
  public:
    TestHttpServer() {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        const int yes = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 16) != 0) {
            return;
        }
        socklen_t length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~TestHttpServer() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        ::close(m_listener);
    }
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    bool Running() const { return m_port != 0; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path = "") const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    void Set(const std::string& path, HttpAnswer answer) {
        std::lock_guard lock(m_mutex);
        m_answers[path] = std::move(answer);
    }
    void Set(const std::string& path, const std::string& body) {
        HttpAnswer answer;
        answer.body = body;
        Set(path, answer);
    }
    // Request heads received so far (request line and headers).
    std::vector<std::string> Requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    // Request paths received so far.
    std::vector<std::string> Paths() const {
        std::lock_guard lock(m_mutex);
        return m_paths;
    }

  private:
    void Serve() {
        while (!m_stop) {
            pollfd waiting{m_listener, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0) continue;
            const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) continue;
            Handle(connection);
            ::close(connection);
        }
    }

    void Handle(int connection) {
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            pollfd waiting{connection, POLLIN, 0};
            if (::poll(&waiting, 1, 2000) <= 0) return;
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) return;
            head.append(buffer, static_cast<size_t>(got));
        }
        const size_t firstSpace = head.find(' ');
        const size_t secondSpace = head.find(' ', firstSpace + 1);
        const std::string path = head.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        HttpAnswer answer;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(head.substr(0, head.find("\r\n\r\n")));
            m_paths.push_back(path);
            const auto found = m_answers.find(path);
            if (found != m_answers.end()) {
                answer = found->second;
            } else {
                answer.status = 404;
                answer.body = "<html><body>Not Found</body></html>";
            }
        }
        std::string reply =
            "HTTP/1.1 " + std::to_string(answer.status) + " X\r\nConnection: close\r\n";
        for (const std::string& header : answer.headers) reply += header + "\r\n";
        if (answer.sendLength)
            reply += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
        reply += "\r\n";
        if (!SendAll(connection, reply)) return;
        const size_t bodyBytes = std::min(answer.body.size(), answer.cutAfter);
        const size_t piece = answer.pieceBytes == 0 ? bodyBytes : answer.pieceBytes;
        for (size_t at = 0; at < bodyBytes; at += piece) {
            if (!SendAll(connection, answer.body.substr(at, std::min(piece, bodyBytes - at))))
                return;
            if (answer.pieceBytes != 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ::shutdown(connection, SHUT_WR);
    }

    static bool SendAll(int connection, const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t now =
                ::send(connection, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (now <= 0) return false;
            sent += static_cast<size_t>(now);
        }
        return true;
    }

    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::map<std::string, HttpAnswer> m_answers;
    std::vector<std::string> m_requests;
    std::vector<std::string> m_paths;
};

// An address on 127.0.0.1 whose port nobody listens on (bound once, then released).
inline std::string UnusedPortUrl(const std::string& path) {
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + path;
}

}  // namespace kestrix::testing
