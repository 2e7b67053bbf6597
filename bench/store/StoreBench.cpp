// SPDX-License-Identifier: MIT
// Timings of the store operations the pages and the device worker use most, and of a full
// profile export and import. Each benchmark works on its own database in a temp folder.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/ProfileFile.h"
#include "store/DataStore.h"
#include "store/DefaultLightRows.h"

namespace kestrix {
namespace {

class BenchFolder {
  public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrix-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern + "/";
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

// A store with four profiles, as a new database has them.
struct BenchStore {
    BenchStore() {
        store.OpenForModel(folder.path(), "bench");
        for (int n = 1; n <= 4; ++n)
            store.InsertProfile({0, "Profile " + std::to_string(n), 0, "", 0});
        store.SetActiveProfile(1);
    }
    BenchFolder folder;
    DataStore store;
};

void BM_SetSetting(benchmark::State& state) {
    BenchStore bench;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            bench.store.SetSetting(2, "dpi_group1_value", std::to_string(100 + (i++ % 200) * 50)));
    }
}
BENCHMARK(BM_SetSetting);

void BM_GetSetting(benchmark::State& state) {
    BenchStore bench;
    std::string value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench.store.GetSetting(3, "doubleclick_time", value));
    }
}
BENCHMARK(BM_GetSetting);

void BM_InsertProfileWithDefaults(benchmark::State& state) {
    BenchStore bench;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench.store.InsertProfile({0, "Profile", 0, "", 0}));
    }
}
BENCHMARK(BM_InsertProfileWithDefaults);

// What the macro editor does on save: delete the events, then insert all in one transaction.
void BM_SaveMacro200Events(benchmark::State& state) {
    BenchStore bench;
    int macroId = bench.store.InsertNamedMacro("Macro 1");
    std::vector<MacroRecordRow> events;
    for (int i = 0; i < 200; ++i) {
        events.push_back(
            {0, macroId, i % 3, i, i % 3 == 2 ? "10 ms" : "A", i % 3 == 2 ? 10 : 65, 1000 + i});
    }
    for (auto _ : state) {
        bench.store.DeleteMacroRecords(macroId);
        bench.store.InsertMacroRecords(events);
    }
}
BENCHMARK(BM_SaveMacro200Events);

// What "macro list" and export-all read: every macro with its events, for a library of
// range(0) macros of 20 events each. range(1) = 0 drops the index on the events' macro id
// first, as files of earlier versions lacked it (the comparison with before).
void BM_ListMacrosWithEvents(benchmark::State& state) {
    BenchStore bench;
    const int count = static_cast<int>(state.range(0));
    for (int m = 0; m < count; ++m) {
        const int macroId = bench.store.InsertNamedMacro("Macro " + std::to_string(m + 1));
        std::vector<MacroRecordRow> events;
        for (int i = 0; i < 20; ++i) events.push_back({0, macroId, i % 3, i, "A", 65, 10});
        bench.store.InsertMacroRecords(events);
    }
    if (state.range(1) == 0) {
        sqlite3* db = nullptr;
        if (sqlite3_open(bench.store.Path().c_str(), &db) != SQLITE_OK ||
            sqlite3_exec(db, "DROP INDEX IF EXISTS macrorecordmacroindex", nullptr, nullptr,
                         nullptr) != SQLITE_OK) {
            state.SkipWithError("the index could not be dropped");
        }
        sqlite3_close(db);
    }
    std::vector<MacroRow> macros;
    std::vector<MacroRecordRow> records;
    for (auto _ : state) {
        bench.store.ListMacros(macros);
        size_t events = 0;
        for (const MacroRow& macro : macros) {
            bench.store.ListMacroRecords(macro.macroId, records);
            events += records.size();
        }
        if (events != static_cast<size_t>(count) * 20) state.SkipWithError("events missing");
    }
}
BENCHMARK(BM_ListMacrosWithEvents)
    ->ArgsProduct({{100, 300, 1000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A profile with every button assigned and six lighting rows.
BenchStore& FullProfile(BenchStore& bench) {
    for (int key = 0; key < 21; ++key)
        bench.store.ReplaceKeyAssignment({0, 1, 0, key, 0, "", 2, key + 1, 0, 0, "Key"});
    InsertDefaultLightRows(bench.store, 1, {true, true, true, true, true, true});
    InsertDefaultLightRows(bench.store, 2, {true, true, true, true, true, true});
    return bench;
}

void BM_ExportProfile(benchmark::State& state) {
    BenchStore bench;
    FullProfile(bench);
    std::string path = bench.folder.path() + "profile.xml";
    auto shown = [](const std::string& name) { return name; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExportProfile(bench.store, 1, path, true, shown));
    }
}
BENCHMARK(BM_ExportProfile);

void BM_ImportProfile(benchmark::State& state) {
    BenchStore bench;
    FullProfile(bench);
    std::string path = bench.folder.path() + "profile.xml";
    ExportProfile(bench.store, 1, path, true, [](const std::string& name) { return name; });
    int tasks = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ImportProfile(bench.store, 2, path, true, SettingLimits{}, [&](DeviceTask) {
                ++tasks;
            }).imported);
    }
}
BENCHMARK(BM_ImportProfile);

}  // namespace
}  // namespace kestrix

BENCHMARK_MAIN();
