// SPDX-License-Identifier: MIT
#include "base/UniqueFd.h"

#include <unistd.h>

#include <cerrno>

namespace kestrix {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

int UniqueFd::Release() noexcept {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void UniqueFd::Reset(int fd) noexcept {
    if (m_fd >= 0 && m_fd != fd) ::close(m_fd);
    m_fd = fd;
}

bool UniqueFd::Close() noexcept {
    if (m_fd < 0) return true;
    return ::close(Release()) == 0;
}

bool UniqueFd::WriteAll(const char* data, std::size_t length) noexcept {
    while (length > 0) {
        const ssize_t written = ::write(m_fd, data, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace kestrix
