// SPDX-License-Identifier: MIT
#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "base/Log.h"
#include "base/UniqueFd.h"
#include "base/Utf8.h"

namespace kestrix {
namespace {

// Language files are a few kilobytes; anything this large is not one of ours.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;

// A missing language file is looked up hundreds of times per window refresh; say so once.
void ReportUnreadable(const std::string& path, const std::string& reason) {
    static std::mutex mutex;
    static std::unordered_set<std::string> reported;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!reported.insert(path).second) return;
    }
    LogLine("INI file %s cannot be read: %s", path.c_str(), reason.c_str());
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// One line of the file, classified.
struct Line {
    enum class Kind { Skip, Section, Key } kind = Kind::Skip;
    std::string_view name;   // section name or key
    std::string_view value;  // value of a key line
};

Line Classify(std::string_view raw) {
    Line line;
    const std::string_view text = Trim(raw);
    if (text.empty() || text.front() == ';') return line;
    if (text.front() == '[') {
        std::string_view inner = text.substr(1);
        const size_t close = inner.rfind(']');
        if (close != std::string_view::npos) inner = inner.substr(0, close);
        line.kind = Line::Kind::Section;
        line.name = Trim(inner);
        return line;
    }
    line.kind = Line::Kind::Key;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.name = text;
        return line;
    }
    line.name = Trim(text.substr(0, equals));
    line.value = Unquote(Trim(text.substr(equals + 1)));
    return line;
}

// Calls visit(line, lineNumber) for each line until it returns false; "\r\n", "\n" and "\r"
// all end a line.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    size_t pos = 0;
    size_t number = 1;
    while (pos < text.size()) {
        const size_t end = text.find_first_of("\r\n", pos);
        const std::string_view line =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!visit(line, number)) return;
        if (end == std::string_view::npos) return;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        ++number;
    }
}

// Straight to UTF-8: this runs on every lookup, so no intermediate UTF-16 string.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    const size_t end = bytes.size() & ~size_t{1};
    for (size_t i = 0; i < end; i += 2) {
        char32_t unit = unitAt(i);
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < end) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        // AppendCodePoint turns a surrogate left unpaired into U+FFFD.
        utf8::AppendCodePoint(out, unit);
    }
    return out;
}

// Identity and version of a file as the file system reports it.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileStamp Of(const struct stat& status) {
        return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim,
                         status.st_ctim};
    }
    bool operator==(const FileStamp& other) const {
        const auto same = [](const timespec& a, const timespec& b) {
            return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
        };
        return device == other.device && inode == other.inode && size == other.size &&
               same(modified, other.modified) && same(changed, other.changed);
    }
};

// Reads and decodes the file, reporting the stamp of exactly the bytes it read.
std::optional<std::string> ReadDecoded(const std::string& path, FileStamp& stamp) {
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        ReportUnreadable(path, std::strerror(errno));
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        ReportUnreadable(path, std::strerror(errno));
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        ReportUnreadable(path, "not a regular file");
        return std::nullopt;
    }
    if (status.st_size > kMaxFileSize) {
        ReportUnreadable(path, "larger than 16 MiB");
        return std::nullopt;
    }
    stamp = FileStamp::Of(status);
    std::string bytes(static_cast<size_t>(status.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ReportUnreadable(path, std::strerror(errno));
            return std::nullopt;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return IniFile::DecodeText(bytes);
}

// Lookup key of (section, key): both lower-cased, joined by a line break (which neither
// can contain).
std::string IndexKey(std::string_view section, std::string_view key) {
    std::string joined;
    joined.reserve(section.size() + key.size() + 1);
    for (const char c : section) joined.push_back(AsciiLower(c));
    joined.push_back('\n');
    for (const char c : key) joined.push_back(AsciiLower(c));
    return joined;
}

// Every value reachable by a lookup: keys of the first section of each name, first key wins.
using FileIndex = std::unordered_map<std::string, std::string>;

FileIndex BuildIndex(std::string_view text) {
    FileIndex index;
    // Keys before the first header belong to the unnamed section.
    std::string sectionPrefix = IndexKey("", "");
    std::unordered_set<std::string> sectionsSeen{sectionPrefix};
    bool searchable = true;
    ForEachLine(text, [&](std::string_view raw, size_t) {
        const Line line = Classify(raw);
        if (line.kind == Line::Kind::Section) {
            sectionPrefix = IndexKey(line.name, "");
            searchable = sectionsSeen.insert(sectionPrefix).second;
        } else if (line.kind == Line::Kind::Key && searchable) {
            std::string key = sectionPrefix;
            for (const char c : line.name) key.push_back(AsciiLower(c));
            index.emplace(std::move(key), std::string(line.value));
        }
        return true;
    });
    return index;
}

// A page refresh looks up a few hundred texts in one file. Reading and decoding the file
// for each of them cost more than a frame, so the parsed file is kept and used again for as
// long as the file on disk carries the same stamp; any change to the file is seen by the
// next lookup. A file whose modification time is within two seconds of now is not kept,
// because a second change within the file system's timestamp granularity would leave the
// stamp unchanged. A file dated further in the future is kept: any write gives it the
// current time, which changes its stamp.
std::shared_ptr<const FileIndex> CurrentIndex(const std::string& path) {
    struct Cached {
        FileStamp stamp;
        std::shared_ptr<const FileIndex> index;
    };
    static std::mutex mutex;
    static std::unordered_map<std::string, Cached> cache;
    constexpr size_t kMaxCachedFiles = 16;
    constexpr time_t kSettledSeconds = 2;

    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = cache.find(path);
        if (found != cache.end() && found->second.stamp == FileStamp::Of(status)) {
            return found->second.index;
        }
    }
    FileStamp stamp;
    const std::optional<std::string> text = ReadDecoded(path, stamp);
    std::lock_guard<std::mutex> lock(mutex);
    if (!text) {
        cache.erase(path);
        return nullptr;
    }
    auto index = std::make_shared<const FileIndex>(BuildIndex(*text));
    const time_t age = std::time(nullptr) - stamp.modified.tv_sec;
    if (age >= kSettledSeconds || age <= -kSettledSeconds) {
        if (cache.size() >= kMaxCachedFiles) cache.clear();
        cache[path] = Cached{stamp, index};
    } else {
        cache.erase(path);
    }
    return index;
}

}  // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultText) const {
    const std::shared_ptr<const FileIndex> index = CurrentIndex(m_path);
    if (index) {
        const auto found = index->find(IndexKey(Trim(section), Trim(key)));
        if (found != index->end()) return utf8::TruncateCodePoints(found->second, kMaxValueLength);
    }
    return utf8::TruncateCodePoints(defaultText, kMaxValueLength);
}

std::optional<std::string> IniFile::ReadText() const {
    FileStamp stamp;
    return ReadDecoded(m_path, stamp);
}

IniFile::Encoding IniFile::DetectEncoding(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return Encoding::Utf16Le;
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return Encoding::Utf16Be;
    if (bytes.size() >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF') {
        return Encoding::Utf8WithBom;
    }
    return Encoding::Utf8;
}

std::string IniFile::DecodeText(std::string_view bytes) {
    switch (DetectEncoding(bytes)) {
        case Encoding::Utf16Le:
            return DecodeUtf16(bytes.substr(2), false);
        case Encoding::Utf16Be:
            return DecodeUtf16(bytes.substr(2), true);
        case Encoding::Utf8WithBom:
            bytes.remove_prefix(3);
            break;
        case Encoding::Utf8:
            break;
    }
    // Without a byte-order mark a file in the system code page is still readable.
    if (!utf8::IsValid(bytes)) return utf8::FromWindows1252(bytes);
    return std::string(bytes);
}

std::vector<IniFile::Entry> IniFile::Parse(std::string_view text) {
    std::vector<Entry> entries;
    std::string_view section;
    ForEachLine(text, [&](std::string_view raw, size_t number) {
        const Line line = Classify(raw);
        if (line.kind == Line::Kind::Section) section = line.name;
        if (line.kind == Line::Kind::Key) {
            entries.push_back(Entry{std::string(section), std::string(line.name),
                                    std::string(line.value), number});
        }
        return true;
    });
    return entries;
}

std::optional<std::string> IniFile::FindValue(std::string_view text, std::string_view section,
                                              std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    // Lines before the first header belong to the unnamed section.
    bool inSection = section.empty();
    bool sectionSeen = inSection;
    std::optional<std::string> found;
    ForEachLine(text, [&](std::string_view raw, size_t) {
        const Line line = Classify(raw);
        if (line.kind == Line::Kind::Section) {
            // Only the first section of that name is searched.
            if (sectionSeen) return false;
            inSection = EqualsIgnoreCase(line.name, section);
            sectionSeen = inSection;
            return true;
        }
        if (line.kind == Line::Kind::Key && inSection && EqualsIgnoreCase(line.name, key)) {
            found = std::string(line.value);
            return false;
        }
        return true;
    });
    return found;
}

}  // namespace kestrix
