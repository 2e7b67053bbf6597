// SPDX-License-Identifier: MIT
#include "base/UniqueFile.h"

namespace kestrix {

UniqueFile& UniqueFile::operator=(UniqueFile&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

UniqueFile UniqueFile::Open(const std::string& path, const char* mode) {
    return UniqueFile(std::fopen(path.c_str(), mode));
}

std::FILE* UniqueFile::Release() noexcept {
    std::FILE* file = m_file;
    m_file = nullptr;
    return file;
}

void UniqueFile::Reset(std::FILE* file) noexcept {
    if (m_file != nullptr && m_file != file) std::fclose(m_file);
    m_file = file;
}

bool UniqueFile::Close() noexcept {
    if (m_file == nullptr) return true;
    return std::fclose(Release()) == 0;
}

}  // namespace kestrix
