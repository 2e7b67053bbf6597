// SPDX-License-Identifier: MIT
#include "rules/EnsureProfiles.h"

#include <algorithm>
#include <vector>

#include "base/Log.h"
#include "base/Text.h"
#include "rules/PerformanceDefaults.h"
#include "store/DataStore.h"
#include "store/DefaultLightRows.h"
#include "store/DefaultSettings.h"
#include "store/StoreTransaction.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

// The value a missing setting row gets: the model file's, else the built-in default.
std::vector<SettingValue> CompleteSettingValues(const std::vector<SettingValue>& modelValues) {
    std::vector<SettingValue> values;
    for (const DefaultSetting& setting : DefaultSettings()) {
        SettingValue value{std::string(setting.key), std::string(setting.value)};
        for (const SettingValue& model : modelValues) {
            if (model.key == value.key) value.value = model.value;
        }
        values.push_back(std::move(value));
    }
    return values;
}

// Inserts the rows profile lacks; false when its keys could not be read or a write failed.
bool CompleteSettings(DataStore& store, ProfileId profile,
                      const std::vector<SettingValue>& values) {
    std::vector<std::string> keys;
    if (store.ListSettingKeys(profile, keys) < 0) return false;
    for (const SettingValue& value : values) {
        if (std::find(keys.begin(), keys.end(), value.key) != keys.end()) continue;
        if (!store.InsertSetting(profile, value.key, value.value)) return false;
    }
    return true;
}

// Inserts the lighting rows of enabled effects profile lacks; a profile that had none gets
// effect 1 active, as the lighting page gives a new profile.
bool CompleteLightRows(DataStore& store, ProfileId profile, const std::array<bool, 6>& enabled) {
    std::vector<LightRow> rows;
    const int count = store.ListLightRows(profile, rows);
    if (count < 0) return false;
    if (count == 0) return InsertDefaultLightRows(store, profile, enabled) >= 0;
    for (size_t i = 0; i < enabled.size(); ++i) {
        const int mode = DefaultLightRows()[i].mode;
        const bool present = std::any_of(rows.begin(), rows.end(),
                                         [mode](const LightRow& row) { return row.mode == mode; });
        if (enabled[i] && !present && store.InsertLightRow(MakeDefaultLightRow(profile, i)) <= 0)
            return false;
    }
    return true;
}

}  // namespace

ProfileId EnsureProfiles(DataStore& store, const std::string& programFolder,
                         const std::string& deviceAttr,
                         const std::function<std::string(int textId)>& getLanText,
                         const std::optional<std::array<bool, 6>>& lightModes) {
    std::vector<SettingValue> modelValues;
    XmlDocument model;
    const std::string modelPath = ModelFilePath(programFolder, deviceAttr);
    if (model.LoadFile(modelPath)) {
        modelValues = ReadPerformanceDefaults(model, false);
    } else {
        LogLine("model defaults: cannot load %s", modelPath.c_str());
    }

    StoreTransaction transaction(store);
    std::vector<ProfileRow> profiles;
    if (!transaction.Began() || store.ListProfiles(profiles) < 0) {
        LogLine("profiles: the profile table could not be read; nothing was changed");
        return 0;
    }

    const std::string prefix = getLanText ? getLanText(kProfileNameTextId) : std::string();
    for (int n = static_cast<int>(profiles.size()) + 1; n <= kProfileCount; ++n) {
        ProfileRow row;
        row.name = Format("%s %d", prefix.c_str(), n);
        row.profile = store.InsertProfile(row);
        if (row.profile <= 0) break;
        for (const SettingValue& setting : modelValues)
            store.SetSetting(row.profile, setting.key, setting.value);
        profiles.push_back(row);
    }

    const std::vector<SettingValue> completeValues = CompleteSettingValues(modelValues);
    ProfileId active = 0;
    int activeCount = 0;
    for (const ProfileRow& row : profiles) {
        if (!CompleteSettings(store, row.profile, completeValues)) break;
        if (lightModes && !CompleteLightRows(store, row.profile, *lightModes)) break;
        if (row.status == 1 && ++activeCount == 1) active = row.profile;
    }
    if (active == 0 && !profiles.empty()) active = profiles.front().profile;
    if (activeCount != 1 && active > 0) store.SetActiveProfile(active);

    if (!transaction.Commit() || active == 0) {
        LogLine("profiles: the profiles could not be completed: %s", store.LastFailure().c_str());
        return 0;
    }
    store.SetCurrentProfile(active);
    return active;
}

}  // namespace kestrix
