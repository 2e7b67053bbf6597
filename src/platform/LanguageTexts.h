// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// The numbered texts of the user interface and the process-wide language state.
// Texts live in "<module folder>language/<lcid>.lan", section "LAN", key = decimal text id;
// every lookup goes to the current language's file at that moment (IniFile reuses a parsed
// file only while it is unchanged on disk), so a missing file or id shows as an empty text. Names
// the program generated in one language (default names, copies, profile names) are re-rendered for
// the current language by the pure rules below. All state functions are thread-safe; the worker
// looks texts up too.
class LanguageTexts {
  public:
    // The language of the lookups until start-up chooses one, and its last fallback.
    static constexpr int kStartLcid = 1033;
    // Section holding the texts in every language file.
    static constexpr std::string_view kSection = "LAN";
    // Text id of the word for profile, used for generated profile names.
    static constexpr int kProfileWordId = 61;
    // Text id of the word for a user-made (custom) item, used for generated names.
    static constexpr int kCustomWordId = 351;

    // One entry of the language combo: its LCID (the item data) and its fixed text.
    struct OfferedLanguage {
        int lcid;
        std::string_view comboText;
    };

    // Sets the program folder below which "language/" lies; a missing trailing '/' is added.
    static void SetModuleFolder(std::string folder);
    // The program folder set last (empty until set), ending in '/'.
    static std::string ModuleFolder();
    // Path of the language file of lcid: module folder + "language/" + lcid + ".lan".
    static std::string FilePath(int lcid);

    // Makes lcid the language of every following lookup (the caller persists the choice).
    static void SetCurrentLcid(int lcid);
    // Language of the lookups; kStartLcid until set. A thread inside a ThreadLanguage scope
    // gets that scope's language instead.
    static int CurrentLcid();

    // Makes lcid the language of the lookups of the calling thread while it lives, whatever
    // the process-wide language is (a forwarded kestrixctl command inside the window program
    // answers in kestrixctl's language, the window keeps its own).
    class ThreadLanguage {
      public:
        explicit ThreadLanguage(int lcid);
        ~ThreadLanguage();
        ThreadLanguage(const ThreadLanguage&) = delete;
        ThreadLanguage& operator=(const ThreadLanguage&) = delete;

      private:
        int m_previous;
    };

    // Replaces the languages config.xml lists, in order, dropping repeats.
    static void SetAvailableLcids(const std::vector<int>& lcids);
    // The languages config.xml lists, in the order given.
    static std::vector<int> AvailableLcids();

    // Text id in the current language; empty when the file, section or id is missing.
    static std::string GetText(int id, std::string_view section = kSection);

    // The combo entries in their fixed order, only those whose LCID is in available; an
    // available LCID without a combo text is never offered.
    static std::vector<OfferedLanguage> OfferedLanguages(const std::vector<int>& available);
    // Fixed combo text of lcid, empty when the language is not one of the seven offered.
    static std::string_view ComboText(int lcid);

    // Prefix rule: under lcid, a stored name beginning with another language's default-name
    // word is shown as customWord followed by the rest of the name; otherwise unchanged.
    static std::string ApplyPrefixRule(std::string_view stored, int lcid,
                                       std::string_view customWord);
    // Copy rule: under lcid, a stored name ending in another language's copy word is shown
    // in lcid's copy format around the text before that word; otherwise unchanged.
    static std::string ApplyCopyRule(std::string_view stored, int lcid);
    // Where a profile name goes: the screen, or an exported profile file.
    enum class ProfileNameForm { Shown, Exported };
    // Profile rule: a name beginning with "Profile" or "配置" becomes profileWord, a blank and
    // the rest of the name (in every language); otherwise unchanged. Shown, the rest loses its
    // leading blanks ("Profile 1" -> "Profile 1"); exported, it is kept as stored ("Profile 1"
    // -> "Profile  1"), the form exported files have always carried.
    static std::string ApplyProfileRule(std::string_view stored, std::string_view profileWord,
                                        ProfileNameForm form = ProfileNameForm::Shown);
    // Prefix rule, then copy rule: the shown form of a generated item name.
    static std::string LocaliseName(std::string_view stored, int lcid, std::string_view customWord);
};

// Text id in the current language ("LAN" at every call site); empty when missing.
std::string GetLanText(int id, std::string_view section = LanguageTexts::kSection);
// Language of the user interface (a Windows LCID); 1033 until the user picks another.
int CurrentLcid();
// Switches the language of every following text lookup.
void SetCurrentLcid(int lcid);
// The languages config.xml offers, in its order.
std::vector<int> AvailableLcids();
// Shown form of a stored profile name in the current language (profile rule, text 61).
std::string LocaliseProfileName(std::string_view stored);
// The name an exported profile file carries for a stored profile name (profile rule, text 61,
// in the form exported files have always had).
std::string ExportedProfileName(std::string_view stored);
// Shown form of a generated item name in the current language (prefix and copy rules).
std::string LocaliseGeneratedName(std::string_view stored);

}  // namespace kestrix
