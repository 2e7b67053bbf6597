// SPDX-License-Identifier: MIT
#include "base/Utf8.h"

#include <array>
#include <cstdint>

namespace kestrix::utf8 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one well-formed sequence at text[pos]. Returns its length (1 to 4) and stores the
// code point, or 0 when the bytes there are not a well-formed sequence.
size_t DecodeOne(std::string_view text, size_t pos, char32_t& codePoint) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const size_t left = text.size() - pos;
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (left < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(i);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (next < min || next > max) return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return length;
}

// Code points 0x80..0x9F of Windows-1252; 0 marks the five undefined bytes, which map to
// the C1 control of the same value as the system conversion does.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

bool IsValid(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        char32_t codePoint = 0;
        const size_t length = DecodeOne(bytes, pos, codePoint);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

size_t CodePointCount(std::string_view text) {
    size_t count = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        const size_t length = DecodeOne(text, pos, codePoint);
        pos += length == 0 ? 1 : length;
        ++count;
    }
    return count;
}

std::string TruncateCodePoints(std::string_view text, size_t maxCount) {
    size_t count = 0;
    size_t pos = 0;
    while (pos < text.size() && count < maxCount) {
        char32_t codePoint = 0;
        const size_t length = DecodeOne(text, pos, codePoint);
        pos += length == 0 ? 1 : length;
        ++count;
    }
    return std::string(text.substr(0, pos));
}

void AppendCodePoint(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        codePoint = kReplacement;
    }
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

std::string FromWide(const wchar_t* text) {
    std::string out;
    if (text == nullptr) return out;
    for (; *text != 0; ++text) AppendCodePoint(out, static_cast<char32_t>(*text));
    return out;
}

std::string FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            const char32_t codePoint =
                0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            AppendCodePoint(out, codePoint);
            ++i;
        } else {
            AppendCodePoint(out, unit);  // a lone surrogate becomes U+FFFD there
        }
    }
    return out;
}

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        const size_t length = DecodeOne(text, pos, codePoint);
        if (length == 0) {
            out.push_back(static_cast<char16_t>(kReplacement));
            ++pos;
            continue;
        }
        pos += length;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(codePoint));
        }
    }
    return out;
}

std::string FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char32_t codePoint = byte;
        if (byte >= 0x80 && byte <= 0x9F && kWindows1252High[byte - 0x80] != 0) {
            codePoint = kWindows1252High[byte - 0x80];
        }
        AppendCodePoint(out, codePoint);
    }
    return out;
}

std::string ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        const size_t length = DecodeOne(text, pos, codePoint);
        pos += length == 0 ? 1 : length;
        char byte = '?';
        if (length == 0) {
            byte = '?';
        } else if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
            byte = static_cast<char>(codePoint);
        } else {
            for (size_t i = 0; i < kWindows1252High.size(); ++i) {
                const char32_t mapped = kWindows1252High[i] != 0 ? kWindows1252High[i] : 0x80 + i;
                if (mapped == codePoint) {
                    byte = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        out.push_back(byte);
    }
    return out;
}

std::string Sanitize(std::string_view text) {
    if (IsValid(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        const size_t length = DecodeOne(text, pos, codePoint);
        if (length == 0) {
            AppendCodePoint(out, kReplacement);
            ++pos;
        } else {
            out.append(text.substr(pos, length));
            pos += length;
        }
    }
    return out;
}

}  // namespace kestrix::utf8
