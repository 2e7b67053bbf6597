// SPDX-License-Identifier: MIT
// Cost of re-applying every text of the window after a language change. BM_PageRefresh is
// what the program does (each lookup checks the file's stamp and reuses its parsed content);
// BM_PageRefreshReadingEachTime reads, decodes and searches the file for every lookup, the
// cost that made the stamped reuse necessary.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/IniFile.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"

namespace {

constexpr int kLookupsPerRefresh = 300;

void BM_PageRefresh(benchmark::State& state) {
    kestrix::LanguageTexts::SetModuleFolder(KESTRIX_SOURCE_DATA);
    kestrix::SetCurrentLcid(static_cast<int>(state.range(0)));
    const auto& ids = kestrix::text::kUsedTextIds;
    for (auto _ : state) {
        size_t total = 0;
        for (int i = 0; i < kLookupsPerRefresh; ++i) {
            total += kestrix::GetLanText(ids[static_cast<size_t>(i) % ids.size()]).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["lookups"] = kLookupsPerRefresh;
}

void BM_PageRefreshReadingEachTime(benchmark::State& state) {
    const kestrix::IniFile file(std::string(KESTRIX_SOURCE_DATA) + "/language/" +
                                std::to_string(state.range(0)) + ".lan");
    const auto& ids = kestrix::text::kUsedTextIds;
    for (auto _ : state) {
        size_t total = 0;
        for (int i = 0; i < kLookupsPerRefresh; ++i) {
            const auto text = file.ReadText();
            const auto value = kestrix::IniFile::FindValue(
                *text, "LAN", std::to_string(ids[static_cast<size_t>(i) % ids.size()]));
            total += value ? value->size() : 0;
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["lookups"] = kLookupsPerRefresh;
}

}  // namespace

// 1058 and 1049 are the largest files, 2052 the smallest.
BENCHMARK(BM_PageRefresh)->Arg(1033)->Arg(2052)->Arg(1058)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageRefreshReadingEachTime)->Arg(1033)->Arg(1058)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
