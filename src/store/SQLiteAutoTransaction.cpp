// SPDX-License-Identifier: MIT
#include "store/SQLiteAutoTransaction.h"

#include <sqlite3.h>

#include "store/SQLiteDB.h"

namespace kestrix {

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : m_db(db) {
    if (!m_db) return;
    if (m_db->IsOpen()) m_db->Exec("BEGIN");
    m_active = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (m_active && m_db) {
        if (m_db->IsOpen()) m_db->Exec("END");
        m_active = false;
    }
}

bool SQLiteAutoTransaction::Begin() {
    if (!m_db || m_active) return false;
    if (!m_db->IsOpen()) {
        m_active = true;
        return false;
    }
    int rc = m_db->Exec("BEGIN");
    m_active = true;
    return rc == SQLITE_OK;
}

bool SQLiteAutoTransaction::Commit() {
    if (!m_db) return false;
    if (!m_db->IsOpen()) {
        m_active = false;
        return false;
    }
    int rc = m_db->Exec("END");
    m_active = false;
    return rc == SQLITE_OK;
}

}  // namespace kestrix
