// SPDX-License-Identifier: MIT
#pragma once

#include <mutex>
#include <optional>

#include "store/SQLiteAutoTransaction.h"

namespace kestrix {

class DataStore;

// All-or-nothing scope over several DataStore operations. Holds the store's lock for its
// whole life, so no other thread's statement lands in the middle, and takes the database's
// write lock at once ("BEGIN IMMEDIATE", waiting out the busy timeout), so another process
// cannot either. A scope opened inside another one joins it: only the outermost commits.
//
// Every statement that fails inside the scope marks it failed; Commit then rolls back and
// reports false, so a refused write (full disk, read-only file, lock held past the timeout)
// never leaves part of the change behind. Leaving the scope without Commit rolls back too.
class StoreTransaction {
  public:
    explicit StoreTransaction(DataStore& store);
    ~StoreTransaction();  // rolls back unless committed
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    // False when the transaction could not begin (closed store, lock held past the
    // timeout); every operation in the scope then fails and Commit reports false.
    bool Began() const { return m_began; }
    // Makes the changes of the scope permanent; false (and nothing kept) when a statement of
    // the scope failed or the commit itself was refused. A joined scope reports whether its
    // statements so far worked and leaves the commit to the outermost.
    bool Commit();

  private:
    DataStore& m_store;
    std::unique_lock<std::recursive_mutex> m_lock;
    std::optional<SQLiteAutoTransaction> m_transaction;  // only in the outermost scope
    bool m_began = false;
    bool m_finished = false;
};

}  // namespace kestrix
