// SPDX-License-Identifier: MIT
#include "store/DataStore.h"

#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/Log.h"
#include "base/Text.h"
#include "store/DefaultSettings.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteStatement.h"

namespace kestrix {
namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// Flags of an existing file and of a new one (read-write, serialized; plus create).
constexpr int kOpenExistingFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
constexpr int kCreateFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
static_assert(kOpenExistingFlags == 65538 && kCreateFlags == 65542);

// The schema of a new file, in creation order. The texts are the database format other
// installations read, including the two tables no operation uses.
constexpr std::array<const char*, 15> kSchemaStatements{
    "CREATE TABLE IF NOT EXISTS t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, layout_desc TEXT, "
    "macro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, macro_value3 INTEGER, "
    "macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, play_type INTEGER, play_times INTEGER, delay_type INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, "
    "delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, "
    "direction INTEGER, colorful INTEGER, colorindex INTEGER, color_value1 INTEGER, "
    "color_value2 INTEGER, color_value3 INTEGER, color_value4 INTEGER, color_value5 INTEGER, "
    "color_value6 INTEGER, color_value7 INTEGER, config_func INTEGER, reserved INTEGER, "
    "status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
};

bool IsSuccessCode(int rc) { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }

}  // namespace

DataStore& DataStore::Instance() {
    static DataStore instance;  // thread-safe one-time initialisation
    return instance;
}

DataStore::DataStore() = default;

DataStore::~DataStore() {
    Lock lock(m_lock);
    if (m_opened) m_db.Close();
}

// ---- Connection ----

bool DataStore::OpenForModel(const std::string& dataFolder, const std::string& deviceAttr) {
    Lock lock(m_lock);
    std::string folder = dataFolder + "db";
    std::string path = folder + "/" + deviceAttr + "_data2.db";
    // A connection to another model's file would silently receive this model's rows.
    if (m_db.IsOpen() && path != m_path) {
        m_db.Close();
        m_opened = false;
    }
    m_path = path;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) LogLine("store: cannot create %s: %s", folder.c_str(), error.message().c_str());

    bool ok;
    if (std::filesystem::exists(m_path, error)) {
        ok = m_db.IsOpen() || m_db.Open(m_path, kOpenExistingFlags);
    } else {
        ok = CreateDatabase();
    }
    m_opened = ok;
    if (!ok) LogLine("store: database %s is not available", m_path.c_str());
    return ok;
}

bool DataStore::CreateDatabase() {
    Lock lock(m_lock);
    if (m_db.IsOpen()) return true;
    if (!m_db.Open(m_path, kCreateFlags)) return false;
    bool allCreated = true;
    for (const char* statement : kSchemaStatements) {
        if (m_db.Exec(statement) != SQLITE_OK) allCreated = false;  // go on with the others
    }
    if (!allCreated) LogLine("store: schema of %s is incomplete", m_path.c_str());
    return allCreated;
}

bool DataStore::Close() {
    Lock lock(m_lock);
    bool closed = m_db.Close();
    if (closed) m_opened = false;
    return closed;
}

bool DataStore::IsOpened() const {
    Lock lock(m_lock);
    return m_opened;
}

std::string DataStore::Path() const {
    Lock lock(m_lock);
    return m_path;
}

// ---- Statement helpers ----

int DataStore::Run(const char* what, const char* sql, const Binder& bind, const RowReader& onRow,
                   bool firstRowOnly) {
    SQLiteStatement statement;
    int rc = m_db.Prepare(statement, sql);
    if (rc != SQLITE_OK) {
        LogLine("store: %s: cannot prepare (%d): %s", what, rc, m_db.ErrorMessage().c_str());
        return rc;
    }
    if (bind) bind(statement);
    while ((rc = statement.Step()) == SQLITE_ROW) {
        if (onRow) onRow(statement);
        if (firstRowOnly) break;
    }
    if (!IsSuccessCode(rc))
        LogLine("store: %s failed (%d): %s", what, rc, m_db.ErrorMessage().c_str());
    return rc;
}

bool DataStore::RunWrite(const char* what, const char* sql, const Binder& bind) {
    return IsSuccessCode(Run(what, sql, bind));
}

int DataStore::RunInsert(const char* what, const char* sql, const Binder& bind) {
    if (!RunWrite(what, sql, bind)) return 0;
    int64_t id = m_db.LastInsertRowId();
    return id > 0 && id <= INT32_MAX ? static_cast<int>(id) : 0;
}

// ---- Settings ----

bool DataStore::GetSetting(ProfileId profile, std::string_view key, std::string& value) {
    Lock lock(m_lock);
    value.clear();
    bool found = false;
    Run(
        "GetSetting", "SELECT value FROM t_configdata WHERE profile = ? and key = ?",
        [&](SQLiteStatement& s) {
            s.BindInt(1, profile);
            s.BindText(2, key);
        },
        [&](const SQLiteStatement& s) {
            value = s.ColumnString(0);
            found = true;
        },
        true);
    return found;
}

bool DataStore::SetSetting(ProfileId profile, std::string_view key, std::string_view value) {
    Lock lock(m_lock);
    return RunWrite("SetSetting", "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?",
                    [&](SQLiteStatement& s) {
                        s.BindText(1, value);
                        s.BindInt(2, profile);
                        s.BindText(3, key);
                    });
}

bool DataStore::GetSettingInt(ProfileId profile, std::string_view key, int& value) {
    std::string text;
    bool found = GetSetting(profile, key, text);
    value = found ? ParseDecimal(text) : 0;
    return found;
}

bool DataStore::SetSettingInt(ProfileId profile, std::string_view key, int value) {
    return SetSetting(profile, key, Format("%d", value));
}

void DataStore::InsertDefaultSettings(ProfileId profile) {
    Lock lock(m_lock);
    // One transaction for the forty rows (same rows, one journal write instead of forty);
    // never nested into a transaction a caller already holds, which END would close early.
    std::optional<SQLiteAutoTransaction> transaction;
    if (!m_db.InTransaction()) transaction.emplace(&m_db);
    for (const DefaultSetting& setting : DefaultSettings()) {
        RunWrite("InsertDefaultSettings",
                 "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
                 [&](SQLiteStatement& s) {
                     s.BindInt(1, profile);
                     s.BindText(2, setting.key);
                     s.BindText(3, setting.value);
                 });
    }
}

// ---- Profiles ----

ProfileId DataStore::InsertProfile(const ProfileRow& row) {
    Lock lock(m_lock);
    ProfileId id = RunInsert(
        "InsertProfile", "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
        [&](SQLiteStatement& s) {
            s.BindText(1, row.name);
            s.BindInt(2, 0);
            s.BindText(3, row.app);
            s.BindInt(4, 0);
        });
    if (id > 0) InsertDefaultSettings(id);
    return id;
}

bool DataStore::RenameProfile(ProfileId profile, std::string_view name) {
    Lock lock(m_lock);
    return RunWrite("RenameProfile", "UPDATE t_profile_data SET name = ? WHERE profile = ?",
                    [&](SQLiteStatement& s) {
                        s.BindText(1, name);
                        s.BindInt(2, profile);
                    });
}

bool DataStore::GetProfileName(ProfileId profile, std::string& name) {
    Lock lock(m_lock);
    name.clear();
    bool found = false;
    Run(
        "GetProfileName", "SELECT name FROM t_profile_data WHERE profile = ?",
        [&](SQLiteStatement& s) { s.BindInt(1, profile); },
        [&](const SQLiteStatement& s) {
            name = s.ColumnString(0);
            found = true;
        },
        true);
    return found;
}

int DataStore::ListProfiles(std::vector<ProfileRow>& rows) {
    Lock lock(m_lock);
    rows.clear();
    Run("ListProfiles", "SELECT * FROM t_profile_data", {}, [&](const SQLiteStatement& s) {
        ProfileRow row;
        row.profile = s.ColumnInt(0);
        row.name = s.ColumnString(1);
        row.status = s.ColumnInt(2);
        row.app = s.ColumnString(3);
        row.type = s.ColumnInt(4);
        rows.push_back(std::move(row));
    });
    return static_cast<int>(rows.size());
}

bool DataStore::SetActiveProfile(ProfileId profile) {
    Lock lock(m_lock);
    RunWrite("SetActiveProfile", "UPDATE t_profile_data SET status = ?",
             [](SQLiteStatement& s) { s.BindInt(1, 0); });
    return RunWrite("SetActiveProfile", "UPDATE t_profile_data SET status = ? WHERE profile = ?",
                    [&](SQLiteStatement& s) {
                        s.BindInt(1, 1);
                        s.BindInt(2, profile);
                    });
}

ProfileId DataStore::GetActiveProfile() {
    Lock lock(m_lock);
    ProfileId active = 0;
    Run(
        "GetActiveProfile", "SELECT profile FROM t_profile_data WHERE status = ?",
        [](SQLiteStatement& s) { s.BindInt(1, 1); },
        [&](const SQLiteStatement& s) { active = s.ColumnInt(0); }, true);
    return active;
}

}  // namespace kestrix
