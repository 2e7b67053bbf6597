// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// An INI-style text file read the way the language files expect: "[section]" headers,
// "key=value" lines, ';' comment lines. Section and key names compare case-insensitively
// (ASCII), keys and values are trimmed of blanks, one pair of matching enclosing quotes is
// removed from a value, and the first matching section and key win. The file may be UTF-16LE
// or UTF-16BE with a byte-order mark, or UTF-8 with or without one (bytes that are not valid
// UTF-8 are read as Windows-1252). Every lookup checks the file on disk: the parsed content
// is reused only while the file keeps the same identity, size and change times, so a file
// edited or replaced on disk is seen by the next lookup.
class IniFile {
  public:
    // Longest value handed out, in code points: the 260-character buffer less its terminator.
    static constexpr size_t kMaxValueLength = 259;

    // One "key=value" line of a parsed file, in file order (1-based line number).
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
        size_t line = 0;
    };

    // Byte layout of a file, told by its byte-order mark.
    enum class Encoding { Utf8, Utf8WithBom, Utf16Le, Utf16Be };

    // Refers to the file at path; nothing is read until a lookup.
    explicit IniFile(std::string path);

    // The file this object reads.
    const std::string& Path() const { return m_path; }

    // Value of key in section, cut to kMaxValueLength code points; defaultText (also cut) when
    // the file cannot be read or has no such section or key. An unreadable file leaves one
    // log line per path and process.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultText = {}) const;

    // Whole content decoded to UTF-8; nullopt (with a log line) when the file cannot be read.
    std::optional<std::string> ReadText() const;

    // Encoding of raw file bytes by their byte-order mark (UTF-8 when there is none).
    static Encoding DetectEncoding(std::string_view bytes);
    // Raw file bytes to UTF-8 by DetectEncoding, byte-order mark removed; an odd trailing
    // byte of UTF-16 is dropped and unpaired surrogates become U+FFFD.
    static std::string DecodeText(std::string_view bytes);
    // Every key line of decoded text, values trimmed and unquoted but not cut.
    static std::vector<Entry> Parse(std::string_view text);
    // Lookup within decoded text, with the same rules as GetString.
    static std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                                std::string_view key);

  private:
    std::string m_path;
};

}  // namespace kestrix
