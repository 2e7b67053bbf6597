// SPDX-License-Identifier: MIT
#include "store/DataStore.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Log.h"
#include "base/Text.h"
#include "store/DefaultSettings.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteStatement.h"
#include "store/StoreTransaction.h"

namespace kestrix {
namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// Read-write, serialized, created when missing.
constexpr int kCreateFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

// The schema of a new file, in creation order. The texts are the database format other
// installations read, including the two tables no operation uses. The last index is this
// program's own: it finds a macro's events without reading the whole event table, and is
// added to older files when they are opened (other readers ignore it).
constexpr std::array<const char*, 16> kSchemaStatements{
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
    "CREATE INDEX IF NOT EXISTS macrorecordmacroindex ON t_macrorecord(macro_id)",
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
    if (m_db.IsOpen()) {
        m_opened = true;
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) LogLine("store: cannot create %s: %s", folder.c_str(), error.message().c_str());

    OpenOutcome outcome = OpenAndComplete();
    if (outcome == OpenOutcome::Damaged) {
        m_db.Close();
        outcome = MoveDamagedFileAside() ? OpenAndComplete() : OpenOutcome::Failed;
    }
    m_opened = outcome == OpenOutcome::Ready;
    if (!m_opened) {
        m_lastFailure = "open: " + m_db.ErrorMessage();
        m_db.Close();
        LogLine("store: database %s is not available", m_path.c_str());
    }
    return m_opened;
}

bool DataStore::CreateDatabase() {
    Lock lock(m_lock);
    if (m_db.IsOpen()) return true;
    if (OpenAndComplete() == OpenOutcome::Ready) return true;
    m_db.Close();
    return false;
}

DataStore::OpenOutcome DataStore::OpenAndComplete() {
    if (!m_db.Open(m_path, kCreateFlags)) return OpenOutcome::Failed;
    auto outcomeOf = [](int rc) {
        const int primary = rc & 0xff;
        return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? OpenOutcome::Damaged
                                                                     : OpenOutcome::Failed;
    };
    // The log survives a crash without the journal's extra fsyncs and lets readers go on
    // while another process writes. A file that is not a database fails here first.
    int rc = m_db.Exec("PRAGMA journal_mode = WAL");
    if (rc != SQLITE_OK && outcomeOf(rc) == OpenOutcome::Damaged) return OpenOutcome::Damaged;
    {
        SQLiteAutoTransaction transaction(&m_db);
        if (!transaction.IsActive()) {
            rc = m_db.Exec("SELECT count(*) FROM sqlite_master");
            return rc == SQLITE_OK ? OpenOutcome::Failed : outcomeOf(rc);
        }
        for (const char* statement : kSchemaStatements) {
            rc = m_db.Exec(statement);
            if (rc != SQLITE_OK) {
                LogLine("store: schema of %s could not be completed", m_path.c_str());
                return outcomeOf(rc);
            }
        }
        if (!transaction.Commit()) {
            LogLine("store: schema of %s could not be committed: %s", m_path.c_str(),
                    m_db.ErrorMessage().c_str());
            return OpenOutcome::Failed;
        }
    }
    SQLiteStatement check;
    rc = m_db.Prepare(check, "PRAGMA quick_check");
    if (rc == SQLITE_OK) rc = check.Step();
    if (rc == SQLITE_ROW) {
        const std::string verdict = check.ColumnString(0);
        if (verdict == "ok") return OpenOutcome::Ready;
        LogLine("store: %s fails the integrity check: %s", m_path.c_str(), verdict.c_str());
        return OpenOutcome::Damaged;
    }
    LogLine("store: integrity check of %s could not run (%d): %s", m_path.c_str(), rc,
            m_db.ErrorMessage().c_str());
    return outcomeOf(rc);
}

bool DataStore::MoveDamagedFileAside() {
    // Several processes may find the same damaged file at once. Each locks the file it
    // found and moves it only while the path still names that file, so nobody moves a new
    // store another process has just created in its place.
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    flock(fd, LOCK_EX);
    struct stat found {};
    struct stat current {};
    const bool same = fstat(fd, &found) == 0 && ::stat(m_path.c_str(), &current) == 0 &&
                      found.st_dev == current.st_dev && found.st_ino == current.st_ino;
    bool moved = !same;  // already moved by another process: the path is free or new
    if (same) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
        std::string target = m_path + ".damaged-" + stamp;
        std::error_code error;
        for (int n = 2; std::filesystem::exists(target, error); ++n) {
            target = m_path + ".damaged-" + stamp + "-" + std::to_string(n);
        }
        if (::rename(m_path.c_str(), target.c_str()) == 0) {
            moved = true;
            // The log and shared-memory files belong to the damaged file, not to the new one.
            for (const char* suffix : {"-wal", "-shm"}) {
                const std::string companion = m_path + suffix;
                if (std::filesystem::exists(companion, error))
                    ::rename(companion.c_str(), (target + suffix).c_str());
            }
            LogLine(
                "store: %s is not a usable database; moved it aside to %s and started a new "
                "store",
                m_path.c_str(), target.c_str());
            m_movedAsidePath = target;
            if (m_movedAsideListener) m_movedAsideListener(target);
        } else {
            LogLine("store: %s is damaged and could not be moved aside: %s", m_path.c_str(),
                    std::strerror(errno));
        }
    }
    ::close(fd);
    return moved;
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

// ---- Failures ----

std::string DataStore::LastFailure() const {
    Lock lock(m_lock);
    return m_lastFailure;
}

void DataStore::SetFailureListener(FailureListener listener) {
    Lock lock(m_lock);
    m_failureListener = std::move(listener);
}

void DataStore::SetMovedAsideListener(MovedAsideListener listener) {
    Lock lock(m_lock);
    m_movedAsideListener = std::move(listener);
}

std::string DataStore::TakeMovedAsidePath() {
    Lock lock(m_lock);
    return std::exchange(m_movedAsidePath, std::string());
}

void DataStore::NoteFailure(const char* what) {
    m_lastFailure = std::string(what) + ": " +
                    (m_db.IsOpen() ? m_db.ErrorMessage()
                                   : "the "
                                     "database is not open");
    ++m_failureCount;
    if (m_transactionDepth > 0) m_transactionFailed = true;
    if (m_failureListener) m_failureListener(m_lastFailure);
}

// ---- Statement helpers ----

int DataStore::Run(const char* what, const char* sql, const Binder& bind, const RowReader& onRow,
                   bool firstRowOnly) {
    SQLiteStatement statement;
    int rc = m_db.Prepare(statement, sql);
    if (rc != SQLITE_OK) {
        LogLine("store: %s: cannot prepare (%d): %s", what, rc, m_db.ErrorMessage().c_str());
        NoteFailure(what);
        return rc;
    }
    if (bind) bind(statement);
    while ((rc = statement.Step()) == SQLITE_ROW) {
        if (onRow) onRow(statement);
        if (firstRowOnly) break;
    }
    if (!IsSuccessCode(rc)) {
        LogLine("store: %s failed (%d): %s", what, rc, m_db.ErrorMessage().c_str());
        NoteFailure(what);
    }
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

bool DataStore::InsertSetting(ProfileId profile, std::string_view key, std::string_view value) {
    Lock lock(m_lock);
    return RunWrite("InsertSetting",
                    "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
                    [&](SQLiteStatement& s) {
                        s.BindInt(1, profile);
                        s.BindText(2, key);
                        s.BindText(3, value);
                    });
}

int DataStore::ListSettingKeys(ProfileId profile, std::vector<std::string>& keys) {
    Lock lock(m_lock);
    keys.clear();
    const int rc = Run(
        "ListSettingKeys", "SELECT key FROM t_configdata WHERE profile = ?",
        [&](SQLiteStatement& s) { s.BindInt(1, profile); },
        [&](const SQLiteStatement& s) { keys.push_back(s.ColumnString(0)); });
    return IsSuccessCode(rc) ? static_cast<int>(keys.size()) : -1;
}

bool DataStore::InsertDefaultSettings(ProfileId profile) {
    // One transaction for the forty rows: all or none, and one log write instead of forty.
    StoreTransaction transaction(*this);
    for (const DefaultSetting& setting : DefaultSettings()) {
        if (!InsertSetting(profile, setting.key, setting.value)) break;
    }
    return transaction.Commit();
}

// ---- Profiles ----

ProfileId DataStore::InsertProfile(const ProfileRow& row) {
    StoreTransaction transaction(*this);
    ProfileId id = RunInsert(
        "InsertProfile", "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
        [&](SQLiteStatement& s) {
            s.BindText(1, row.name);
            s.BindInt(2, 0);
            s.BindText(3, row.app);
            s.BindInt(4, 0);
        });
    if (id > 0) InsertDefaultSettings(id);
    return transaction.Commit() ? id : 0;
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
    const int rc =
        Run("ListProfiles", "SELECT * FROM t_profile_data", {}, [&](const SQLiteStatement& s) {
            ProfileRow row;
            row.profile = s.ColumnInt(0);
            row.name = s.ColumnString(1);
            row.status = s.ColumnInt(2);
            row.app = s.ColumnString(3);
            row.type = s.ColumnInt(4);
            rows.push_back(std::move(row));
        });
    return IsSuccessCode(rc) ? static_cast<int>(rows.size()) : -1;
}

bool DataStore::SetActiveProfile(ProfileId profile) {
    StoreTransaction transaction(*this);
    RunWrite("SetActiveProfile", "UPDATE t_profile_data SET status = ?",
             [](SQLiteStatement& s) { s.BindInt(1, 0); });
    RunWrite("SetActiveProfile", "UPDATE t_profile_data SET status = ? WHERE profile = ?",
             [&](SQLiteStatement& s) {
                 s.BindInt(1, 1);
                 s.BindInt(2, profile);
             });
    return transaction.Commit();
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
