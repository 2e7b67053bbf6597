// SPDX-License-Identifier: MIT
#include "store/SQLiteDB.h"

#include <sqlite3.h>

#include "base/Log.h"
#include "store/SQLiteStatement.h"

namespace kestrix {

void SQLiteDB::Closer::operator()(sqlite3* handle) const {
    // Last resort only: Close() is the normal path. close_v2 never leaves a zombie handle
    // behind even if a statement were still alive.
    sqlite3_interrupt(handle);
    sqlite3_close_v2(handle);
}

SQLiteDB::SQLiteDB() = default;

SQLiteDB::~SQLiteDB() {
    if (m_handle) {
        sqlite3_interrupt(m_handle.get());
        if (!Close()) {
            LogLine("database: close refused at destruction: %s", ErrorMessage().c_str());
        }
    }
}

bool SQLiteDB::Open(const std::string& path, int flags) {
    if (m_handle) {
        sqlite3_interrupt(m_handle.get());
        if (!Close()) {
            LogLine("database: could not close the previous connection before opening %s",
                    path.c_str());
        }
    }
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    if (rc != SQLITE_OK) {
        LogLine("database: open %s failed (%d): %s", path.c_str(), rc,
                raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        if (raw) sqlite3_close(raw);
        return false;
    }
    m_handle.reset(raw);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    rc = Exec("PRAGMA synchronous = NORMAL");
    if (rc != SQLITE_OK) {
        LogLine("database: PRAGMA synchronous on %s failed (%d)", path.c_str(), rc);
    }
    return true;
}

bool SQLiteDB::Close() {
    if (!m_handle) return true;
    int rc = sqlite3_close(m_handle.get());
    if (rc != SQLITE_OK) {
        LogLine("database: close failed (%d): %s", rc, sqlite3_errmsg(m_handle.get()));
        return false;
    }
    (void)m_handle.release();  // already closed by sqlite3_close
    return true;
}

int SQLiteDB::Exec(const char* sql, ExecCallback callback, void* context) {
    if (!m_handle || !sql) return SQLITE_MISUSE;
    char* error = nullptr;
    int rc = sqlite3_exec(m_handle.get(), sql, callback, context, &error);
    if (rc != SQLITE_OK) {
        LogLine("database: exec failed (%d): %s", rc, error ? error : sqlite3_errstr(rc));
    }
    sqlite3_free(error);
    return rc;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.Finalize();
    if (!m_handle || !sql) return SQLITE_MISUSE;
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(m_handle.get(), sql, length, &raw, nullptr);
    statement.Adopt(raw);
    if (rc != SQLITE_OK) {
        LogLine("database: prepare failed (%d): %s [%s]", rc, sqlite3_errmsg(m_handle.get()), sql);
    }
    return rc;
}

int64_t SQLiteDB::LastInsertRowId() const {
    if (!m_handle) return -1;
    return sqlite3_last_insert_rowid(m_handle.get());
}

bool SQLiteDB::InTransaction() const {
    return m_handle && sqlite3_get_autocommit(m_handle.get()) == 0;
}

std::string SQLiteDB::ErrorMessage() const {
    if (!m_handle) return "not open";
    return sqlite3_errmsg(m_handle.get());
}

}  // namespace kestrix
