// kestrix: the window program. Options: --simulate[=NAME] (simulated mice), --log FILE,
// --hid-trace FILE, -hide (start in the tray), --screenshots DIR (save a picture of every
// view and exit).
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Application.h"
#include "app/PlatformFactory.h"
#include "app/ScreenshotTour.h"
#include "device/DiagnosticOptions.h"
#include "sim/SimulateOption.h"

namespace {

// The folder after "--screenshots" (or "--screenshots=DIR"); empty when not asked for.
std::string ScreenshotFolder(int argc, char** argv) {
    const char* option = "--screenshots";
    const size_t length = std::strlen(option);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0 && i + 1 < argc) return argv[i + 1];
        if (std::strncmp(argv[i], option, length) == 0 && argv[i][length] == '=') return argv[i] + length + 1;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (!kestrix::ApplyDiagnosticOptions(argc, argv)) return 2;
    const kestrix::BackendSelection backend = kestrix::SelectProcessBackend(argc, argv);
    if (!backend.ok) return 2;

    kestrix::LinuxPlatformFactory platform;
    kestrix::ApplicationOptions options;
    options.argc = argc;
    options.argv = argv;
    options.platform = &platform;
    const std::string screenshots = ScreenshotFolder(argc, argv);
    if (!screenshots.empty()) {
        options.onWindowCreated = [screenshots](kestrix::DeviceMainDlg& window) {
            kestrix::StartScreenshotTour(window, screenshots);
        };
    }
    return kestrix::RunApplication(options);
}
