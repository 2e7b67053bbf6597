// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace kestrix {

// An owned POSIX file descriptor, closed when the owner goes away. Move-only. A negative value
// means "none". Writers that must know whether the data reached the file call Close and check it.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;

    int Get() const noexcept { return m_fd; }
    bool Valid() const noexcept { return m_fd >= 0; }
    // Gives up ownership without closing.
    int Release() noexcept;
    // Closes the descriptor held (errors ignored) and takes fd.
    void Reset(int fd = -1) noexcept;
    // Closes now; false when close reports an error. Closing "none" succeeds.
    bool Close() noexcept;
    // Writes all length bytes, resuming after short writes and signals; false on an error
    // (errno tells which) or when nothing more can be written.
    bool WriteAll(const char* data, std::size_t length) noexcept;

  private:
    int m_fd = -1;
};

}  // namespace kestrix
