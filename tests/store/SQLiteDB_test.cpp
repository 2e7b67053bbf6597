// SPDX-License-Identifier: MIT
#include "store/SQLiteDB.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteStatement.h"
#include "store/TempFolder.h"

namespace kestrix {
namespace {

TEST(SQLiteDB, ClosedConnectionAnswersMisuse) {
    SQLiteDB db;
    SQLiteStatement statement;
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.Exec("SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(db.Prepare(statement, "SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(db.LastInsertRowId(), -1);
    EXPECT_EQ(statement.Step(), SQLITE_MISUSE);
    EXPECT_EQ(statement.BindInt(1, 1), SQLITE_MISUSE);
    EXPECT_EQ(statement.BindText(1, "x"), SQLITE_MISUSE);
    EXPECT_EQ(statement.ColumnInt(0), 0);
    EXPECT_EQ(statement.ColumnText(0), nullptr);
    EXPECT_TRUE(db.Close());
}

TEST(SQLiteDB, OpenFailureKeepsNoHandle) {
    test::TempFolder folder;
    SQLiteDB db;
    EXPECT_FALSE(db.Open(folder.path() + "missing/x.db", SQLITE_OPEN_READWRITE));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.Open(folder.path() + "absent.db", SQLITE_OPEN_READWRITE));
}

TEST(SQLiteDB, StatementsReadColumnsAndGuardAgainstWideIntegers) {
    test::TempFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open(folder.path() + "t.db", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
    ASSERT_EQ(db.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY AUTOINCREMENT, n INTEGER, s TEXT)"),
              SQLITE_OK);
    SQLiteStatement insert;
    ASSERT_EQ(db.Prepare(insert, "INSERT INTO t(n, s) VALUES (?, ?)"), SQLITE_OK);
    std::string text = std::string("a\0b", 3);  // bound by byte length, not to a terminator
    insert.BindInt(1, -7);
    insert.BindText(2, text);
    EXPECT_EQ(insert.Step(), SQLITE_DONE);
    EXPECT_EQ(db.LastInsertRowId(), 1);
    ASSERT_EQ(db.Exec("INSERT INTO t(n, s) VALUES (4294967297, NULL)"), SQLITE_OK);

    SQLiteStatement select;
    ASSERT_EQ(db.Prepare(select, "SELECT n, s FROM t ORDER BY id"), SQLITE_OK);
    ASSERT_EQ(select.Step(), SQLITE_ROW);
    EXPECT_EQ(select.ColumnInt(0), -7);
    EXPECT_EQ(select.ColumnString(1), text);
    ASSERT_EQ(select.Step(), SQLITE_ROW);
    EXPECT_EQ(select.ColumnInt(0), 0);  // 2^32 + 1 does not wrap to 1
    EXPECT_EQ(select.ColumnText(1), nullptr);
    EXPECT_EQ(select.ColumnString(1), "");
    EXPECT_EQ(select.Step(), SQLITE_DONE);

    // An unfinalized statement makes SQLite refuse to close; the handle stays usable.
    EXPECT_FALSE(db.Close());
    EXPECT_TRUE(db.IsOpen());
    insert.Finalize();
    select.Finalize();
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
    EXPECT_NE(db.Prepare(select, nullptr), SQLITE_OK);
}

TEST(SQLiteAutoTransaction, ClosedConnectionIssuesNoSql) {
    SQLiteDB closed;
    SQLiteAutoTransaction transaction(&closed);
    EXPECT_FALSE(transaction.IsActive());
    EXPECT_FALSE(transaction.Begin());
    EXPECT_FALSE(transaction.Commit());
    EXPECT_FALSE(transaction.Rollback());

    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.IsActive());
    EXPECT_FALSE(none.Begin());
    EXPECT_FALSE(none.Commit());
}

TEST(SQLiteAutoTransaction, KeepsRowsOnlyWhenCommitted) {
    test::TempFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open(folder.path() + "t.db", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
    db.Exec("CREATE TABLE t(n INTEGER)");
    {
        SQLiteAutoTransaction transaction(&db);
        EXPECT_TRUE(transaction.IsActive());
        EXPECT_EQ(db.Exec("INSERT INTO t VALUES (1)"), SQLITE_OK);
    }  // left without Commit: rolled back
    EXPECT_FALSE(db.InTransaction());
    SQLiteAutoTransaction next(&db);
    EXPECT_EQ(db.Exec("INSERT INTO t VALUES (2)"), SQLITE_OK);
    EXPECT_TRUE(next.Commit());
    EXPECT_FALSE(next.Commit());
    SQLiteStatement count;
    db.Prepare(count, "SELECT sum(n) FROM t");
    ASSERT_EQ(count.Step(), SQLITE_ROW);
    EXPECT_EQ(count.ColumnInt(0), 2);
}

}  // namespace
}  // namespace kestrix
