// SPDX-License-Identifier: MIT
#include "base/Text.h"

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace kestrix {

int ParseDecimal(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' ||
                                 text[pos] == '\r' || text[pos] == '\v' || text[pos] == '\f')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulate in 64 bits and give up as soon as the value leaves the int range.
    const int64_t limit = negative ? -int64_t{std::numeric_limits<int>::min()}
                                   : int64_t{std::numeric_limits<int>::max()};
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > limit) return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

unsigned ParseHex(std::string_view text) {
    // Like the decimal reader: leading blanks, then hex digits up to the first other
    // character. A "0x" prefix is tolerated since people write USB ids that way.
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (text.size() - pos > 2 && text[pos] == '0' &&
        (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        pos += 2;
    }
    uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        value = value * 16 + digit;
        if (value > std::numeric_limits<unsigned>::max()) return 0;
    }
    return static_cast<unsigned>(value);
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0) {
        out.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(length));
    }
    va_end(args);
    return out;
}

int ParseColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return 0;
    int channels[3] = {};
    for (int channel = 0; channel < 3; ++channel) {
        const std::string_view digits = text.substr(1 + 2 * channel, 2);
        for (char c : digits) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) return 0;
        }
        channels[channel] = static_cast<int>(ParseHex(digits));
    }
    return channels[0] + 256 * channels[1] + 65536 * channels[2];
}

std::string RemoveControlCharacters(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) continue;
        // U+0080..U+009F are C2 80..C2 9F in UTF-8.
        if (byte == 0xC2 && i + 1 < name.size() &&
            static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(name[i + 1]) <= 0x9F) {
            ++i;
            continue;
        }
        out.push_back(name[i]);
    }
    return out;
}

}  // namespace kestrix
