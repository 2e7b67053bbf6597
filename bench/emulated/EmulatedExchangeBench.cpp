// SPDX-License-Identifier: MIT
// The real back end (hidapi over hidraw) against an emulated mouse answered by the simulated
// firmware: one command exchange (write, then the read that finds the answer) and a full read
// of the mouse's settings (identity and every read command, as the worker's first read).
// Under emulation every hidraw call is a round trip to umockdev's handler thread, so these
// are upper bounds of the program's own cost, not the USB timing of a real mouse.

#include <benchmark/benchmark.h>

#include <memory>

#include "device/CommandFrame.h"
#include "device/DeviceTask.h"
#include "device/HidDeviceManager.h"
#include "device/HidapiBackend.h"
#include "device/WorkerTestBench.h"
#include "testbed/HidTestbed.h"

namespace kestrix {
namespace {

std::vector<DeviceFilterEntry> ShippedFilter() {
    return {{0x1209, 0x5A01, "", 101, 0, ""},
            {0x1209, 0x5A02, "", 102, 0, "FL02"},
            {0x1209, 0x5A03, "", 102, 1, "FL2R"},
            {0x1209, 0x5A04, "", 201, 0, "HP01"},
            {0x1209, 0x5A05, "", 201, 1, "HP1R"}};
}

struct Emulated {
    Emulated() {
        testbed.Plug(SimDevice::MakeCableMouse(*FindSimModel("harrier_pro"), "harrier_pro-cable"));
        manager = std::make_unique<HidDeviceManager>(std::make_shared<HidapiBackend>());
        manager->SetFilter(ShippedFilter());
        manager->Rebuild();
        manager->SetSelectedModel(201);
    }
    ~Emulated() { manager.reset(); }
    testing::HidTestbed testbed;
    std::unique_ptr<HidDeviceManager> manager;
};

void BM_EmulatedCommandExchange(benchmark::State& state) {
    Emulated bench;
    bool ok = true;
    for (auto _ : state) {
        ReportBuffer read = BuildReadRequest(command::kReadDpiStages);
        ok &= bench.manager->SendCommand(read, kShortWrite);
        benchmark::DoNotOptimize(read);
    }
    if (!ok) state.SkipWithError("an exchange failed");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_EmulatedCommandExchange)->Unit(benchmark::kMillisecond);

void BM_EmulatedRebuildAndIdentify(benchmark::State& state) {
    Emulated bench;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench.manager->Rebuild());
    }
}
BENCHMARK(BM_EmulatedRebuildAndIdentify)->Unit(benchmark::kMillisecond);

// The worker's first read of a mouse: rebuild, identity, every read command, stored.
void BM_EmulatedFullRead(benchmark::State& state) {
    Emulated bench;
    testing::TempFolder folder;
    DataStore store;
    RecordingObserver events;
    bool ok = true;
    for (auto _ : state) {
        DeviceWorker worker(*bench.manager, store, events, testing::WorkerConfig(folder.Path()));
        ok &= worker.RunTask(DeviceTask::RebuildAndRead).ok;
    }
    if (!ok) state.SkipWithError("a read failed");
}
BENCHMARK(BM_EmulatedFullRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrix

int main(int argc, char** argv) {
    if (!kestrix::testing::RunUnderUmockdev(argc, argv)) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
