// SPDX-License-Identifier: MIT
// Button assignments, the macro library and macro events of DataStore.
#include <sqlite3.h>

#include "base/Log.h"

#include "store/DataStore.h"
#include "store/SQLiteStatement.h"
#include "store/StoreTransaction.h"

namespace kestrix {
namespace {

bool IsSuccessCode(int rc) { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }

using Lock = std::lock_guard<std::recursive_mutex>;

KeyAssignmentRow ReadKeyAssignment(const SQLiteStatement& s) {
    KeyAssignmentRow row;
    row.keyId = s.ColumnInt(0);
    row.profile = s.ColumnInt(1);
    row.fnLayer = s.ColumnInt(2);
    row.keyCode = s.ColumnInt(3);
    row.layoutValue = s.ColumnInt(4);
    row.layoutDesc = s.ColumnString(5);
    row.macroType = s.ColumnInt(6);
    row.macroValue = s.ColumnInt(7);
    row.macroValue2 = s.ColumnInt(8);
    row.macroValue3 = s.ColumnInt(9);
    row.macroDesc = s.ColumnString(10);
    return row;
}

MacroRow ReadMacro(const SQLiteStatement& s) {
    MacroRow row;
    row.macroId = s.ColumnInt(0);
    row.name = s.ColumnString(1);
    row.playType = s.ColumnInt(2);
    row.playTimes = s.ColumnInt(3);
    row.delayType = s.ColumnInt(4);
    row.delayTime = s.ColumnInt(5);
    return row;
}

MacroRecordRow ReadMacroRecord(const SQLiteStatement& s) {
    MacroRecordRow row;
    row.recordId = s.ColumnInt(0);
    row.macroId = s.ColumnInt(1);
    row.type = s.ColumnInt(2);
    row.recordIndex = s.ColumnInt(3);
    row.desc = s.ColumnString(4);
    row.value = s.ColumnInt(5);
    row.delayTime = s.ColumnInt(6);
    return row;
}

constexpr const char* kInsertMacroSql =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, "
    "?, ?, ?);";
constexpr const char* kInsertMacroRecordSql =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";

void BindMacroRecord(SQLiteStatement& s, const MacroRecordRow& row) {
    s.BindInt(1, row.macroId);
    s.BindInt(2, row.type);
    s.BindInt(3, row.recordIndex);
    s.BindText(4, row.desc);
    s.BindInt(5, row.value);
    s.BindInt(6, row.delayTime);
}

}  // namespace

// ---- Button assignments ----

int DataStore::ReplaceKeyAssignment(const KeyAssignmentRow& row) {
    StoreTransaction transaction(*this);
    // The delete's own result does not matter: a button without a row is the normal case.
    Run("ReplaceKeyAssignment",
        "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        [&](SQLiteStatement& s) {
            s.BindInt(1, row.profile);
            s.BindInt(2, row.fnLayer);
            s.BindInt(3, row.keyCode);
        });
    if (row.macroValue == 0 && row.macroValue2 == 0) {
        transaction.Commit();
        return 0;  // default function: no row
    }
    const int id = RunInsert(
        "ReplaceKeyAssignment",
        "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, "
        "macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
        [&](SQLiteStatement& s) {
            s.BindInt(1, row.profile);
            s.BindInt(2, row.fnLayer);
            s.BindInt(3, row.keyCode);
            s.BindInt(4, row.layoutValue);
            s.BindText(5, row.layoutDesc);
            s.BindInt(6, row.macroType);
            s.BindInt(7, row.macroValue);
            s.BindInt(8, row.macroValue2);
            s.BindInt(9, row.macroValue3);
            s.BindText(10, row.macroDesc);
        });
    return transaction.Commit() ? id : 0;
}

bool DataStore::GetKeyAssignment(ProfileId profile, int keyCode, KeyAssignmentRow& row) {
    Lock lock(m_lock);
    bool found = false;
    Run(
        "GetKeyAssignment",
        "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        [&](SQLiteStatement& s) {
            s.BindInt(1, profile);
            s.BindInt(2, 0);
            s.BindInt(3, keyCode);
        },
        [&](const SQLiteStatement& s) {
            row = ReadKeyAssignment(s);
            found = true;
        },
        true);
    return found;
}

bool DataStore::SetKeyAssignmentDesc(ProfileId profile, int keyCode, std::string_view text) {
    Lock lock(m_lock);
    return RunWrite("SetKeyAssignmentDesc",
                    "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? "
                    "and key_code = ?",
                    [&](SQLiteStatement& s) {
                        s.BindText(1, text);
                        s.BindInt(2, profile);
                        s.BindInt(3, 0);
                        s.BindInt(4, keyCode);
                    });
}

int DataStore::ListKeyAssignments(ProfileId profile, std::vector<KeyAssignmentRow>& rows) {
    Lock lock(m_lock);
    rows.clear();
    const int rc = Run(
        "ListKeyAssignments", "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?",
        [&](SQLiteStatement& s) {
            s.BindInt(1, profile);
            s.BindInt(2, 0);
        },
        [&](const SQLiteStatement& s) { rows.push_back(ReadKeyAssignment(s)); });
    return IsSuccessCode(rc) ? static_cast<int>(rows.size()) : -1;
}

bool DataStore::DeleteProfileKeyAssignments(ProfileId profile) {
    Lock lock(m_lock);
    return RunWrite("DeleteProfileKeyAssignments", "DELETE FROM t_key_macro_data WHERE profile = ?",
                    [&](SQLiteStatement& s) { s.BindInt(1, profile); });
}

// ---- Macros ----

int DataStore::InsertNamedMacro(std::string_view name) {
    Lock lock(m_lock);
    return RunInsert("InsertNamedMacro", kInsertMacroSql, [&](SQLiteStatement& s) {
        s.BindText(1, name);
        s.BindInt(2, 0);
        s.BindInt(3, 1);
        s.BindInt(4, 1);
        s.BindInt(5, 0);
    });
}

int DataStore::InsertMacro(const MacroRow& row) {
    Lock lock(m_lock);
    return RunInsert("InsertMacro", kInsertMacroSql, [&](SQLiteStatement& s) {
        s.BindText(1, row.name);
        s.BindInt(2, row.playType);
        s.BindInt(3, row.playTimes);
        s.BindInt(4, row.delayType);
        s.BindInt(5, row.delayTime);
    });
}

bool DataStore::RenameMacro(int macroId, std::string_view name) {
    Lock lock(m_lock);
    return RunWrite("RenameMacro", "UPDATE t_macro_data SET name = ? WHERE macro_id = ?",
                    [&](SQLiteStatement& s) {
                        s.BindText(1, name);
                        s.BindInt(2, macroId);
                    });
}

bool DataStore::UpdateMacro(const MacroRow& row) {
    Lock lock(m_lock);
    return RunWrite(
        "UpdateMacro",
        "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,"
        "delay_time = ? WHERE macro_id = ?",
        [&](SQLiteStatement& s) {
            s.BindText(1, row.name);
            s.BindInt(2, row.playType);
            s.BindInt(3, row.playTimes);
            s.BindInt(4, row.delayType);
            s.BindInt(5, row.delayTime);
            s.BindInt(6, row.macroId);
        });
}

bool DataStore::GetMacro(int macroId, MacroRow& row) {
    Lock lock(m_lock);
    bool found = false;
    Run(
        "GetMacro", "SELECT * FROM t_macro_data WHERE macro_id = ?",
        [&](SQLiteStatement& s) { s.BindInt(1, macroId); },
        [&](const SQLiteStatement& s) {
            row = ReadMacro(s);
            found = true;
        },
        true);
    return found;
}

int DataStore::ListMacros(std::vector<MacroRow>& rows) {
    Lock lock(m_lock);
    rows.clear();
    const int rc = Run("ListMacros", "SELECT * FROM t_macro_data", {},
                       [&](const SQLiteStatement& s) { rows.push_back(ReadMacro(s)); });
    return IsSuccessCode(rc) ? static_cast<int>(rows.size()) : -1;
}

bool DataStore::DeleteMacro(int macroId) {
    StoreTransaction transaction(*this);
    auto bindId = [&](SQLiteStatement& s) { s.BindInt(1, macroId); };
    if (RunWrite("DeleteMacro", "DELETE FROM t_macro_data WHERE macro_id = ?", bindId))
        RunWrite("DeleteMacro", "DELETE FROM t_macrorecord WHERE macro_id = ?", bindId);
    return transaction.Commit();
}

// ---- Macro events ----

int DataStore::InsertMacroRecord(const MacroRecordRow& row) {
    Lock lock(m_lock);
    return RunInsert("InsertMacroRecord", kInsertMacroRecordSql,
                     [&](SQLiteStatement& s) { BindMacroRecord(s, row); });
}

bool DataStore::InsertMacroRecords(const std::vector<MacroRecordRow>& rows) {
    StoreTransaction transaction(*this);
    // One prepared statement for all events: a 20,000-event macro is one short write.
    SQLiteStatement statement;
    if (m_db.Prepare(statement, kInsertMacroRecordSql) != SQLITE_OK) {
        NoteFailure("InsertMacroRecords");
        return false;
    }
    for (const MacroRecordRow& row : rows) {
        BindMacroRecord(statement, row);
        const int rc = statement.Step();
        if (rc != SQLITE_DONE) {
            LogLine("store: InsertMacroRecords failed (%d): %s", rc, m_db.ErrorMessage().c_str());
            NoteFailure("InsertMacroRecords");
            break;
        }
        statement.Reset();
    }
    statement.Finalize();
    return transaction.Commit();
}

bool DataStore::ReplaceMacroRecords(int macroId, const std::vector<MacroRecordRow>& rows) {
    StoreTransaction transaction(*this);
    if (DeleteMacroRecords(macroId)) InsertMacroRecords(rows);
    return transaction.Commit();
}

int DataStore::ListMacroRecords(int macroId, std::vector<MacroRecordRow>& rows) {
    Lock lock(m_lock);
    rows.clear();
    const int rc = Run(
        "ListMacroRecords",
        "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC",
        [&](SQLiteStatement& s) { s.BindInt(1, macroId); },
        [&](const SQLiteStatement& s) { rows.push_back(ReadMacroRecord(s)); });
    return IsSuccessCode(rc) ? static_cast<int>(rows.size()) : -1;
}

bool DataStore::DeleteMacroRecords(int macroId) {
    Lock lock(m_lock);
    return RunWrite("DeleteMacroRecords", "DELETE FROM t_macrorecord WHERE macro_id = ?",
                    [&](SQLiteStatement& s) { s.BindInt(1, macroId); });
}

}  // namespace kestrix
