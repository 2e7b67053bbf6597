// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// LCID of a POSIX locale name such as "ru_RU.UTF-8", "zh_TW" or "ja"; 0 for "C", "POSIX",
// an empty name and every language the program has no texts for. Chinese without a region
// (or with zh_CN, zh_SG) is Simplified, zh_TW, zh_HK and zh_MO are Traditional.
int LcidOfLocale(std::string_view locale);

// The locale the desktop asks messages in: the first non-empty of LC_ALL, LC_MESSAGES and
// LANG (the order the C library itself follows).
std::string DesktopMessageLocale();

// The language a run starts in: the stored choice when it is offered, else the desktop
// locale's language when offered, else config.xml's default language when offered, else
// English. offered: the languages the combo offers (config.xml's list, known texts only).
// The font families that give a language its glyphs after the main family (which covers
// Latin and Cyrillic): Noto Sans CJK with the language's own regional forms first, so that a
// Han character shared by Chinese, Japanese and Korean is drawn as readers of that language
// expect; the other regions follow for text in another script (the language list).
std::vector<std::string> FallbackFontsOf(int lcid);

int ChooseStartLcid(int storedLcid, std::string_view desktopLocale, int defaultLcid,
                    const std::vector<int>& offered);

}  // namespace kestrix
