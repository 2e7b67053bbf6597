// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>

namespace kestrix {

// An owned stdio stream, closed when the owner goes away. Move-only. Writers that must know
// whether buffered data reached the file call Close and check it.
class UniqueFile {
  public:
    UniqueFile() = default;
    explicit UniqueFile(std::FILE* file) noexcept : m_file(file) {}
    ~UniqueFile() { Reset(); }
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    UniqueFile(UniqueFile&& other) noexcept : m_file(other.Release()) {}
    UniqueFile& operator=(UniqueFile&& other) noexcept;

    // std::fopen(path, mode); an empty owner when that fails (errno tells why).
    static UniqueFile Open(const std::string& path, const char* mode);

    std::FILE* Get() const noexcept { return m_file; }
    bool Valid() const noexcept { return m_file != nullptr; }
    // Gives up ownership without closing.
    std::FILE* Release() noexcept;
    // Closes the stream held (errors ignored) and takes file.
    void Reset(std::FILE* file = nullptr) noexcept;
    // Closes now; false when fclose reports an error. Closing "none" succeeds.
    bool Close() noexcept;

  private:
    std::FILE* m_file = nullptr;
};

}  // namespace kestrix
