// SPDX-License-Identifier: MIT
// The device worker's speed against simulated mice:
// - latency from queuing a task to its first HID write while the worker idles on a present
//   device (p50 and p99 over 1,000 tasks; the idle poll must give way within milliseconds);
// - a full read (ReadAllSettings) and a full write (WriteAll) at 1 ms per report, the pace of
//   a full-speed USB interrupt endpoint.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "device/DeviceTask.h"
#include "device/WorkerTestBench.h"
#include "store/DefaultLightRows.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void QueueToFirstWriteLatency(benchmark::State& state) {
    Log::SetSink([](std::string_view) {});
    testing::WorkerBench bench("vireo");
    bench.worker->RunTask(DeviceTask::RebuildAndRead);

    std::atomic<int64_t> firstWrite{0};
    HidTrace::SetSink([&](std::string_view line) {
        if (!line.empty() && line[0] == 'W') {
            int64_t expected = 0;
            firstWrite.compare_exchange_strong(expected, Clock::now().time_since_epoch().count());
        }
    });
    bench.worker->Start();
    std::mt19937 rng(7);
    std::vector<double> latencies;
    for (auto _ : state) {
        latencies.clear();
        for (int i = 0; i < 1000; ++i) {
            // Let the worker settle into its idle poll at a random point of a poll slice.
            std::this_thread::sleep_for(std::chrono::microseconds(3000 + rng() % 5000));
            firstWrite = 0;
            const auto queued = Clock::now();
            bench.worker->QueueTask(DeviceTask::WriteReportRate);
            while (firstWrite.load() == 0) std::this_thread::yield();
            const auto written = Clock::time_point(Clock::duration(firstWrite.load()));
            latencies.push_back(
                std::chrono::duration<double, std::milli>(written - queued).count());
            while (bench.worker->QueuedTasks() != 0) std::this_thread::yield();
        }
    }
    bench.worker->Stop();
    HidTrace::SetSink({});
    Log::SetSink({});
    std::sort(latencies.begin(), latencies.end());
    state.counters["p50_ms"] = latencies[latencies.size() / 2];
    state.counters["p99_ms"] = latencies[latencies.size() * 99 / 100];
    state.counters["max_ms"] = latencies.back();
}
BENCHMARK(QueueToFirstWriteLatency)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A worker over a cabled Harrier Pro (lighting, sensor 150) with its store open and lighting
// rows in place, the mouse answering at 1 ms per report.
struct SlowMouse {
    SlowMouse() {
        Log::SetSink([](std::string_view) {});
        bench.worker->RunTask(DeviceTask::RebuildAndRead);
        InsertDefaultLightRows(bench.store, bench.store.CurrentProfile(),
                               {true, true, true, true, true, true});
        bench.sim.Device("harrier_pro-cable")->SetReportDelay(1ms);
    }
    ~SlowMouse() { Log::SetSink({}); }
    testing::WorkerBench bench{"harrier_pro"};
};

void FullRead(benchmark::State& state) {
    SlowMouse mouse;
    DeviceContext context(*mouse.bench.sim.manager, mouse.bench.store, mouse.bench.events);
    context.UpdateState([](DeviceState& s) { s.selectedModel = 201; });
    SettingsReader reader(context);
    for (auto _ : state) {
        context.UpdateState([](DeviceState& s) { s.readModels.clear(); });
        if (!reader.ReadAllSettings()) state.SkipWithError("read failed");
    }
}
BENCHMARK(FullRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void FullWrite(benchmark::State& state) {
    SlowMouse mouse;
    DeviceContext context(*mouse.bench.sim.manager, mouse.bench.store, mouse.bench.events);
    context.UpdateState([](DeviceState& s) {
        s.selectedModel = 201;
        s.sensorCode = 150;
        s.maximumDpi = 38000;
        s.lightingPage = true;
        s.currentLightingEffect = 2;
    });
    SettingsReader reader(context);
    SettingsWriter writer(context, reader, nullptr);
    for (auto _ : state) writer.WriteAll();
}
BENCHMARK(FullWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kestrix

BENCHMARK_MAIN();
