// SPDX-License-Identifier: MIT
#include "xml/XmlDocument.h"

#include "base/Log.h"
#include "base/Text.h"
#include "base/UniqueFile.h"
#include "base/Utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace kestrix {
namespace {

using Status = XmlParseResult::Status;

// The declaration is looked for in this many leading bytes of a file without a byte-order mark.
constexpr size_t kEncodingProbeBytes = 1024;
constexpr std::string_view kLineEnd = "\r\n";

// Writes bytes to a new file beside path, flushes it to the disk and renames it over path,
// so a failed write (full disk, size limit, I/O error) leaves the old file byte-identical
// and a crash leaves either the old or the new file, never a truncated one. The temporary
// file is removed on failure. A symbolic link is followed: its target is replaced.
bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
    std::string target = path;
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const std::filesystem::path resolved = std::filesystem::canonical(path, error);
        if (!error) target = resolved.string();
    }
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    // 0666 less the umask, as a plain new file gets; an existing file keeps its mode below.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        LogLine("XmlDocument: cannot create %s: %s", temporary.c_str(), std::strerror(errno));
        return false;
    }
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) fchmod(fd, existing.st_mode & 07777);
    const char* data = bytes.data();
    size_t left = bytes.size();
    int failure = 0;  // errno of the first step that failed
    while (left > 0 && failure == 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failure = written < 0 ? errno : ENOSPC;
            break;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    if (failure == 0 && ::fsync(fd) != 0) failure = errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
    if (failure != 0) {
        LogLine("XmlDocument: cannot write %s: %s", path.c_str(), std::strerror(failure));
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

const char* StatusText(Status status) {
    switch (status) {
        case Status::Ok:
            return "ok";
        case Status::FileError:
            return "file error";
        case Status::TooLarge:
            return "file too large";
        case Status::SyntaxError:
            return "syntax error";
        case Status::EndTagWithoutStart:
            return "end tag without start tag";
        case Status::MismatchedEndTag:
            return "end tag does not match its start tag";
        case Status::UnendedTag:
            return "unended tag";
        case Status::NoRoot:
            return "no root element";
        case Status::SecondRoot:
            return "second root element";
        case Status::DoctypeRefused:
            return "document type declarations are not accepted";
        case Status::TooDeep:
            return "elements nested too deeply";
    }
    return "unknown";
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameStart(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte == '_' ||
           byte == ':' || byte >= 0x80;
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// End of the name starting at pos (pos itself when there is none).
size_t ScanName(std::string_view text, size_t pos) {
    if (pos >= text.size() || !IsNameStart(text[pos])) return pos;
    ++pos;
    while (pos < text.size() && IsNameChar(text[pos])) ++pos;
    return pos;
}

bool IsValidName(std::string_view name) {
    return !name.empty() && ScanName(name, 0) == name.size();
}

size_t SkipSpace(std::string_view text, size_t pos) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    return pos;
}

// Lower case without '-' and '_', so "UTF-8", "utf8" and "Utf_8" compare equal.
std::string NormaliseEncodingName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if (c == '-' || c == '_') continue;
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return out;
}

// The encoding named by the XML declaration at the start of text; empty when none.
std::string DeclaredEncoding(std::string_view text) {
    size_t pos = SkipSpace(text, 0);
    if (text.compare(pos, 5, "<?xml") != 0 || pos + 5 >= text.size() || !IsSpace(text[pos + 5])) {
        return {};
    }
    const size_t declEnd = text.find("?>", pos);
    const std::string_view decl =
        text.substr(pos, declEnd == std::string_view::npos ? text.size() - pos : declEnd - pos);
    for (size_t at = decl.find("encoding"); at != std::string_view::npos;
         at = decl.find("encoding", at + 1)) {
        if (!IsSpace(decl[at - 1])) continue;
        size_t p = SkipSpace(decl, at + 8);
        if (p >= decl.size() || decl[p] != '=') continue;
        p = SkipSpace(decl, p + 1);
        if (p >= decl.size() || (decl[p] != '"' && decl[p] != '\'')) continue;
        const size_t close = decl.find(decl[p], p + 1);
        if (close == std::string_view::npos) return {};
        return std::string(decl.substr(p + 1, close - p - 1));
    }
    return {};
}

bool IsUtf16Name(const std::string& normalised) {
    return normalised == "utf16" || normalised == "utf16le" || normalised == "ucs2" ||
           normalised == "unicode";
}

std::string FromUtf16Bytes(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return utf8::FromUtf16(units);
}

std::string ToUtf16Bytes(std::string_view text, bool bigEndian) {
    const std::u16string units = utf8::ToUtf16(text);
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

// File bytes to the UTF-8 text the document keeps.
std::string DecodeFileBytes(std::string_view bytes) {
    const auto at = [&](size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100u;
    };
    if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return utf8::Sanitize(bytes.substr(3));
    if (at(0) == 0xFF && at(1) == 0xFE) return FromUtf16Bytes(bytes.substr(2), false);
    if (at(0) == 0xFE && at(1) == 0xFF) return FromUtf16Bytes(bytes.substr(2), true);
    // UTF-16 without a mark, as this class writes it for a UTF-16 declaration: the first
    // character is '<', so one of its two bytes is zero.
    if (at(0) == '<' && at(1) == 0) return FromUtf16Bytes(bytes, false);
    if (at(0) == 0 && at(1) == '<') return FromUtf16Bytes(bytes, true);

    const std::string declared =
        NormaliseEncodingName(DeclaredEncoding(bytes.substr(0, kEncodingProbeBytes)));
    if (declared.empty()) {
        if (at(0) == '<') return utf8::Sanitize(bytes);
        return utf8::IsValid(bytes) ? std::string(bytes) : utf8::FromWindows1252(bytes);
    }
    if (declared == "utf8") return utf8::Sanitize(bytes);
    if (IsUtf16Name(declared) || declared == "utf16be") {
        // The declaration was readable as single bytes, so the file is not really UTF-16.
        return utf8::IsValid(bytes) ? std::string(bytes) : utf8::FromWindows1252(bytes);
    }
    // Every other named encoding goes through the system code page, Windows-1252.
    return utf8::FromWindows1252(bytes);
}

// Appends value with the five entities and character references decoded.
std::string DecodeEntities(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    size_t pos = 0;
    while (pos < value.size()) {
        if (value[pos] != '&') {
            out.push_back(value[pos++]);
            continue;
        }
        const size_t semicolon = value.find(';', pos + 1);
        // No entity or reference is longer than "&#x0010FFFF;"; anything else stays literal.
        if (semicolon == std::string_view::npos || semicolon - pos > 12) {
            out.push_back(value[pos++]);
            continue;
        }
        const std::string_view name = value.substr(pos + 1, semicolon - pos - 1);
        bool known = true;
        if (name == "lt") {
            out.push_back('<');
        } else if (name == "gt") {
            out.push_back('>');
        } else if (name == "amp") {
            out.push_back('&');
        } else if (name == "apos") {
            out.push_back('\'');
        } else if (name == "quot") {
            out.push_back('"');
        } else if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            char32_t codePoint = 0;
            known = !digits.empty();
            for (const char c : digits) {
                unsigned digit = 0;
                if (c >= '0' && c <= '9') {
                    digit = static_cast<unsigned>(c - '0');
                } else if (hex && c >= 'a' && c <= 'f') {
                    digit = static_cast<unsigned>(c - 'a' + 10);
                } else if (hex && c >= 'A' && c <= 'F') {
                    digit = static_cast<unsigned>(c - 'A' + 10);
                } else {
                    known = false;
                    break;
                }
                codePoint = codePoint * (hex ? 16 : 10) + digit;
                if (codePoint > 0x10FFFF) codePoint = 0x110000;  // stays invalid, never overflows
            }
            // NUL cannot live in the text; it reads as U+FFFD like every invalid reference.
            if (known) utf8::AppendCodePoint(out, codePoint == 0 ? char32_t{0xFFFD} : codePoint);
        } else {
            known = false;
        }
        if (known) {
            pos = semicolon + 1;
        } else {
            out.push_back(value[pos++]);
        }
    }
    return out;
}

// Attribute value escaping. The C0 controls other than TAB, LF and CR and the code points
// U+FFFE and U+FFFF are not characters of XML 1.0, not even as references, so they are left
// out: a file holding them would be refused by other parsers.
std::string EscapeAttribute(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 8);
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (value.substr(i, 3) == "\xEF\xBF\xBE" || value.substr(i, 3) == "\xEF\xBF\xBF") {
            i += 2;
            continue;
        }
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (c >= 0 && c < 0x20 && c != '\t' && c != '\r' && c != '\n') continue;
                out.push_back(c);
        }
    }
    return out;
}

// Finds attribute name in the start tag text [from, to); sets the value's extent.
bool FindAttribute(std::string_view text, size_t from, size_t to, std::string_view name,
                   size_t& valueStart, size_t& valueEnd) {
    size_t pos = from;
    while (true) {
        pos = SkipSpace(text, pos);
        if (pos >= to) return false;
        const size_t nameEnd = ScanName(text, pos);
        if (nameEnd == pos) return false;
        const std::string_view found = text.substr(pos, nameEnd - pos);
        pos = SkipSpace(text, nameEnd);  // at '='
        pos = SkipSpace(text, pos + 1);  // at the quote
        const size_t close = text.find(text[pos], pos + 1);
        if (found == name) {
            valueStart = pos + 1;
            valueEnd = close;
            return true;
        }
        pos = close + 1;
    }
}

}  // namespace

void XmlDocument::Clear() {
    m_text.clear();
    m_elements.clear();
    m_root = -1;
    m_parent = -1;
    m_current = -1;
}

std::string DescribeParseResult(const XmlParseResult& result) {
    switch (result.status) {
        case Status::Ok:
            return "ok";
        case Status::FileError:
            return "the file cannot be read";
        case Status::TooLarge:
            return Format("larger than %zu MiB", XmlDocument::kMaxFileSize / (1024 * 1024));
        case Status::DoctypeRefused:
            return "document type declarations are not accepted";
        case Status::TooDeep:
            return Format("elements nested deeper than %zu levels", XmlDocument::kMaxDepth);
        default:
            return Format("not well-formed: %s at offset %zu", StatusText(result.status),
                          result.offset);
    }
}

bool XmlDocument::LoadFile(const std::string& path) {
    Clear();
    m_parseResult = {};
    UniqueFile file = UniqueFile::Open(path, "rb");
    if (!file.Valid()) {
        LogLine("XmlDocument: cannot open %s: %s", path.c_str(), std::strerror(errno));
        m_parseResult = {Status::FileError, 0};
        return false;
    }
    struct stat info {};
    if (fstat(fileno(file.Get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        LogLine("XmlDocument: %s is not a regular file", path.c_str());
        m_parseResult = {Status::FileError, 0};
        return false;
    }
    if (static_cast<unsigned long long>(info.st_size) > kMaxFileSize) {
        LogLine("XmlDocument: %s is %lld bytes, more than the 16 MiB limit; not loaded",
                path.c_str(), static_cast<long long>(info.st_size));
        m_parseResult = {Status::TooLarge, 0};
        return false;
    }
    // Read to the end rather than trusting the size, so a file that grew since fstat is still
    // held to the limit.
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char chunk[65536];
    while (true) {
        const size_t read = std::fread(chunk, 1, sizeof chunk, file.Get());
        bytes.append(chunk, read);
        if (bytes.size() > kMaxFileSize) {
            LogLine("XmlDocument: %s is more than the 16 MiB limit; not loaded", path.c_str());
            m_parseResult = {Status::TooLarge, 0};
            return false;
        }
        if (read < sizeof chunk) break;
    }
    if (std::ferror(file.Get())) {
        LogLine("XmlDocument: cannot read %s: %s", path.c_str(), std::strerror(errno));
        m_parseResult = {Status::FileError, 0};
        return false;
    }
    m_text = DecodeFileBytes(bytes);
    if (!Parse()) {
        LogLine("XmlDocument: %s is not a well-formed document (%s at offset %zu)", path.c_str(),
                StatusText(m_parseResult.status), m_parseResult.offset);
        Clear();
        return false;
    }
    return true;
}

bool XmlDocument::SetDocText(std::string_view text) {
    Clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    m_text = utf8::Sanitize(text);
    if (!Parse()) {
        // Text without any element (a declaration alone) is how writers start a document:
        // it stays so that AddElement can give it its root.
        if (m_parseResult.status != Status::NoRoot) Clear();
        return false;
    }
    return true;
}

bool XmlDocument::Parse() {
    m_elements.clear();
    m_root = -1;
    m_parent = -1;
    m_current = -1;
    const std::string_view text = m_text;
    const size_t size = text.size();
    const auto fail = [&](Status status, size_t offset) {
        m_parseResult = {status, offset};
        return false;
    };
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos)
        return fail(Status::SyntaxError, nul);

    std::vector<long> open;  // elements whose end tag is still to come; the parser never recurses
    size_t pos = 0;
    while (pos < size) {
        if (text[pos] != '<') {
            const size_t next = std::min(text.find('<', pos), size);
            if (open.empty()) {
                const size_t nonSpace = SkipSpace(text, pos);
                if (nonSpace < next) return fail(Status::SyntaxError, nonSpace);
            }
            pos = next;
            continue;
        }
        if (text.compare(pos, 2, "<?") == 0) {
            const size_t end = text.find("?>", pos + 2);
            if (end == std::string_view::npos) return fail(Status::UnendedTag, pos);
            pos = end + 2;
            continue;
        }
        if (text.compare(pos, 4, "<!--") == 0) {
            const size_t end = text.find("-->", pos + 4);
            if (end == std::string_view::npos) return fail(Status::UnendedTag, pos);
            pos = end + 3;
            continue;
        }
        if (text.compare(pos, 9, "<![CDATA[") == 0) {
            if (open.empty()) return fail(Status::SyntaxError, pos);
            const size_t end = text.find("]]>", pos + 9);
            if (end == std::string_view::npos) return fail(Status::UnendedTag, pos);
            pos = end + 3;
            continue;
        }
        if (text.compare(pos, 9, "<!DOCTYPE") == 0) return fail(Status::DoctypeRefused, pos);
        if (text.compare(pos, 2, "<!") == 0) return fail(Status::SyntaxError, pos);

        if (text.compare(pos, 2, "</") == 0) {
            const size_t nameEnd = ScanName(text, pos + 2);
            if (nameEnd == pos + 2)
                return fail(pos + 2 >= size ? Status::UnendedTag : Status::SyntaxError, pos);
            const size_t close = SkipSpace(text, nameEnd);
            if (close >= size) return fail(Status::UnendedTag, pos);
            if (text[close] != '>') return fail(Status::SyntaxError, close);
            if (open.empty()) return fail(Status::EndTagWithoutStart, pos);
            Element& element = m_elements[static_cast<size_t>(open.back())];
            if (text.substr(pos + 2, nameEnd - pos - 2) !=
                text.substr(element.start + 1, element.nameLength)) {
                return fail(Status::MismatchedEndTag, pos);
            }
            element.endTag = pos;
            element.end = close + 1;
            open.pop_back();
            pos = close + 1;
            continue;
        }

        // A start tag.
        const size_t nameEnd = ScanName(text, pos + 1);
        if (nameEnd == pos + 1)
            return fail(pos + 1 >= size ? Status::UnendedTag : Status::SyntaxError, pos);
        size_t p = nameEnd;
        size_t tagClose = 0;
        bool selfClosing = false;
        while (true) {
            const size_t afterSpace = SkipSpace(text, p);
            const bool sawSpace = afterSpace > p;
            p = afterSpace;
            if (p >= size) return fail(Status::UnendedTag, pos);
            if (text[p] == '>') {
                tagClose = p++;
                break;
            }
            if (text[p] == '/') {
                if (p + 1 >= size) return fail(Status::UnendedTag, pos);
                if (text[p + 1] != '>') return fail(Status::SyntaxError, p);
                tagClose = p;
                selfClosing = true;
                p += 2;
                break;
            }
            if (!sawSpace) return fail(Status::SyntaxError, p);
            const size_t attributeEnd = ScanName(text, p);
            if (attributeEnd == p) return fail(Status::SyntaxError, p);
            p = SkipSpace(text, attributeEnd);
            if (p >= size) return fail(Status::UnendedTag, pos);
            if (text[p] != '=') return fail(Status::SyntaxError, p);
            p = SkipSpace(text, p + 1);
            if (p >= size) return fail(Status::UnendedTag, pos);
            if (text[p] != '"' && text[p] != '\'') return fail(Status::SyntaxError, p);
            const size_t close = text.find(text[p], p + 1);
            if (close == std::string_view::npos) return fail(Status::UnendedTag, pos);
            if (const size_t less = text.find('<', p + 1); less < close)
                return fail(Status::SyntaxError, less);
            p = close + 1;
        }
        if (open.empty() && m_root >= 0) return fail(Status::SecondRoot, pos);
        if (open.size() >= kMaxDepth) return fail(Status::TooDeep, pos);

        const long index = static_cast<long>(m_elements.size());
        Element element;
        element.start = pos;
        element.nameLength = nameEnd - pos - 1;
        element.tagClose = tagClose;
        element.selfClosing = selfClosing;
        element.endTag = tagClose;
        element.end = p;
        element.parent = open.empty() ? -1 : open.back();
        if (element.parent >= 0) {
            Element& parent = m_elements[static_cast<size_t>(element.parent)];
            if (parent.lastChild >= 0) {
                m_elements[static_cast<size_t>(parent.lastChild)].nextSibling = index;
            } else {
                parent.firstChild = index;
            }
            parent.lastChild = index;
        } else {
            m_root = index;
        }
        m_elements.push_back(element);
        if (!selfClosing) open.push_back(index);
        pos = p;
    }
    if (!open.empty())
        return fail(Status::UnendedTag, m_elements[static_cast<size_t>(open.back())].start);
    if (m_root < 0) return fail(Status::NoRoot, size);
    m_parseResult = {};
    return true;
}

long XmlDocument::FirstChildOf(long parent) const {
    return parent < 0 ? m_root : m_elements[static_cast<size_t>(parent)].firstChild;
}

bool XmlDocument::FindElement(std::string_view name) {
    long candidate = m_current >= 0 ? m_elements[static_cast<size_t>(m_current)].nextSibling
                                    : FirstChildOf(m_parent);
    while (candidate >= 0) {
        const Element& element = m_elements[static_cast<size_t>(candidate)];
        if (std::string_view(m_text).substr(element.start + 1, element.nameLength) == name) {
            m_current = candidate;
            return true;
        }
        candidate = element.nextSibling;
    }
    return false;
}

bool XmlDocument::IntoElement() {
    if (m_current < 0) return false;
    m_parent = m_current;
    m_current = -1;
    return true;
}

bool XmlDocument::OutOfElement() {
    if (m_parent < 0) return false;
    m_current = m_parent;
    m_parent = m_elements[static_cast<size_t>(m_parent)].parent;
    return true;
}

std::string XmlDocument::GetTagName() const {
    if (m_current < 0) return {};
    const Element& element = m_elements[static_cast<size_t>(m_current)];
    return m_text.substr(element.start + 1, element.nameLength);
}

std::string XmlDocument::GetAttribute(std::string_view name) const {
    if (m_current < 0) return {};
    const Element& element = m_elements[static_cast<size_t>(m_current)];
    size_t valueStart = 0;
    size_t valueEnd = 0;
    if (!FindAttribute(m_text, element.start + 1 + element.nameLength, element.tagClose, name,
                       valueStart, valueEnd)) {
        return {};
    }
    return DecodeEntities(std::string_view(m_text).substr(valueStart, valueEnd - valueStart));
}

void XmlDocument::ShiftOffsets(size_t from, long delta) {
    const auto shift = [delta](size_t& offset) {
        offset = static_cast<size_t>(static_cast<long>(offset) + delta);
    };
    for (Element& element : m_elements) {
        // start, tagClose and endTag name a character: they move when it sits at or after the
        // change. end is one past the element: an element ending right at `from` stays.
        if (element.start >= from) shift(element.start);
        if (element.tagClose >= from) shift(element.tagClose);
        if (element.endTag >= from) shift(element.endTag);
        if (element.end > from) shift(element.end);
    }
}

bool XmlDocument::AddElement(std::string_view name) {
    if (!IsValidName(name)) return false;
    // A document has exactly one root; adding a second would write a file nobody can load.
    if (m_parent < 0 && m_root >= 0) return false;

    const std::string emptyElement = "<" + std::string(name) + "/>";
    Element added;
    added.nameLength = name.size();
    added.selfClosing = true;
    added.parent = m_parent;
    const long index = static_cast<long>(m_elements.size());

    if (m_parent < 0) {
        added.start = m_text.size();
        m_text += emptyElement;
        m_text += kLineEnd;
        m_root = index;
    } else if (m_current >= 0) {
        Element& current = m_elements[static_cast<size_t>(m_current)];
        size_t at = current.end;
        if (m_text.compare(at, 2, kLineEnd) == 0) {
            at += 2;
        } else if (m_text.compare(at, 1, "\n") == 0) {
            at += 1;
        }
        const std::string inserted = emptyElement + std::string(kLineEnd);
        m_text.insert(at, inserted);
        ShiftOffsets(at, static_cast<long>(inserted.size()));
        added.start = at;
        added.nextSibling = current.nextSibling;
        current.nextSibling = index;
        Element& parent = m_elements[static_cast<size_t>(m_parent)];
        if (parent.lastChild == m_current) parent.lastChild = index;
    } else {
        Element& parent = m_elements[static_cast<size_t>(m_parent)];
        if (parent.selfClosing) {
            // "<p/>" becomes "<p>\r\n<name/>\r\n</p>".
            const std::string parentName = m_text.substr(parent.start + 1, parent.nameLength);
            const std::string replacement = ">" + std::string(kLineEnd) + emptyElement +
                                            std::string(kLineEnd) + "</" + parentName + ">";
            const size_t at = parent.tagClose;
            m_text.replace(at, 2, replacement);
            ShiftOffsets(at + 2, static_cast<long>(replacement.size()) - 2);
            parent.selfClosing = false;
            parent.endTag = at + 1 + kLineEnd.size() + emptyElement.size() + kLineEnd.size();
            parent.end = at + replacement.size();
            added.start = at + 1 + kLineEnd.size();
        } else {
            const size_t at = parent.endTag;
            const std::string inserted = emptyElement + std::string(kLineEnd);
            m_text.insert(at, inserted);
            ShiftOffsets(at, static_cast<long>(inserted.size()));
            added.start = at;
        }
        if (parent.lastChild >= 0) {
            m_elements[static_cast<size_t>(parent.lastChild)].nextSibling = index;
        } else {
            parent.firstChild = index;
        }
        parent.lastChild = index;
    }
    added.tagClose = added.start + 1 + name.size();
    added.endTag = added.tagClose;
    added.end = added.tagClose + 2;
    m_elements.push_back(added);
    m_current = index;
    return true;
}

bool XmlDocument::SetAttribute(std::string_view name, std::string_view value) {
    if (m_current < 0 || !IsValidName(name)) return false;
    const std::string escaped = EscapeAttribute(utf8::Sanitize(value));
    const Element& element = m_elements[static_cast<size_t>(m_current)];
    size_t valueStart = 0;
    size_t valueEnd = 0;
    if (FindAttribute(m_text, element.start + 1 + element.nameLength, element.tagClose, name,
                      valueStart, valueEnd)) {
        m_text.replace(valueStart, valueEnd - valueStart, escaped);
        ShiftOffsets(valueEnd,
                     static_cast<long>(escaped.size()) - static_cast<long>(valueEnd - valueStart));
        return true;
    }
    const std::string inserted = " " + std::string(name) + "=\"" + escaped + "\"";
    const size_t at = element.tagClose;
    m_text.insert(at, inserted);
    ShiftOffsets(at, static_cast<long>(inserted.size()));
    return true;
}

bool XmlDocument::SaveFile(const std::string& path) const {
    const std::string encoding = NormaliseEncodingName(DeclaredEncoding(m_text));
    std::string bytes;
    if (encoding.empty() || encoding == "utf8") {
        bytes = m_text;
    } else if (IsUtf16Name(encoding)) {
        bytes = ToUtf16Bytes(m_text, false);
    } else if (encoding == "utf16be") {
        bytes = ToUtf16Bytes(m_text, true);
    } else {
        bytes = utf8::ToWindows1252(m_text);
    }
    return ReplaceFileContents(path, bytes);
}

}  // namespace kestrix
