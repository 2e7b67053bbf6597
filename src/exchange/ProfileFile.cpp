// SPDX-License-Identifier: MIT
#include "exchange/ProfileFile.h"

#include <array>
#include <filesystem>
#include <vector>

#include "base/Log.h"
#include "base/Text.h"
#include "base/Utf8.h"
#include "exchange/ProfileValueCheck.h"
#include "store/DataStore.h"
#include "store/StoreTransaction.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

// The performance settings the file carries under <Mouse>, in file order; the element is
// named after its setting key.
constexpr std::array<const char*, 9> kMouseSettings = {
    "button_respondtime", "report_rate", "sensor_flag", "liftoff_height",  "scroll_flag",
    "e-sports_flag",      "sleep_light", "move_wakeup", "move_closelight",
};
constexpr int kDpiStages = 6;

std::string Decimal(int value) { return Format("%d", value); }

std::string SettingOrEmpty(DataStore& store, ProfileId profile, const std::string& key) {
    std::string value;
    store.GetSetting(profile, key, value);  // empty when it cannot be read
    return value;
}

// Shown name of the file: its name without folder, minus its last four characters.
std::string ProfileNameFromPath(const std::string& path) {
    std::string fileName = std::filesystem::path(path).filename().string();
    size_t count = utf8::CodePointCount(fileName);
    return RemoveControlCharacters(count > 4 ? utf8::TruncateCodePoints(fileName, count - 4)
                                             : std::string());
}

}  // namespace

bool ExportProfile(DataStore& store, ProfileId profile, const std::string& path, bool lightingPage,
                   const ProfileNameRenderer& shownName) {
    const unsigned failures = store.FailureCount();
    std::string storedName;
    store.GetProfileName(profile, storedName);

    XmlDocument doc;
    doc.SetDocText(XmlDocument::kNewDocumentText);
    doc.AddElement("profile");
    doc.IntoElement();
    doc.AddElement("profileinfo");
    doc.SetAttribute("name", shownName ? shownName(storedName) : storedName);
    doc.IntoElement();

    doc.AddElement("keyitems");
    std::vector<KeyAssignmentRow> keys;
    if (store.ListKeyAssignments(profile, keys) > 0) {
        doc.IntoElement();
        for (const KeyAssignmentRow& key : keys) {
            doc.AddElement("item");
            doc.SetAttribute("key_code", Decimal(key.keyCode));
            doc.SetAttribute("macro_type", Decimal(key.macroType));
            doc.SetAttribute("macro_value", Decimal(key.macroValue));
            doc.SetAttribute("macro_value2", Decimal(key.macroValue2));
            doc.SetAttribute("macro_value3", Decimal(key.macroValue3));
            doc.SetAttribute("macro_desc", key.macroDesc);
        }
        doc.OutOfElement();
    }

    if (lightingPage) {
        doc.AddElement("Lightitems");
        doc.SetAttribute("lightmode", Decimal(store.GetActiveLightMode(profile)));
        std::vector<LightRow> lights;
        if (store.ListLightRows(profile, lights) > 0) {
            doc.IntoElement();
            for (const LightRow& light : lights) {
                doc.AddElement("item");
                doc.SetAttribute("light_mode", Decimal(light.mode));
                doc.SetAttribute("brightness", Decimal(light.brightness));
                doc.SetAttribute("speed", Decimal(light.speed));
                doc.SetAttribute("direction", Decimal(light.direction));
                doc.SetAttribute("colorful", Decimal(light.colorful));
                doc.SetAttribute("colorindex", Decimal(light.colorIndex));
                for (size_t i = 0; i < light.colorValues.size(); ++i) {
                    doc.SetAttribute(Format("color_value%zu", i + 1),
                                     Decimal(light.colorValues[i]));
                }
            }
            doc.OutOfElement();
        }
    }

    doc.AddElement("Mouse_DPI");
    for (const char* key : {"dpi_flag", "dpi_index", "dpi_count"}) {
        doc.SetAttribute(key, SettingOrEmpty(store, profile, key));
    }
    doc.IntoElement();
    for (int stage = 0; stage < kDpiStages; ++stage) {
        doc.AddElement(Format("DPI%d", stage + 1));
        doc.SetAttribute("value",
                         SettingOrEmpty(store, profile, Format("dpi_group%d_value", stage)));
        doc.SetAttribute("color", SettingOrEmpty(store, profile, Format("dpi_group%d_rgb", stage)));
    }
    doc.OutOfElement();

    doc.AddElement("Mouse");
    doc.IntoElement();
    for (const char* key : kMouseSettings) {
        doc.AddElement(key);
        doc.SetAttribute("value", SettingOrEmpty(store, profile, key));
    }

    // A file built from a failed read would replace the user's file with a partial one.
    if (store.FailureCount() != failures) {
        LogLine("profile export: the profile could not be read: %s", store.LastFailure().c_str());
        return false;
    }
    if (!doc.SaveFile(path)) {
        LogLine("profile export: cannot write %s", path.c_str());
        return false;
    }
    return true;
}

ProfileImportResult ImportProfile(DataStore& store, ProfileId profile, const std::string& path,
                                  bool lightingPage, const SettingLimits& limits,
                                  const TaskQueuer& queueTask) {
    ProfileImportResult result;
    XmlDocument doc;
    if (!doc.LoadFile(path)) {
        LogLine("profile import: %s refused: %s", path.c_str(),
                DescribeParseResult(doc.LastParseResult()).c_str());
        return result;
    }
    // Without the root and its profileinfo this is not a profile file; leave everything.
    if (!doc.FindElement("profile")) {
        LogLine("profile import: %s is not a profile file (its root is not <profile>)",
                path.c_str());
        return result;
    }
    if (!doc.IntoElement() || !doc.FindElement("profileinfo")) {
        LogLine("profile import: %s is not a profile file (no <profileinfo> in <profile>)",
                path.c_str());
        return result;
    }
    // A shared file must not be able to send the mouse values its pages would refuse.
    result.refusal = CheckProfileValues(doc.GetDocText(), limits, lightingPage);
    if (!result.refusal.empty()) {
        LogLine("profile import: %s refused, nothing imported: %s", path.c_str(),
                result.refusal.c_str());
        return result;
    }

    // Every row of the profile in one transaction: a refused write keeps the old profile
    // whole, and the mouse is then sent nothing.
    StoreTransaction transaction(store);
    const std::string profileName = ProfileNameFromPath(path);
    store.RenameProfile(profile, profileName);

    doc.IntoElement();
    store.DeleteProfileKeyAssignments(profile);

    if (doc.FindElement("keyitems")) {
        doc.IntoElement();
        while (doc.FindElement("item")) {
            KeyAssignmentRow row;
            row.profile = profile;
            row.fnLayer = 0;
            row.keyCode = ParseDecimal(doc.GetAttribute("key_code"));
            row.macroType = ParseDecimal(doc.GetAttribute("macro_type"));
            row.macroValue = ParseDecimal(doc.GetAttribute("macro_value"));
            row.macroValue2 = ParseDecimal(doc.GetAttribute("macro_value2"));
            row.macroValue3 = ParseDecimal(doc.GetAttribute("macro_value3"));
            row.macroDesc = RemoveControlCharacters(doc.GetAttribute("macro_desc"));
            store.ReplaceKeyAssignment(row);
        }
        doc.OutOfElement();
    }

    if (lightingPage && doc.FindElement("Lightitems")) {
        store.SetActiveLightMode(profile, ParseDecimal(doc.GetAttribute("lightmode")));
        doc.IntoElement();
        while (doc.FindElement("item")) {
            int mode = ParseDecimal(doc.GetAttribute("light_mode"));
            LightRow row;
            if (!store.GetLightRow(profile, mode, row)) continue;  // no such effect here
            row.brightness = ParseDecimal(doc.GetAttribute("brightness"));
            row.speed = ParseDecimal(doc.GetAttribute("speed"));
            row.direction = ParseDecimal(doc.GetAttribute("direction"));
            row.colorful = ParseDecimal(doc.GetAttribute("colorful"));
            row.colorIndex = ParseDecimal(doc.GetAttribute("colorindex"));
            for (size_t i = 0; i < row.colorValues.size(); ++i) {
                row.colorValues[i] =
                    ParseDecimal(doc.GetAttribute(Format("color_value%zu", i + 1)));
            }
            store.UpdateLightRow(mode, row);
        }
        doc.OutOfElement();
    }

    if (doc.FindElement("Mouse_DPI")) {
        for (const char* key : {"dpi_flag", "dpi_index", "dpi_count"}) {
            store.SetSetting(profile, key, doc.GetAttribute(key));
        }
        doc.IntoElement();
        for (int stage = 0; stage < kDpiStages; ++stage) {
            if (!doc.FindElement(Format("DPI%d", stage + 1))) continue;
            store.SetSetting(profile, Format("dpi_group%d_value", stage),
                             doc.GetAttribute("value"));
            store.SetSetting(profile, Format("dpi_group%d_rgb", stage), doc.GetAttribute("color"));
        }
        doc.OutOfElement();
    }

    if (doc.FindElement("Mouse")) {
        doc.IntoElement();
        for (const char* key : kMouseSettings) {
            if (doc.FindElement(key)) store.SetSetting(profile, key, doc.GetAttribute("value"));
        }
        doc.OutOfElement();
    }

    if (!transaction.Commit()) {
        LogLine("profile import: the database refused %s; nothing was changed: %s", path.c_str(),
                store.LastFailure().c_str());
        return result;
    }
    result.imported = true;
    result.profileName = profileName;
    if (queueTask) queueTask(kApplyProfileTask);
    return result;
}

}  // namespace kestrix
