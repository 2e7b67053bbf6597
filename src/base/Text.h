// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// Plain decimal conversion as the stored files and settings use it: leading blanks, an
// optional sign, then digits up to the first non-digit. Non-numeric text reads as 0, and so
// does a number that does not fit a 32-bit int (instead of wrapping).
int ParseDecimal(std::string_view text);
// Hexadecimal digits (no prefix) as used by vid/pid; non-hex text reads as 0.
unsigned ParseHex(std::string_view text);
// "#RRGGBB" to the stored colour integer red + 256*green + 65536*blue; 0 for anything else.
int ParseColour(std::string_view text);
// name without its control characters (C0 other than TAB, DEL, U+0080..U+009F): what every
// name a user types or a file brings is stored as, so no name can drive a terminal or make an
// exported file unreadable.
std::string RemoveControlCharacters(std::string_view name);
// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kestrix
