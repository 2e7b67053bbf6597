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
// and the device worker can call any operation at any time. Failures are results, never
// exceptions: false, 0 for inserts and single-value reads, an empty list for list reads;
// each database failure also leaves a log line. A closed store fails every operation that
// way. Text is UTF-8 throughout.
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

    // Opens "<dataFolder>db/<deviceAttr>_data2.db" (dataFolder ends with '/'), creating the db
    // folder and, for a new file, the schema. An existing file is opened read-write and no
    // schema statement runs on it. A connection to another file is closed first. Returns
    // and remembers whether the store is usable.
    bool OpenForModel(const std::string& dataFolder, const std::string& deviceAttr);
    // Creates the file at Path() with all fifteen schema objects. True at once when a
    // connection is open; false when the file cannot be created or any statement failed
    // (the connection then stays open).
    bool CreateDatabase();
    // Closes the connection (before switching models); false when SQLite refused.
    bool Close();
    // True after a successful OpenForModel and until Close.
    bool IsOpened() const;
    // Database path (UTF-8) as last built by OpenForModel.
    std::string Path() const;

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
    // GetSetting read as a decimal integer (non-numeric or out of 32-bit range reads as 0).
    bool GetSettingInt(ProfileId profile, std::string_view key, int& value);
    // SetSetting with the value written as "%d".
    bool SetSettingInt(ProfileId profile, std::string_view key, int value);
    // Inserts the forty default rows of a new profile in their fixed order, one statement
    // each, going on after a failed one. Normally run by InsertProfile.
    void InsertDefaultSettings(ProfileId profile);

    // ---- Profiles (t_profile_data) ----

    // Inserts an inactive profile with row.name and row.app, then its default settings.
    // Returns the new id, 0 on failure (no settings are inserted then).
    ProfileId InsertProfile(const ProfileRow& row);
    // Stores a new name (an empty one too).
    bool RenameProfile(ProfileId profile, std::string_view name);
    // Reads the stored name (emptied first); false when the profile does not exist.
    bool GetProfileName(ProfileId profile, std::string& name);
    // Replaces rows with every profile in row-id order; returns the count.
    int ListProfiles(std::vector<ProfileRow>& rows);
    // Clears every profile's status, then marks profile active; returns the second
    // statement's success (so an unknown id leaves no profile active).
    bool SetActiveProfile(ProfileId profile);
    // The first profile with status 1, 0 when none.
    ProfileId GetActiveProfile();

    // ---- Button assignments (t_key_macro_data) ----

    // Deletes the button's row, then inserts row unless macroValue and macroValue2 are
    // both 0. Returns the new key_id, 0 when nothing was inserted or the insert failed.
    int ReplaceKeyAssignment(const KeyAssignmentRow& row);
    // Reads the layer-0 row of the button; false when the button has no row.
    bool GetKeyAssignment(ProfileId profile, int keyCode, KeyAssignmentRow& row);
    // Changes the shown text of the button's layer-0 row.
    bool SetKeyAssignmentDesc(ProfileId profile, int keyCode, std::string_view text);
    // Replaces rows with the profile's layer-0 assignments in table order; returns the count.
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
    // Replaces rows with the whole library in table order; returns the count.
    int ListMacros(std::vector<MacroRow>& rows);
    // Deletes the macro, then (only if that worked) its events; true only when both did.
    // Assignments that refer to it are left alone.
    bool DeleteMacro(int macroId);
    // Inserts one event (its recordId is ignored); returns the new record_id or 0.
    int InsertMacroRecord(const MacroRecordRow& row);
    // Inserts every event in order inside one transaction; single failures are skipped.
    void InsertMacroRecords(const std::vector<MacroRecordRow>& rows);
    // Replaces rows with the macro's events sorted by record_index; returns the count.
    int ListMacroRecords(int macroId, std::vector<MacroRecordRow>& rows);
    // Deletes every event of the macro.
    bool DeleteMacroRecords(int macroId);

    // ---- Lighting (t_light_data) ----

    // Number of lighting rows of the profile (0 also on failure).
    int CountLightRows(ProfileId profile);
    // Inserts row (its lightId is ignored); returns the new light_id or 0.
    int InsertLightRow(const LightRow& row);
    // Stores the parameters of row (brightness .. reserved) into the row of row.profile and
    // mode; name, mode and status are never changed. True also when no row matched.
    bool UpdateLightRow(int mode, const LightRow& row);
    // Clears every effect's status of the profile, then marks mode active; returns the
    // second statement's success (a mode without row leaves no effect active).
    bool SetActiveLightMode(ProfileId profile, int mode);
    // Mode of the profile's active effect, 0 when none.
    int GetActiveLightMode(ProfileId profile);
    // Reads the profile's row for mode; false when there is none.
    bool GetLightRow(ProfileId profile, int mode, LightRow& row);
    // Replaces rows with the profile's lighting rows in table order; returns the count.
    int ListLightRows(ProfileId profile, std::vector<LightRow>& rows);

  private:
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
};

}  // namespace kestrix
