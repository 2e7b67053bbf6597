// SPDX-License-Identifier: MIT
#include "platform/LanguageTexts.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <initializer_list>
#include <mutex>

#include "platform/IniFile.h"

namespace kestrix {
namespace {

// Each language named in itself, the same whatever language the window is in.
constexpr std::array<LanguageTexts::OfferedLanguage, 7> kOffered = {{
    {2052, "简体中文"},
    {1033, "English"},
    {1028, "繁體中文"},
    {1041, "日本語"},
    {1042, "한국어"},
    {1058, "Українська мова"},
    {1049, "Русский язык"},
}};

// Default-name words of the other languages, in the order they are tried.
struct PrefixRule {
    int lcid;
    std::array<std::string_view, 4> prefixes;
};
constexpr std::string_view kRussianPrefix = "Пользоват";
constexpr std::array<PrefixRule, 5> kPrefixRules = {{
    {1028, {"自定义", "Custom", "カスタム", "Пользоват"}},
    {1033, {"自定义", "自定義", "カスタム", "Пользоват"}},
    {1041, {"自定义", "Custom", "自定義", "Пользоват"}},
    {1049, {"自定义", "Custom", "自定義", "カスタム"}},
    {2052, {"Custom", "自定義", "カスタム", "Пользоват"}},
}};

// Copy words of the other languages, in the order they are tried, and the copy format of
// the current language as the text that follows the base name.
struct CopyRule {
    int lcid;
    std::initializer_list<std::string_view> words;
    std::string_view suffix;
};
const std::array<CopyRule, 5> kCopyRules = {{
    {1028, {"复制", "Copy", "Копировать"}, " 複製"},
    {1033, {"复制", "複製", "Копировать"}, " Copy"},
    {1041, {"复制", "Copy", "Копировать"}, " 複製"},
    {1049, {"复制", "Copy"}, " Копировать"},
    {2052, {"Copy", "複製", "Копировать"}, " 复制"},
}};

constexpr std::array<std::string_view, 2> kProfileWords = {"Profile", "配置"};

// Length in bytes of the lower-case Cyrillic letters (а..я, ё) at the start of text.
size_t CyrillicLowerRun(std::string_view text) {
    size_t pos = 0;
    while (pos + 1 < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        const auto next = static_cast<unsigned char>(text[pos + 1]);
        const bool letter = (lead == 0xD0 && next >= 0xB0 && next <= 0xBF) ||
                            (lead == 0xD1 && ((next >= 0x80 && next <= 0x8F) || next == 0x91));
        if (!letter) break;
        pos += 2;
    }
    return pos;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

struct State {
    std::mutex mutex;
    std::string moduleFolder;
    std::vector<int> available;
    std::atomic<int> lcid{LanguageTexts::kStartLcid};
};

State& Shared() {
    static State state;
    return state;
}

}  // namespace

void LanguageTexts::SetModuleFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.moduleFolder = std::move(folder);
}

std::string LanguageTexts::ModuleFolder() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.moduleFolder;
}

std::string LanguageTexts::FilePath(int lcid) {
    return ModuleFolder() + "language/" + std::to_string(lcid) + ".lan";
}

void LanguageTexts::SetCurrentLcid(int lcid) { Shared().lcid.store(lcid); }

namespace {
// The language of the calling thread's ThreadLanguage scope; 0 outside one.
thread_local int t_threadLcid = 0;
}  // namespace

int LanguageTexts::CurrentLcid() { return t_threadLcid != 0 ? t_threadLcid : Shared().lcid.load(); }

LanguageTexts::ThreadLanguage::ThreadLanguage(int lcid) : m_previous(t_threadLcid) {
    t_threadLcid = lcid;
}

LanguageTexts::ThreadLanguage::~ThreadLanguage() { t_threadLcid = m_previous; }

void LanguageTexts::SetAvailableLcids(const std::vector<int>& lcids) {
    std::vector<int> unique;
    for (const int lcid : lcids) {
        if (std::find(unique.begin(), unique.end(), lcid) == unique.end()) unique.push_back(lcid);
    }
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.available = std::move(unique);
}

std::vector<int> LanguageTexts::AvailableLcids() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.available;
}

std::string LanguageTexts::GetText(int id, std::string_view section) {
    return IniFile(FilePath(CurrentLcid())).GetString(section, std::to_string(id));
}

std::vector<LanguageTexts::OfferedLanguage> LanguageTexts::OfferedLanguages(
    const std::vector<int>& available) {
    std::vector<OfferedLanguage> offered;
    for (const OfferedLanguage& language : kOffered) {
        if (std::find(available.begin(), available.end(), language.lcid) != available.end()) {
            offered.push_back(language);
        }
    }
    return offered;
}

std::string_view LanguageTexts::ComboText(int lcid) {
    for (const OfferedLanguage& language : kOffered) {
        if (language.lcid == lcid) return language.comboText;
    }
    return {};
}

std::string LanguageTexts::ApplyPrefixRule(std::string_view stored, int lcid,
                                           std::string_view customWord) {
    for (const PrefixRule& rule : kPrefixRules) {
        if (rule.lcid != lcid) continue;
        for (const std::string_view prefix : rule.prefixes) {
            if (!StartsWith(stored, prefix)) continue;
            std::string_view rest = stored.substr(prefix.size());
            // The Russian word is recognised by its first nine letters; the rest of that word
            // goes with it, or "Пользовательский 1" would show as "Customельский 1".
            if (prefix == kRussianPrefix) rest.remove_prefix(CyrillicLowerRun(rest));
            return std::string(customWord) + std::string(rest);
        }
    }
    return std::string(stored);
}

std::string LanguageTexts::ApplyCopyRule(std::string_view stored, int lcid) {
    for (const CopyRule& rule : kCopyRules) {
        if (rule.lcid != lcid) continue;
        for (const std::string_view word : rule.words) {
            if (!EndsWith(stored, word)) continue;
            std::string_view base = stored.substr(0, stored.find(word));
            // Copies are stored as "<name> <word>"; the format brings its own blank, so the
            // stored one goes, or the shown name would carry two.
            if (!base.empty() && base.back() == ' ') base.remove_suffix(1);
            return std::string(base) + std::string(rule.suffix);
        }
    }
    return std::string(stored);
}

std::string LanguageTexts::ApplyProfileRule(std::string_view stored, std::string_view profileWord,
                                            ProfileNameForm form) {
    for (const std::string_view word : kProfileWords) {
        if (!StartsWith(stored, word)) continue;
        std::string_view rest = stored.substr(word.size());
        // Generated names are stored as "Profile 1": the blank of the format is the only one
        // shown. Exported files keep the form they have always carried.
        if (form == ProfileNameForm::Shown)
            rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
        return std::string(profileWord) + " " + std::string(rest);
    }
    return std::string(stored);
}

std::string LanguageTexts::LocaliseName(std::string_view stored, int lcid,
                                        std::string_view customWord) {
    return ApplyCopyRule(ApplyPrefixRule(stored, lcid, customWord), lcid);
}

std::string GetLanText(int id, std::string_view section) {
    return LanguageTexts::GetText(id, section);
}

int CurrentLcid() { return LanguageTexts::CurrentLcid(); }

void SetCurrentLcid(int lcid) { LanguageTexts::SetCurrentLcid(lcid); }

std::vector<int> AvailableLcids() { return LanguageTexts::AvailableLcids(); }

std::string LocaliseProfileName(std::string_view stored) {
    return LanguageTexts::ApplyProfileRule(stored, GetLanText(LanguageTexts::kProfileWordId));
}

std::string ExportedProfileName(std::string_view stored) {
    return LanguageTexts::ApplyProfileRule(stored, GetLanText(LanguageTexts::kProfileWordId),
                                           LanguageTexts::ProfileNameForm::Exported);
}

std::string LocaliseGeneratedName(std::string_view stored) {
    const int lcid = CurrentLcid();
    return LanguageTexts::LocaliseName(stored, lcid, GetLanText(LanguageTexts::kCustomWordId));
}

}  // namespace kestrix
