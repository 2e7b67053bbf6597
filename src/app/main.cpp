// SPDX-License-Identifier: MIT
// kestrix: the window program. Options: --simulate[=NAME] (simulated mice), --log FILE,
// --hid-trace FILE, -hide (start in the tray), --tour (show every view for 2 s, logging
// "view <name> shown" for each, then end; used for unattended pictures).
#include <cstring>

#include "app/Application.h"
#include "app/PlatformFactory.h"
#include "device/DiagnosticOptions.h"
#include "sim/SimulateOption.h"

int main(int argc, char** argv) {
    if (!kestrix::ApplyDiagnosticOptions(argc, argv)) return 2;
    const kestrix::BackendSelection backend = kestrix::SelectProcessBackend(argc, argv);
    if (!backend.ok) return 2;

    kestrix::LinuxPlatformFactory platform;
    kestrix::ApplicationOptions options;
    options.argc = argc;
    options.argv = argv;
    options.platform = &platform;
    options.watchHotplug = backend.simulated == nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tour") == 0) options.viewTourDwellMs = 2000;
    }
    return kestrix::RunApplication(options);
}
