// SPDX-License-Identifier: MIT
// The store shared by separate processes (window program, device worker, kestrixctl): each
// case forks real processes with their own connections to one database file.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "exchange/MacroFile.h"
#include "exchange/ProfileFile.h"
#include "rules/EnsureProfiles.h"
#include "store/DataStore.h"
#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"
#include "store/TempFolder.h"

namespace kestrix {
namespace {

constexpr const char* kModel = "vireo";
constexpr std::array<bool, 6> kAllEffects{true, true, true, true, true, true};
constexpr int kBigMacroEvents = 20000;

std::string LanText(int) { return "Profile"; }

// Runs body in a forked child; the child's exit code is body's result. The child leaves with
// _exit, so it runs no destructor of the parent's objects.
pid_t Spawn(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
}

// Exit code of the child, or 100 + signal number when it was killed.
int Reap(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Rows of table, counted over a connection of its own.
int CountRows(const std::string& dbPath, const std::string& table) {
    SQLiteDB db;
    if (!db.Open(dbPath, SQLITE_OPEN_READWRITE)) return -1;
    SQLiteStatement count;
    if (db.Prepare(count, ("SELECT count(*) FROM " + table).c_str()) != SQLITE_OK) return -1;
    return count.Step() == SQLITE_ROW ? count.ColumnInt(0) : -1;
}

class StoreProcesses : public ::testing::Test {
  protected:
    std::string DbPath() const { return data.path() + "db/" + kModel + "_data2.db"; }

    // A store with its four profiles and a file holding one macro of kBigMacroEvents events.
    void PrepareStoreAndBigMacroFile() {
        DataStore store;
        ASSERT_TRUE(store.OpenForModel(data.path(), kModel));
        ASSERT_EQ(EnsureProfiles(store, KESTRIX_SOURCE_DATA, kModel, LanText, kAllEffects), 1);
        const int id = store.InsertNamedMacro("big");
        std::vector<MacroRecordRow> events;
        for (int i = 0; i < kBigMacroEvents; ++i) events.push_back({0, id, i % 2, i, "A", 65, i});
        ASSERT_TRUE(store.InsertMacroRecords(events));
        macroFile = data.path() + "big.xml";
        ASSERT_TRUE(ExportMacro(store, id, macroFile));
        listFile = data.path() + "list.xml";
        ASSERT_TRUE(ExportAllMacros(store, listFile));
        ASSERT_TRUE(store.DeleteMacro(id));
    }

    // Every stored macro has all its events, and no event is left without its macro.
    void ExpectOnlyWholeMacros() {
        DataStore store;
        ASSERT_TRUE(store.OpenForModel(data.path(), kModel));
        std::vector<MacroRow> macros;
        ASSERT_GE(store.ListMacros(macros), 0);
        std::vector<MacroRecordRow> events;
        for (const MacroRow& macro : macros)
            EXPECT_EQ(store.ListMacroRecords(macro.macroId, events), kBigMacroEvents);
        store.Close();
        EXPECT_EQ(CountRows(DbPath(), "t_macrorecord"),
                  kBigMacroEvents * static_cast<int>(macros.size()));
    }

    test::TempFolder data;
    std::string macroFile;  // one macro
    std::string listFile;   // a macro list holding the same macro
};

// Two or three processes make their first start on a new data folder at the same moment.
TEST_F(StoreProcesses, SimultaneousFirstStartsEndWithOneSetOfProfiles) {
    for (int processes : {2, 3}) {
        for (int round = 0; round < 20; ++round) {
            test::TempFolder folder;
            int gate[2];
            ASSERT_EQ(pipe(gate), 0);
            std::vector<pid_t> children;
            for (int n = 0; n < processes; ++n) {
                children.push_back(Spawn([&] {
                    close(gate[1]);
                    char byte;
                    (void)!read(gate[0], &byte, 1);  // released together when the pipe closes
                    DataStore store;
                    if (!store.OpenForModel(folder.path(), kModel)) return 1;
                    return EnsureProfiles(store, KESTRIX_SOURCE_DATA, kModel, LanText,
                                          kAllEffects) > 0
                               ? 0
                               : 2;
                }));
            }
            close(gate[0]);
            close(gate[1]);
            for (pid_t child : children) EXPECT_EQ(Reap(child), 0);

            DataStore store;
            ASSERT_TRUE(store.OpenForModel(folder.path(), kModel));
            std::vector<ProfileRow> profiles;
            ASSERT_EQ(store.ListProfiles(profiles), 4) << processes << " processes";
            int active = 0;
            for (const ProfileRow& profile : profiles) {
                std::vector<std::string> keys;
                EXPECT_EQ(store.ListSettingKeys(profile.profile, keys), 40);
                EXPECT_EQ(store.CountLightRows(profile.profile), 6);
                active += profile.status == 1;
            }
            EXPECT_EQ(active, 1);
            if (HasFailure()) return;
        }
    }
}

// A reader and a second writer beside a process importing large macros: every read gets
// the real rows (never a failure or a half macro) and every write waits its turn.
TEST_F(StoreProcesses, ReadersAndWritersWaitForALongImport) {
    PrepareStoreAndBigMacroFile();
    const pid_t importer = Spawn([&] {
        DataStore store;
        if (!store.OpenForModel(data.path(), kModel)) return 1;
        for (int n = 0; n < 3; ++n) {
            if (!ImportMacro(store, macroFile)) return 2;
        }
        return 0;
    });

    DataStore store;
    ASSERT_TRUE(store.OpenForModel(data.path(), kModel));
    int rounds = 0;
    int status = 0;
    while (waitpid(importer, &status, WNOHANG) == 0) {
        std::vector<ProfileRow> profiles;
        ASSERT_EQ(store.ListProfiles(profiles), 4);
        std::vector<MacroRow> macros;
        ASSERT_GE(store.ListMacros(macros), 0);
        std::vector<MacroRecordRow> events;
        for (const MacroRow& macro : macros)
            ASSERT_EQ(store.ListMacroRecords(macro.macroId, events), kBigMacroEvents);
        ASSERT_TRUE(store.SetSettingInt(1 + rounds % 4, "dpi_index", rounds % 6));
        ++rounds;
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_GT(rounds, 0);
    std::vector<MacroRow> macros;
    EXPECT_EQ(store.ListMacros(macros), 3);
}

// A child that may not grow any file (as on a full disk) tries an import of each kind and an
// export over an existing file: each reports failure and leaves everything as it was.
TEST_F(StoreProcesses, RefusedWritesChangeNothing) {
    PrepareStoreAndBigMacroFile();
    const std::string profileFile = data.path() + "other.xml";
    {
        DataStore store;
        ASSERT_TRUE(store.OpenForModel(data.path(), kModel));
        ASSERT_TRUE(store.SetSetting(2, "dpi_group0_value", "4200"));
        ASSERT_TRUE(store.ReplaceKeyAssignment({0, 2, 0, 3, 0, "", 2, 7, 0, 0, "Key"}));
        ASSERT_TRUE(ExportProfile(store, 2, profileFile, true, {}));
    }
    const std::string exportTarget = data.path() + "old-export.xml";
    { std::ofstream(exportTarget, std::ios::binary) << "<macro>old bytes</macro>"; }
    const std::string dbBefore = ReadBytes(DbPath());

    const pid_t child = Spawn([&] {
        DataStore store;
        if (!store.OpenForModel(data.path(), kModel)) return 64;
        signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
        const rlimit noGrowth{0, 0};
        setrlimit(RLIMIT_FSIZE, &noGrowth);
        int wrong = 0;
        if (ImportMacro(store, macroFile)) wrong |= 1;
        if (ImportMacroList(store, listFile).complete) wrong |= 2;
        int queued = 0;
        if (ImportProfile(store, 1, profileFile, true, SettingLimits{},
                          [&](DeviceTask) { ++queued; })
                .imported ||
            queued > 0)
            wrong |= 4;
        if (ExportProfile(store, 1, exportTarget, true, {})) wrong |= 8;
        return wrong;
    });
    EXPECT_EQ(Reap(child), 0);

    EXPECT_EQ(ReadBytes(exportTarget), "<macro>old bytes</macro>");
    for (const auto& entry : std::filesystem::directory_iterator(data.path()))
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
    DataStore store;
    ASSERT_TRUE(store.OpenForModel(data.path(), kModel));
    std::vector<MacroRow> macros;
    EXPECT_EQ(store.ListMacros(macros), 0);
    std::string name;
    EXPECT_TRUE(store.GetProfileName(1, name));
    EXPECT_EQ(name, "Profile 1");
    std::string dpi;
    EXPECT_TRUE(store.GetSetting(1, "dpi_group0_value", dpi));
    EXPECT_NE(dpi, "4200");
    std::vector<KeyAssignmentRow> keys;
    EXPECT_EQ(store.ListKeyAssignments(1, keys), 0);
    store.Close();
    EXPECT_EQ(ReadBytes(DbPath()), dbBefore);
}

// An import killed at any moment leaves either the whole macro or none of it.
TEST_F(StoreProcesses, KilledImportLeavesWholeMacrosOnly) {
    PrepareStoreAndBigMacroFile();
    for (int delayMs : {5, 20, 45, 80, 130}) {
        const pid_t importer = Spawn([&] {
            DataStore store;
            if (!store.OpenForModel(data.path(), kModel)) return 1;
            for (;;) ImportMacro(store, macroFile);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        kill(importer, SIGKILL);
        EXPECT_EQ(Reap(importer), 100 + SIGKILL);
        ExpectOnlyWholeMacros();
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace kestrix
