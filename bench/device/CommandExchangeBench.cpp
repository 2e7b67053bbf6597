// SPDX-License-Identifier: MIT
// Exchanges per second through SendCommand against a simulated mouse: with no report delay
// (the cost of our own layer: framing, checksum, trace check, the simulated firmware) and
// with 1 ms per report (a full-speed USB interrupt endpoint: one write plus one read).

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "device/CommandFrame.h"
#include "device/HidDeviceManager.h"
#include "sim/SimBackend.h"
#include "sim/SimScenario.h"

namespace kestrix {
namespace {

std::vector<DeviceFilterEntry> ShippedFilter() {
    return {{0x1209, 0x5A01, "", 101, 0, ""},
            {0x1209, 0x5A02, "", 102, 0, "FL02"},
            {0x1209, 0x5A03, "", 102, 1, "FL2R"},
            {0x1209, 0x5A04, "", 201, 0, "HP01"},
            {0x1209, 0x5A05, "", 201, 1, "HP1R"}};
}

void ExchangeWithDelay(benchmark::State& state, std::chrono::microseconds delay) {
    auto backend = std::make_shared<SimBackend>();
    LoadSimScenario(*backend, "harrier_pro");
    HidDeviceManager manager(backend);
    manager.SetFilter(ShippedFilter());
    manager.Rebuild();
    manager.SetSelectedModel(201);
    backend->Find("harrier_pro-cable")->SetReportDelay(delay);
    const uint8_t rate[] = {0x01};
    bool ok = true;
    for (auto _ : state) {
        ReportBuffer read = BuildReadRequest(command::kReadDpiStages);
        ok &= manager.SendCommand(read, kShortWrite);
        ReportBuffer write = BuildWriteRequest(command::kReportRate, 0x01, rate);
        ok &= manager.SendCommand(write, kLongWrite);
        benchmark::DoNotOptimize(read);
        benchmark::DoNotOptimize(write);
    }
    if (!ok) {
        state.SkipWithError("an exchange failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 2);
}

void BM_SendCommandNoDelay(benchmark::State& state) {
    ExchangeWithDelay(state, std::chrono::microseconds(0));
}
void BM_SendCommand1msPerReport(benchmark::State& state) {
    ExchangeWithDelay(state, std::chrono::milliseconds(1));
}

BENCHMARK(BM_SendCommandNoDelay)->UseRealTime();
BENCHMARK(BM_SendCommand1msPerReport)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace kestrix

BENCHMARK_MAIN();
