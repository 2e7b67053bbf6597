// SPDX-License-Identifier: MIT
#include "app/StartLanguage.h"

#include <algorithm>
#include <cstdlib>

#include "platform/LanguageTexts.h"

namespace kestrix {

int LcidOfLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const size_t end = locale.find_first_of(".@");
    const std::string_view name = locale.substr(0, end);
    const size_t separator = name.find_first_of("_-");
    const std::string_view language = name.substr(0, separator);
    const std::string_view territory =
        separator == std::string_view::npos ? std::string_view{} : name.substr(separator + 1);
    if (language == "en") return 1033;
    if (language == "zh") {
        return territory == "TW" || territory == "HK" || territory == "MO" || territory == "Hant"
                   ? 1028
                   : 2052;
    }
    if (language == "ja") return 1041;
    if (language == "ko") return 1042;
    if (language == "uk") return 1058;
    if (language == "ru") return 1049;
    return 0;
}

std::string DesktopMessageLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

std::vector<std::string> FallbackFontsOf(int lcid) {
    std::vector<std::string> families = {"Noto Sans CJK SC", "Noto Sans CJK TC", "Noto Sans CJK JP",
                                         "Noto Sans CJK KR"};
    const auto first = [&families](const char* family) {
        std::stable_partition(families.begin(), families.end(),
                              [family](const std::string& f) { return f == family; });
    };
    if (lcid == 1028) first("Noto Sans CJK TC");
    if (lcid == 1041) first("Noto Sans CJK JP");
    if (lcid == 1042) first("Noto Sans CJK KR");
    return families;
}

int ChooseStartLcid(int storedLcid, std::string_view desktopLocale, int defaultLcid,
                    const std::vector<int>& offered) {
    const auto isOffered = [&offered](int lcid) {
        return lcid != 0 && std::find(offered.begin(), offered.end(), lcid) != offered.end();
    };
    for (int lcid : {storedLcid, LcidOfLocale(desktopLocale), defaultLcid}) {
        if (isOffered(lcid)) return lcid;
    }
    return LanguageTexts::kStartLcid;
}

}  // namespace kestrix
