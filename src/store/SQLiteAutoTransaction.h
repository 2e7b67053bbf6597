// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

class SQLiteDB;

// Scope of one write transaction: "BEGIN IMMEDIATE" at construction (the write lock is taken
// up front, waiting out the busy timeout, so a later statement never fails on a lock another
// process took in between), "COMMIT" at Commit, "ROLLBACK" when the scope is left without a
// successful Commit. On a closed connection no SQL is issued and Begin/Commit report false.
class SQLiteAutoTransaction {
  public:
    // Runs "BEGIN IMMEDIATE" when db is open; marks the scope active when that worked.
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    virtual ~SQLiteAutoTransaction();  // "ROLLBACK" when still active and open
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

    // Starts a transaction; false without db, when already active, or when closed/failed.
    bool Begin();
    // Commits; false without an active transaction or when COMMIT failed, in which case
    // everything since Begin is rolled back.
    bool Commit();
    // Rolls back everything since Begin; false when nothing was active.
    bool Rollback();
    // True between a successful begin and the matching commit or rollback.
    bool IsActive() const { return m_active; }

  private:
    SQLiteDB* m_db;
    bool m_active = false;
};

}  // namespace kestrix
