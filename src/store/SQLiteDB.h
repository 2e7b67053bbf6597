// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct sqlite3;

namespace kestrix {

class SQLiteStatement;

// Thin owner of one SQLite connection. Every call on a closed connection returns
// SQLITE_MISUSE (21) or the documented failure value instead of touching SQLite.
class SQLiteDB {
  public:
    // Row callback of Exec, as sqlite3_exec calls it.
    using ExecCallback = int (*)(void* context, int columnCount, char** values, char** names);

    SQLiteDB();
    virtual ~SQLiteDB();  // interrupts and closes an open connection
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;

    // How long a statement waits for another connection's lock before it fails with
    // SQLITE_BUSY. The window program, the device worker and kestrixctl share one file.
    static constexpr int kBusyTimeoutMs = 5000;

    // Closes any open connection first, then opens path (UTF-8) with the given SQLite open
    // flags, sets the busy timeout and runs "PRAGMA synchronous = NORMAL" (durable with the
    // write-ahead log the store switches to). False (and a log line) when opening fails.
    bool Open(const std::string& path, int flags);
    // True when there is no connection or it closed; false when SQLite refused (handle kept).
    bool Close();
    // True while a connection is held.
    bool IsOpen() const { return m_handle != nullptr; }
    // Runs SQL text; 21 without connection or SQL, else the SQLite result code.
    int Exec(const char* sql, ExecCallback callback = nullptr, void* context = nullptr);
    // Compiles sql into statement, finalizing what it held; length < 0 reads to the
    // terminator. 21 without connection or SQL, else the SQLite result code.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
    // Row id of the last successful insert; -1 without a connection.
    int64_t LastInsertRowId() const;
    // True while a transaction begun on this connection is still open.
    bool InTransaction() const;
    // SQLite's text for the last error of this connection ("not open" without one).
    std::string ErrorMessage() const;

  private:
    struct Closer {
        void operator()(sqlite3* handle) const;
    };
    std::unique_ptr<sqlite3, Closer> m_handle;
};

}  // namespace kestrix
