// SPDX-License-Identifier: MIT
// Lighting rows of DataStore.
#include <sqlite3.h>

#include "store/DataStore.h"
#include "store/SQLiteStatement.h"
#include "store/StoreTransaction.h"

namespace kestrix {
namespace {

bool IsSuccessCode(int rc) { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }

using Lock = std::lock_guard<std::recursive_mutex>;

LightRow ReadLightRow(const SQLiteStatement& s) {
    LightRow row;
    row.lightId = s.ColumnInt(0);
    row.profile = s.ColumnInt(1);
    row.name = s.ColumnString(2);
    row.mode = s.ColumnInt(3);
    row.brightness = s.ColumnInt(4);
    row.speed = s.ColumnInt(5);
    row.direction = s.ColumnInt(6);
    row.colorful = s.ColumnInt(7);
    row.colorIndex = s.ColumnInt(8);
    for (int i = 0; i < 7; ++i) row.colorValues[static_cast<size_t>(i)] = s.ColumnInt(9 + i);
    row.configFunc = s.ColumnInt(16);
    row.reserved = s.ColumnInt(17);
    row.status = s.ColumnInt(18);
    return row;
}

}  // namespace

int DataStore::CountLightRows(ProfileId profile) {
    Lock lock(m_lock);
    int count = 0;
    const int rc = Run(
        "CountLightRows", "select count(*) FROM t_light_data WHERE profile = ?",
        [&](SQLiteStatement& s) { s.BindInt(1, profile); },
        [&](const SQLiteStatement& s) { count = s.ColumnInt(0); }, true);
    return IsSuccessCode(rc) ? count : -1;
}

int DataStore::InsertLightRow(const LightRow& row) {
    Lock lock(m_lock);
    return RunInsert(
        "InsertLightRow",
        "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
        "colorindex, color_value1, color_value2, color_value3, color_value4, color_value5, "
        "color_value6, color_value7, config_func, reserved, status) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
        [&](SQLiteStatement& s) {
            s.BindInt(1, row.profile);
            s.BindText(2, row.name);
            s.BindInt(3, row.mode);
            s.BindInt(4, row.brightness);
            s.BindInt(5, row.speed);
            s.BindInt(6, row.direction);
            s.BindInt(7, row.colorful);
            s.BindInt(8, row.colorIndex);
            for (int i = 0; i < 7; ++i) s.BindInt(9 + i, row.colorValues[static_cast<size_t>(i)]);
            s.BindInt(16, row.configFunc);
            s.BindInt(17, row.reserved);
            s.BindInt(18, row.status);
        });
}

bool DataStore::UpdateLightRow(int mode, const LightRow& row) {
    Lock lock(m_lock);
    return RunWrite(
        "UpdateLightRow",
        "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
        "colorindex = ?, color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, "
        "color_value5 = ?, color_value6 = ?, color_value7 = ?, config_func = ?, reserved = ? "
        "WHERE profile = ? AND mode = ?",
        [&](SQLiteStatement& s) {
            s.BindInt(1, row.brightness);
            s.BindInt(2, row.speed);
            s.BindInt(3, row.direction);
            s.BindInt(4, row.colorful);
            s.BindInt(5, row.colorIndex);
            for (int i = 0; i < 7; ++i) s.BindInt(6 + i, row.colorValues[static_cast<size_t>(i)]);
            s.BindInt(13, row.configFunc);
            s.BindInt(14, row.reserved);
            s.BindInt(15, row.profile);
            s.BindInt(16, mode);
        });
}

bool DataStore::SetActiveLightMode(ProfileId profile, int mode) {
    StoreTransaction transaction(*this);
    RunWrite("SetActiveLightMode", "UPDATE t_light_data SET status = ? WHERE profile = ?",
             [&](SQLiteStatement& s) {
                 s.BindInt(1, 0);
                 s.BindInt(2, profile);
             });
    RunWrite("SetActiveLightMode",
             "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?",
             [&](SQLiteStatement& s) {
                 s.BindInt(1, 1);
                 s.BindInt(2, profile);
                 s.BindInt(3, mode);
             });
    return transaction.Commit();
}

int DataStore::GetActiveLightMode(ProfileId profile) {
    Lock lock(m_lock);
    int mode = 0;
    Run(
        "GetActiveLightMode", "SELECT mode FROM t_light_data WHERE profile = ? and status = ?",
        [&](SQLiteStatement& s) {
            s.BindInt(1, profile);
            s.BindInt(2, 1);
        },
        [&](const SQLiteStatement& s) { mode = s.ColumnInt(0); }, true);
    return mode;
}

bool DataStore::GetLightRow(ProfileId profile, int mode, LightRow& row) {
    Lock lock(m_lock);
    bool found = false;
    Run(
        "GetLightRow", "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?",
        [&](SQLiteStatement& s) {
            s.BindInt(1, profile);
            s.BindInt(2, mode);
        },
        [&](const SQLiteStatement& s) {
            row = ReadLightRow(s);
            found = true;
        },
        true);
    return found;
}

int DataStore::ListLightRows(ProfileId profile, std::vector<LightRow>& rows) {
    Lock lock(m_lock);
    rows.clear();
    const int rc = Run(
        "ListLightRows", "SELECT * FROM t_light_data WHERE profile = ?",
        [&](SQLiteStatement& s) { s.BindInt(1, profile); },
        [&](const SQLiteStatement& s) { rows.push_back(ReadLightRow(s)); });
    return IsSuccessCode(rc) ? static_cast<int>(rows.size()) : -1;
}

}  // namespace kestrix
