// SPDX-License-Identifier: MIT
#include "update/ZipExtractor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "base/Log.h"
#include "base/UniqueFd.h"

namespace kestrix {
namespace {

constexpr size_t kNameBufferSize = 4096;
constexpr size_t kReadBufferSize = 64 * 1024;
// "Version made by" host 3 is Unix: the high 16 bits of the external attributes are st_mode.
constexpr unsigned long kHostUnix = 3;
constexpr unsigned long kModeTypeMask = 0170000;
constexpr unsigned long kModeRegular = 0100000;
constexpr unsigned long kModeDirectory = 0040000;

struct UnzipCloser {
    void operator()(void* zip) const { unzClose(static_cast<unzFile>(zip)); }
};

// Opens (creating as needed) the folder parts[0..count) below root without following links.
UniqueFd OpenFolder(int root, const std::vector<std::string>& parts, size_t count,
                    std::string& error) {
    UniqueFd current(::dup(root));
    for (size_t i = 0; i < count && current.Valid(); ++i) {
        if (::mkdirat(current.Get(), parts[i].c_str(), 0755) != 0 && errno != EEXIST) {
            error = "cannot create folder " + parts[i] + ": " + std::strerror(errno);
            return UniqueFd();
        }
        UniqueFd next(::openat(current.Get(), parts[i].c_str(),
                               O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.Valid()) {
            error = "cannot enter folder " + parts[i] + ": " + std::strerror(errno);
            return UniqueFd();
        }
        current = std::move(next);
    }
    if (!current.Valid() && error.empty())
        error = std::string("cannot open folder: ") + std::strerror(errno);
    return current;
}

}  // namespace

ZipExtractor::ZipExtractor(ZipLimits limits) : m_limits(limits) {}

bool ZipExtractor::SplitEntryName(const std::string& name, std::vector<std::string>& parts) {
    parts.clear();
    if (name.empty() || name.front() == '/') return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || byte < 0x20 || byte == 0x7F) return false;
    }
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part == "..") return false;
        if (!part.empty() && part != ".") parts.push_back(part);
        start = end + 1;
    }
    return !parts.empty();
}

ZipExtractResult ZipExtractor::Extract(const std::string& zipPath,
                                       const std::string& folder) const {
    ZipExtractResult result;
    std::unique_ptr<void, UnzipCloser> zip(unzOpen64(zipPath.c_str()));
    if (!zip) {
        LogLine("cannot open zip package %s", zipPath.c_str());
        return result;
    }
    unzFile archive = static_cast<unzFile>(zip.get());
    UniqueFd root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.Valid()) {
        LogLine("cannot open extraction folder %s: %s", folder.c_str(), std::strerror(errno));
        return result;
    }
    result.opened = true;

    uint64_t totalBytes = 0;
    size_t entries = 0;
    std::vector<char> buffer(kReadBufferSize);
    int step = unzGoToFirstFile(archive);
    if (step != UNZ_OK && step != UNZ_END_OF_LIST_OF_FILE) {
        LogLine("zip package %s has no readable directory (%d)", zipPath.c_str(), step);
        result.opened = false;
        return result;
    }
    for (; step == UNZ_OK; step = unzGoToNextFile(archive)) {
        if (++entries > m_limits.maxEntries) {
            LogLine("zip package %s has more than %zu entries; extraction stopped", zipPath.c_str(),
                    m_limits.maxEntries);
            result.limitReached = true;
            break;
        }
        unz_file_info64 info{};
        char nameBuffer[kNameBufferSize] = {};
        if (unzGetCurrentFileInfo64(archive, &info, nameBuffer, sizeof nameBuffer, nullptr, 0,
                                    nullptr, 0) != UNZ_OK) {
            LogLine("zip package %s: entry %zu unreadable", zipPath.c_str(), entries);
            ++result.failed;
            continue;
        }
        const std::string name(nameBuffer, strnlen(nameBuffer, sizeof nameBuffer));
        std::vector<std::string> parts;
        if (info.size_filename >= sizeof nameBuffer || name.size() != info.size_filename ||
            !SplitEntryName(name, parts)) {
            LogLine("zip entry \"%s\" refused: unsafe name", name.c_str());
            ++result.refused;
            continue;
        }
        const bool isFolderName = name.back() == '/';
        const unsigned long modeType = (info.external_fa >> 16) & kModeTypeMask;
        if ((info.version >> 8) == kHostUnix && modeType != 0 && modeType != kModeRegular &&
            modeType != kModeDirectory) {
            LogLine("zip entry \"%s\" refused: link or special file (mode %lo)", name.c_str(),
                    modeType);
            ++result.refused;
            continue;
        }

        std::string error;
        if (isFolderName || modeType == kModeDirectory) {
            if (!OpenFolder(root.Get(), parts, parts.size(), error).Valid()) {
                LogLine("zip entry \"%s\": %s", name.c_str(), error.c_str());
                ++result.failed;
            }
            continue;
        }
        UniqueFd parent = OpenFolder(root.Get(), parts, parts.size() - 1, error);
        if (!parent.Valid()) {
            LogLine("zip entry \"%s\": %s", name.c_str(), error.c_str());
            ++result.failed;
            continue;
        }
        const char* leaf = parts.back().c_str();
        // A file, link or hard link already at the name is replaced, never written through.
        if (::unlinkat(parent.Get(), leaf, 0) != 0 && errno != ENOENT) {
            LogLine("zip entry \"%s\": cannot replace the existing file: %s", name.c_str(),
                    std::strerror(errno));
            ++result.failed;
            continue;
        }
        if (unzOpenCurrentFile(archive) != UNZ_OK) {
            LogLine("zip entry \"%s\": cannot open its data (encrypted or unknown method)",
                    name.c_str());
            ++result.failed;
            continue;
        }
        UniqueFd out(::openat(parent.Get(), leaf,
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!out.Valid()) {
            LogLine("zip entry \"%s\": cannot create the file: %s", name.c_str(),
                    std::strerror(errno));
            unzCloseCurrentFile(archive);
            ++result.failed;
            continue;
        }
        bool good = true;
        for (;;) {
            const int read =
                unzReadCurrentFile(archive, buffer.data(), static_cast<unsigned>(buffer.size()));
            if (read == 0) break;
            if (read < 0) {
                LogLine("zip entry \"%s\": data error %d", name.c_str(), read);
                good = false;
                break;
            }
            totalBytes += static_cast<uint64_t>(read);
            if (totalBytes > m_limits.maxTotalBytes) {
                LogLine("zip package %s unpacks to more than %llu bytes; extraction stopped",
                        zipPath.c_str(), static_cast<unsigned long long>(m_limits.maxTotalBytes));
                result.limitReached = true;
                good = false;
                break;
            }
            if (!out.WriteAll(buffer.data(), static_cast<size_t>(read))) {
                LogLine("zip entry \"%s\": write failed: %s", name.c_str(), std::strerror(errno));
                good = false;
                break;
            }
        }
        const int closed = unzCloseCurrentFile(archive);
        if (good && closed == UNZ_CRCERROR) {
            LogLine("zip entry \"%s\": CRC mismatch", name.c_str());
            good = false;
        }
        if (!out.Close() && good) {
            LogLine("zip entry \"%s\": cannot finish the file: %s", name.c_str(),
                    std::strerror(errno));
            good = false;
        }
        if (!good) {
            ::unlinkat(parent.Get(), leaf, 0);
            if (result.limitReached) break;
            ++result.failed;
            continue;
        }
        ++result.filesWritten;
    }
    if (!result.limitReached && step != UNZ_END_OF_LIST_OF_FILE && step != UNZ_OK) {
        LogLine("zip package %s: directory read error %d", zipPath.c_str(), step);
        ++result.failed;
    }
    result.complete = !result.limitReached && result.refused == 0 && result.failed == 0;
    return result;
}

}  // namespace kestrix
