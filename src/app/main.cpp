// SPDX-License-Identifier: MIT
// kestrix: the window program. Its options are listed in WindowOptions() (app/CommandLine).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/PlatformFactory.h"
#include "device/DiagnosticOptions.h"
#include "sim/SimulateOption.h"

int main(int argc, char** argv) {
    // Answered before any Qt object exists, so they need no display.
    if (const auto information = kestrix::InformationRequest(argc, argv)) {
        std::fputs(information->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (!kestrix::ApplyDiagnosticOptions(argc, argv)) return 2;
    const kestrix::BackendSelection backend = kestrix::SelectProcessBackend(argc, argv);
    if (!backend.ok) return 2;

    kestrix::LinuxPlatformFactory platform;
    kestrix::ApplicationOptions options;
    options.argc = argc;
    options.argv = argv;
    options.platform = &platform;
    options.watchHotplug = backend.simulated == nullptr;
    options.offerSessionBus = true;
    const kestrix::SimulateChoice simulate =
        kestrix::ParseSimulateOption(argc, argv, std::getenv("KESTRIX_SIMULATE"));
    if (simulate.simulate) options.simulation = simulate.scenario;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tour") == 0) options.viewTourDwellMs = 2000;
        // A shorter or longer dwell per view: "--tour=MS", 100 to 60000 ms.
        if (std::strncmp(argv[i], "--tour=", 7) == 0) {
            char* end = nullptr;
            const long dwell = std::strtol(argv[i] + 7, &end, 10);
            if (end == argv[i] + 7 || *end != 0 || dwell < 100 || dwell > 60000) {
                std::fprintf(stderr, "kestrix: --tour=MS needs MS from 100 to 60000\n");
                return 2;
            }
            options.viewTourDwellMs = static_cast<int>(dwell);
        }
    }
    return kestrix::RunApplication(options);
}
