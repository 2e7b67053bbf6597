// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "store/SQLiteDB.h"
#include "store/StoreRows.h"

namespace kestrix {

class SQLiteStatement;

// The per-model database: settings, profiles, button assignments, macros and lighting rows
// of one mouse model in "<data folder>db/<device_attr>_data2.db".
//
// Every table operation holds one recursive lock for its whole duration, so the UI thread
// and the device worker can call any operation at any time; other processes (kestrixctl,
// a second window) are waited for up to the busy timeout. Failures are results, never
// exceptions: false, 0 for inserts and single-value reads, -1 for list reads (an empty
// table is 0), so a read that failed never looks like an empty table. Each database failure
// leaves a log line, counts in FailureCount and goes to the failure listener. A closed store
// fails every operation that way. Text is UTF-8 throughout.
class DataStore {
  public:
    // The process-wide store, created on first use from any thread and closed at exit.
    static DataStore& Instance();

    // A private store (tests, tools); most code uses Instance().
    DataStore();
    ~DataStore();
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    // ---- Connection ----

    // Called with the reason whenever a statement fails (from the thread that ran it, with
    // the store's lock held: hand it on, do not block).
    using FailureListener = std::function<void(const std::string& reason)>;
    // Called with the new name of a damaged file the store moved aside (see OpenForModel).
    using MovedAsideListener = std::function<void(const std::string& movedTo)>;

    // Opens "<dataFolder>db/<deviceAttr>_data2.db" (dataFolder ends with '/'), creating the db
    // folder and the file when missing. Every open makes the file whole: write-ahead log,
    // then the fifteen schema statements (all IF NOT EXISTS) in one transaction, so a 0-byte
    // file or an interrupted first start is completed. A file that is not a database or
    // fails the quick integrity check is renamed to "<name>.damaged-YYYYMMDD-HHMMSS" beside
    // it (never deleted), a new store is created in its place, the log says so and the
    // moved-aside listener is told. A connection to another file is closed first. Returns
    // and remembers whether the store is usable.
    bool OpenForModel(const std::string& dataFolder, const std::string& deviceAttr);
    // Opens (creating when missing) the file at Path() and runs the schema as OpenForModel
    // does, without the damaged-file handling. True at once when a connection is open.
    bool CreateDatabase();
    // Closes the connection (before switching models); false when SQLite refused.
    bool Close();
    // True after a successful OpenForModel and until Close.
    bool IsOpened() const;
    // Database path (UTF-8) as last built by OpenForModel.
    std::string Path() const;

    // ---- Failures ----

    // Number of statements that failed since the store was made (reads and writes alike).
    // Comparing two readings tells whether anything in between was refused.
    unsigned FailureCount() const { return m_failureCount.load(); }
    // The reason of the last failure ("SetSetting: database or disk is full"); empty when
    // there was none.
    std::string LastFailure() const;
    void SetFailureListener(FailureListener listener);
    void SetMovedAsideListener(MovedAsideListener listener);
    // The name a damaged file was moved aside to by the last open, emptied by the call.
    std::string TakeMovedAsidePath();

    // ---- Current profile ----
    // The profile that editors, the worker and the exchange files work on (1 until set).
    // Kept here so the UI thread and the worker share one value; the store's own operations
    // always take the profile as an argument.
    ProfileId CurrentProfile() const { return m_currentProfile.load(); }
    // Makes profile the one later operations should work on (does not touch the table;
    // see SetActiveProfile for that).
    void SetCurrentProfile(ProfileId profile) { m_currentProfile.store(profile); }

    // ---- Settings (t_configdata) ----

    // Reads the text stored under key for profile into value (emptied first); false when
    // there is no such row.
    bool GetSetting(ProfileId profile, std::string_view key, std::string& value);
    // Updates the value of an existing row; true also when no row matched (nothing created).
    bool SetSetting(ProfileId profile, std::string_view key, std::string_view value);
    // Inserts one setting row (for a key the profile does not have yet); false on failure.
    bool InsertSetting(ProfileId profile, std::string_view key, std::string_view value);
    // Replaces keys with the setting keys stored for profile; returns the count, -1 when they
    // could not be read.
    int ListSettingKeys(ProfileId profile, std::vector<std::string>& keys);
    // GetSetting read as a decimal integer (non-numeric or out of 32-bit range reads as 0).
    bool GetSettingInt(ProfileId profile, std::string_view key, int& value);
    // SetSetting with the value written as "%d".
    bool SetSettingInt(ProfileId profile, std::string_view key, int value);
    // Inserts the forty default rows of a new profile in their fixed order, all or none
    // (false). Normally run by InsertProfile.
    bool InsertDefaultSettings(ProfileId profile);

    // ---- Profiles (t_profile_data) ----

    // Inserts an inactive profile with row.name and row.app, then its default settings, all
    // or nothing. Returns the new id, 0 on failure.
    ProfileId InsertProfile(const ProfileRow& row);
    // Stores a new name (an empty one too).
    bool RenameProfile(ProfileId profile, std::string_view name);
    // Reads the stored name (emptied first); false when the profile does not exist.
    bool GetProfileName(ProfileId profile, std::string& name);
    // Replaces rows with every profile in row-id order; returns the count, -1 when the table
    // could not be read.
    int ListProfiles(std::vector<ProfileRow>& rows);
    // Clears every profile's status, then marks profile active, in one transaction; false
    // (nothing changed) when either statement failed. An unknown id leaves no profile active.
    bool SetActiveProfile(ProfileId profile);
    // The first profile with status 1, 0 when none.
    ProfileId GetActiveProfile();

    // ---- Button assignments (t_key_macro_data) ----

    // Deletes the button's row, then inserts row unless macroValue and macroValue2 are
    // both 0, in one transaction. Returns the new key_id, 0 when nothing was inserted or the
    // change failed (then the old row is kept).
    int ReplaceKeyAssignment(const KeyAssignmentRow& row);
    // Reads the layer-0 row of the button; false when the button has no row.
    bool GetKeyAssignment(ProfileId profile, int keyCode, KeyAssignmentRow& row);
    // Changes the shown text of the button's layer-0 row.
    bool SetKeyAssignmentDesc(ProfileId profile, int keyCode, std::string_view text);
    // Replaces rows with the profile's layer-0 assignments in table order; returns the count,
    // -1 when they could not be read.
    int ListKeyAssignments(ProfileId profile, std::vector<KeyAssignmentRow>& rows);
    // Deletes every assignment of the profile.
    bool DeleteProfileKeyAssignments(ProfileId profile);

    // ---- Macros (t_macro_data) and their events (t_macrorecord) ----

    // Inserts a macro with default playback (play_type 0, play_times 1, delay_type 1,
    // delay_time 0); returns the new macro_id or 0.
    int InsertNamedMacro(std::string_view name);
    // Inserts row (its macroId is ignored); returns the new macro_id or 0.
    int InsertMacro(const MacroRow& row);
    // Stores a new macro name.
    bool RenameMacro(int macroId, std::string_view name);
    // Stores name and playback options of row.macroId.
    bool UpdateMacro(const MacroRow& row);
    // Reads one macro; false when it does not exist.
    bool GetMacro(int macroId, MacroRow& row);
    // Replaces rows with the whole library in table order; returns the count, -1 when it
    // could not be read.
    int ListMacros(std::vector<MacroRow>& rows);
    // Deletes the macro and its events in one transaction; true only when both worked.
    // Assignments that refer to it are left alone.
    bool DeleteMacro(int macroId);
    // Inserts one event (its recordId is ignored); returns the new record_id or 0.
    int InsertMacroRecord(const MacroRecordRow& row);
    // Deletes the macro's events and inserts rows in their place, in one transaction (the
    // macro editor's save); false when the store refused (the old events are kept).
    bool ReplaceMacroRecords(int macroId, const std::vector<MacroRecordRow>& rows);
    // Inserts every event in order inside one transaction, all or none (false).
    bool InsertMacroRecords(const std::vector<MacroRecordRow>& rows);
    // Replaces rows with the macro's events sorted by record_index; returns the count, -1
    // when they could not be read.
    int ListMacroRecords(int macroId, std::vector<MacroRecordRow>& rows);
    // Deletes every event of the macro.
    bool DeleteMacroRecords(int macroId);

    // ---- Lighting (t_light_data) ----

    // Number of lighting rows of the profile, -1 when they could not be counted.
    int CountLightRows(ProfileId profile);
    // Inserts row (its lightId is ignored); returns the new light_id or 0.
    int InsertLightRow(const LightRow& row);
    // Stores the parameters of row (brightness .. reserved) into the row of row.profile and
    // mode; name, mode and status are never changed. True also when no row matched.
    bool UpdateLightRow(int mode, const LightRow& row);
    // Clears every effect's status of the profile, then marks mode active, in one
    // transaction; false when either failed (a mode without row leaves no effect active).
    bool SetActiveLightMode(ProfileId profile, int mode);
    // Mode of the profile's active effect, 0 when none.
    int GetActiveLightMode(ProfileId profile);
    // Reads the profile's row for mode; false when there is none.
    bool GetLightRow(ProfileId profile, int mode, LightRow& row);
    // Replaces rows with the profile's lighting rows in table order; returns the count, -1
    // when they could not be read.
    int ListLightRows(ProfileId profile, std::vector<LightRow>& rows);

  private:
    friend class StoreTransaction;
    // What an open attempt found.
    enum class OpenOutcome { Ready, Damaged, Failed };

    // Opens m_path read-write (creating it), switches to the write-ahead log, runs the
    // schema in one transaction and the quick integrity check. Caller holds m_lock.
    OpenOutcome OpenAndComplete();
    // Renames the damaged file at m_path (and its -wal/-shm companions) aside; true when the
    // path is free for a new store (also when another process moved it first).
    bool MoveDamagedFileAside();
    // Counts, logs and reports one failed statement; marks an open transaction failed.
    void NoteFailure(const char* what);

    using Binder = std::function<void(SQLiteStatement&)>;
    using RowReader = std::function<void(const SQLiteStatement&)>;

    // Prepares sql, binds through bind, then steps: every result row goes to onRow (only the
    // first one when firstRowOnly). Returns the last step code (100 when stopped at the first
    // row), or the prepare failure. Logs failures under what. Caller holds m_lock.
    int Run(const char* what, const char* sql, const Binder& bind, const RowReader& onRow = {},
            bool firstRowOnly = false);
    // Run for a statement without result rows; true for the success codes 0, 100, 101.
    bool RunWrite(const char* what, const char* sql, const Binder& bind);
    // Run of an INSERT; the new row id, 0 on failure.
    int RunInsert(const char* what, const char* sql, const Binder& bind);

    SQLiteDB m_db;
    mutable std::recursive_mutex m_lock;
    std::string m_path;
    bool m_opened = false;
    std::atomic<ProfileId> m_currentProfile{1};
    std::atomic<unsigned> m_failureCount{0};
    std::string m_lastFailure;
    std::string m_movedAsidePath;
    FailureListener m_failureListener;
    MovedAsideListener m_movedAsideListener;
    int m_transactionDepth = 0;        // StoreTransaction scopes open on this store
    bool m_transactionFailed = false;  // a statement failed inside the open transaction
};

}  // namespace kestrix
