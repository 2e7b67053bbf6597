// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

class SQLiteDB;

// Scope of one transaction: "BEGIN" at construction, "END" at Commit or at destruction.
// There is no rollback; a scope left early still ends with "END". On a closed connection no
// SQL is issued and Begin/Commit report false.
class SQLiteAutoTransaction {
  public:
    // Runs "BEGIN" when db is open; marks the scope active whenever db is given.
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    virtual ~SQLiteAutoTransaction();  // "END" when still active and open
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

    // Starts a transaction; false without db, when already active, or when closed/failed.
    bool Begin();
    // Ends the transaction with "END"; false without db, when closed, or when END failed.
    bool Commit();
    // True between a begin and the matching end.
    bool IsActive() const { return m_active; }

  private:
    SQLiteDB* m_db;
    bool m_active = false;
};

}  // namespace kestrix
