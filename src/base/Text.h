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
// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kestrix
