// SPDX-License-Identifier: MIT
#include "update/VersionText.h"

#include <vector>

#include "base/FirmwareVersion.h"
#include "base/Text.h"

namespace kestrix {
namespace {

std::vector<std::string_view> SplitAtDots(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = text.find('.', start);
        parts.push_back(text.substr(
            start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) return parts;
        start = dot + 1;
    }
}

}  // namespace

std::string_view TrimVersionText(std::string_view text) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

int CompareVersions(std::string_view current, std::string_view latest) {
    const std::vector<std::string_view> currentParts = SplitAtDots(TrimVersionText(current));
    const std::vector<std::string_view> latestParts = SplitAtDots(TrimVersionText(latest));
    if (currentParts.size() != latestParts.size()) return 2;
    for (size_t i = 0; i < currentParts.size(); ++i) {
        const int mine = ParseDecimal(currentParts[i]);
        const int theirs = ParseDecimal(latestParts[i]);
        if (mine < theirs) return 1;
        if (mine > theirs) return -1;
    }
    return 0;
}

std::string ApplicationVersionLabel(std::string_view newVersionText, std::string_view version) {
    return std::string(newVersionText) + ": v" + std::string(version);
}

std::string ApplicationPromptText(std::string_view newVersionText, std::string_view version,
                                  std::string_view question) {
    return std::string(newVersionText) + ":v" + std::string(version) + ", " + std::string(question);
}

std::string FirmwarePromptText(std::string_view newVersionText, std::string_view version,
                               std::string_view question) {
    return std::string(newVersionText) + ":v" + FirmwareVersionDigits(version) + ", " +
           std::string(question);
}

}  // namespace kestrix
