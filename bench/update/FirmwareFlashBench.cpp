// SPDX-License-Identifier: MIT
// Flashing an image into the simulated boot loader with every report taking 1 ms, as a
// full-speed USB interrupt endpoint allows one report per millisecond. Reports how long an
// image takes and how close the transfer comes to that limit.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "device/DeviceMatching.h"
#include "device/FirmwareUpgrade.h"
#include "device/HidDeviceManager.h"
#include "device/SimTestBench.h"
#include "sim/SimBackend.h"
#include "sim/SimScenario.h"

namespace kestrix {
namespace {

void FlashImage(benchmark::State& state) {
    const size_t size = static_cast<size_t>(state.range(0)) * 1024;
    std::vector<uint8_t> image(size);
    for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 31 + 7);

    auto sim = std::make_shared<SimBackend>();
    LoadSimScenario(*sim, "vireo");
    auto device = sim->Find("vireo-cable");
    device->SetReportDelay(std::chrono::milliseconds(1));
    HidDeviceManager manager(sim);
    manager.SetFilter(BuildFilterList(testing::ShippedLines()));
    manager.Rebuild();
    manager.SetSelectedModel(101);
    FirmwareUpgrade upgrade(manager, {});

    const size_t reports =
        (size + kBootBlockBytes - 1) / kBootBlockBytes + 2;  // with enter and finish
    for (auto _ : state) {
        if (manager.OpenBootLoaderInterface(device->VendorId(), device->ProductId()) == nullptr) {
            state.SkipWithError("no boot-loader interface");
            return;
        }
        upgrade.SendBootReport(FirmwareUpgrade::EnterReport());
        upgrade.TransferImage(image.data(), image.size());
        upgrade.SendBootReport(FirmwareUpgrade::FinishReport());
        manager.CloseBootLoaderInterface();
    }
    const SimBootLoaderState loader = device->BootLoaderState();
    if (!loader.finished || loader.image.size() < size ||
        !std::equal(image.begin(), image.end(), loader.image.begin())) {
        state.SkipWithError("the boot loader does not hold the image");
    }
    state.counters["reports"] = static_cast<double>(reports);
    state.counters["reports_per_s"] = benchmark::Counter(
        static_cast<double>(reports), benchmark::Counter::kIsIterationInvariantRate);
    // Share of the limit of one report per millisecond, in per cent.
    state.counters["pct_of_limit"] = benchmark::Counter(
        static_cast<double>(reports) / 10.0, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

BENCHMARK(FlashImage)
    ->Arg(64)
    ->Arg(256)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace kestrix

BENCHMARK_MAIN();
