// SPDX-License-Identifier: MIT
#include "store/SQLiteStatement.h"

#include <sqlite3.h>

#include <cstdint>
#include <limits>

namespace kestrix {

void SQLiteStatement::Finalizer::operator()(sqlite3_stmt* handle) const {
    sqlite3_finalize(handle);
}

SQLiteStatement::SQLiteStatement() = default;
SQLiteStatement::~SQLiteStatement() = default;

void SQLiteStatement::Adopt(sqlite3_stmt* handle) { m_handle.reset(handle); }

void SQLiteStatement::Finalize() { m_handle.reset(); }

int SQLiteStatement::Reset() {
    if (!m_handle) return SQLITE_MISUSE;
    return sqlite3_reset(m_handle.get());
}

int SQLiteStatement::BindInt(int index, int value) {
    if (!m_handle) return SQLITE_MISUSE;
    return sqlite3_bind_int(m_handle.get(), index, value);
}

int SQLiteStatement::BindText(int index, std::string_view text) {
    if (!m_handle) return SQLITE_MISUSE;
    // A default string_view has a null data pointer, which SQLite would bind as NULL; the
    // columns hold empty text instead.
    const char* data = text.data() ? text.data() : "";
    return sqlite3_bind_text(m_handle.get(), index, data, static_cast<int>(text.size()),
                             SQLITE_STATIC);
}

int SQLiteStatement::Step() {
    if (!m_handle) return SQLITE_MISUSE;
    return sqlite3_step(m_handle.get());
}

int SQLiteStatement::ColumnInt(int index) const {
    if (!m_handle) return 0;
    sqlite3_int64 value = sqlite3_column_int64(m_handle.get(), index);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(value);
}

const char* SQLiteStatement::ColumnText(int index) const {
    if (!m_handle) return nullptr;
    return reinterpret_cast<const char*>(sqlite3_column_text(m_handle.get(), index));
}

std::string SQLiteStatement::ColumnString(int index) const {
    const char* text = ColumnText(index);
    if (!text) return {};
    return std::string(text, static_cast<size_t>(sqlite3_column_bytes(m_handle.get(), index)));
}

}  // namespace kestrix
