// SPDX-License-Identifier: MIT
#include "store/StoreTransaction.h"

#include "base/Log.h"
#include "store/DataStore.h"

namespace kestrix {

StoreTransaction::StoreTransaction(DataStore& store) : m_store(store), m_lock(store.m_lock) {
    if (m_store.m_transactionDepth > 0) {
        ++m_store.m_transactionDepth;
        m_began = !m_store.m_transactionFailed;
        return;
    }
    m_transaction.emplace(&m_store.m_db);
    m_began = m_transaction->IsActive();
    m_store.m_transactionFailed = false;
    ++m_store.m_transactionDepth;
    if (!m_began) m_store.NoteFailure("begin transaction");
}

StoreTransaction::~StoreTransaction() {
    if (!m_finished) {
        m_finished = true;
        --m_store.m_transactionDepth;
        // A joined scope left early fails the whole change; the outermost rolls back.
        if (!m_transaction) m_store.m_transactionFailed = true;
    }
    // m_transaction's destructor rolls back what was not committed.
}

bool StoreTransaction::Commit() {
    if (m_finished) return false;
    m_finished = true;
    --m_store.m_transactionDepth;
    const bool failed = !m_began || m_store.m_transactionFailed;
    if (!m_transaction) return !failed;
    if (failed) {
        m_transaction->Rollback();
        LogLine("store: a change was rolled back because one of its statements failed");
        return false;
    }
    if (!m_transaction->Commit()) {
        m_store.NoteFailure("commit");
        return false;
    }
    return true;
}

}  // namespace kestrix
