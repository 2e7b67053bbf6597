// SPDX-License-Identifier: MIT
#include "store/SQLiteAutoTransaction.h"

#include <sqlite3.h>

#include "store/SQLiteDB.h"

namespace kestrix {

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : m_db(db) { Begin(); }

SQLiteAutoTransaction::~SQLiteAutoTransaction() { Rollback(); }

bool SQLiteAutoTransaction::Begin() {
    if (!m_db || m_active || !m_db->IsOpen()) return false;
    m_active = m_db->Exec("BEGIN IMMEDIATE") == SQLITE_OK;
    return m_active;
}

bool SQLiteAutoTransaction::Commit() {
    if (!m_active) return false;
    if (m_db->Exec("COMMIT") == SQLITE_OK) {
        m_active = false;
        return true;
    }
    Rollback();
    return false;
}

bool SQLiteAutoTransaction::Rollback() {
    if (!m_active) return false;
    m_active = false;
    // A failed statement may already have ended the transaction; ROLLBACK then has nothing
    // to do.
    if (m_db->IsOpen() && m_db->InTransaction()) m_db->Exec("ROLLBACK");
    return true;
}

}  // namespace kestrix
