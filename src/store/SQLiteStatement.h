// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace kestrix {

// Owner of one prepared statement (made by SQLiteDB::Prepare). Calls without a statement
// return SQLITE_MISUSE (21), 0 or null as documented.
class SQLiteStatement {
  public:
    SQLiteStatement();
    virtual ~SQLiteStatement();  // finalizes
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;

    // Binds a 32-bit integer to 1-based parameter index.
    int BindInt(int index, int value);
    // Binds UTF-8 text without copying: text must stay alive until the statement is stepped.
    int BindText(int index, std::string_view text);
    // One step: 100 row, 101 done, another code on failure, 21 without statement.
    int Step();
    // Integer of 0-based column index; 0 without statement, and 0 for a stored number that
    // does not fit 32 bits (rather than a wrapped value).
    int ColumnInt(int index) const;
    // UTF-8 text of a column, null without statement or for NULL; valid until the next step.
    const char* ColumnText(int index) const;
    // ColumnText as a string; NULL and a missing statement give the empty string.
    std::string ColumnString(int index) const;
    // Makes the statement ready to step again with new bindings (bindings are kept until
    // rebound); the result of the last step, 21 without statement.
    int Reset();
    // Finalizes and clears the statement.
    void Finalize();
    // True while a statement is held.
    bool IsPrepared() const { return m_handle != nullptr; }

  private:
    friend class SQLiteDB;
    void Adopt(sqlite3_stmt* handle);
    struct Finalizer {
        void operator()(sqlite3_stmt* handle) const;
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> m_handle;
};

}  // namespace kestrix
