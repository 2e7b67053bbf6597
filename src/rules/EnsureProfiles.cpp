// SPDX-License-Identifier: MIT
#include "rules/EnsureProfiles.h"

#include <vector>

#include "base/Text.h"
#include "rules/PerformanceDefaults.h"
#include "store/DataStore.h"

namespace kestrix {

ProfileId EnsureProfiles(DataStore& store, const std::string& programFolder,
                         const std::string& deviceAttr,
                         const std::function<std::string(int textId)>& getLanText) {
    std::vector<ProfileRow> profiles;
    if (store.ListProfiles(profiles) < 1) {
        std::string prefix = getLanText ? getLanText(kProfileNameTextId) : std::string();
        ProfileId first = 0;
        for (int n = 1; n <= 4; ++n) {
            ProfileRow row;
            row.name = Format("%s %d", prefix.c_str(), n);
            ProfileId id = store.InsertProfile(row);
            // The defaults go to the row just made, even if the table's sequence did not
            // start at 1 (a table emptied by hand keeps counting).
            ProfileId target = id > 0 ? id : n;
            if (first == 0 && id > 0) first = id;
            store.SetCurrentProfile(target);
            LoadPerformanceDefaults(programFolder, deviceAttr, store, target, false);
        }
        store.SetActiveProfile(first > 0 ? first : 1);
    }
    profiles.clear();

    ProfileId active = store.GetActiveProfile();
    if (active < 1) {
        store.SetActiveProfile(1);
        active = store.GetActiveProfile();
    }
    store.SetCurrentProfile(active);
    return active;
}

}  // namespace kestrix
