// SPDX-License-Identifier: MIT
#include "store/DefaultLightRows.h"

#include "store/DataStore.h"
#include "store/StoreTransaction.h"

namespace kestrix {

const std::array<DefaultLightRow, 6>& DefaultLightRows() {
    static constexpr std::array<DefaultLightRow, 6> kRows{{
        {1, "流光", 3, 280},
        {2, "呼吸", 2067, 281},
        {3, "常亮", 17, 282},
        {4, "霓虹", 3, 283},
        {5, "七彩波浪", 3, 284},
        {0, "关闭", 0, 285},
    }};
    return kRows;
}

LightRow MakeDefaultLightRow(ProfileId profile, size_t effectIndex) {
    const DefaultLightRow& effect = DefaultLightRows().at(effectIndex);
    LightRow row;
    row.profile = profile;
    row.name = std::string(effect.name);
    row.mode = effect.mode;
    row.brightness = 4;
    row.speed = 2;
    row.direction = 0;
    row.colorful = 1;
    row.colorIndex = 0;
    row.colorValues = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    row.configFunc = effect.configFunc;
    row.reserved = effect.reserved;
    row.status = 0;
    return row;
}

int InsertDefaultLightRows(DataStore& store, ProfileId profile,
                           const std::array<bool, 6>& enabledEffects) {
    // All rows and the active effect together: a profile never keeps half its effects.
    StoreTransaction transaction(store);
    int inserted = 0;
    for (size_t i = 0; i < enabledEffects.size(); ++i) {
        if (enabledEffects[i] && store.InsertLightRow(MakeDefaultLightRow(profile, i)) > 0)
            ++inserted;
    }
    store.SetActiveLightMode(profile, 1);
    return transaction.Commit() ? inserted : 0;
}

}  // namespace kestrix
