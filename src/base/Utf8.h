// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text in memory is UTF-8 across the program. Where a rule counts characters it counts
// Unicode code points, always through these helpers.
namespace kestrix::utf8 {

// True when bytes form well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool IsValid(std::string_view bytes);
// Number of code points; each byte of an ill-formed sequence counts as one.
size_t CodePointCount(std::string_view text);
// The first maxCount code points of text, never cutting a sequence in half.
std::string TruncateCodePoints(std::string_view text, size_t maxCount);
// Appends the UTF-8 form of one code point (invalid ones become U+FFFD).
void AppendCodePoint(std::string& out, char32_t codePoint);
// A wide C string (UTF-32 on Linux, as hidapi returns it) to UTF-8; null gives "" and
// invalid code points become U+FFFD.
std::string FromWide(const wchar_t* text);
// UTF-16 (host order) to UTF-8; unpaired surrogates become U+FFFD.
std::string FromUtf16(std::u16string_view text);
// UTF-8 to UTF-16; ill-formed bytes become U+FFFD.
std::u16string ToUtf16(std::string_view text);
// Windows-1252 (the system code page this program falls back to) to UTF-8.
std::string FromWindows1252(std::string_view bytes);
// UTF-8 to Windows-1252; characters the code page lacks become '?'.
std::string ToWindows1252(std::string_view text);
// text with every ill-formed byte replaced by U+FFFD (well-formed text comes back unchanged).
std::string Sanitize(std::string_view text);

}  // namespace kestrix::utf8
