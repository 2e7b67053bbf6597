// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <algorithm>
#include <array>

#include "base/ManPage.h"
#include "base/Version.h"

namespace kestrix {
namespace {

constexpr std::string_view kSummary = "configures Kestrix gaming mice";
constexpr std::string_view kDescription =
    "The window program: DPI stages, report rate, buttons, macros and lighting of the attached "
    "Kestrix mice, kept per profile in a database that kestrixctl shares. One instance runs per "
    "user; starting it again shows the running window.";

constexpr std::array kOptions{
    WindowOption{"--simulate", "[=NAME]",
                 "use simulated mice (scenario NAME; also KESTRIX_SIMULATE=NAME)"},
    WindowOption{"--log", "FILE", "append the device log to FILE"},
    WindowOption{"--hid-trace", "FILE", "write every HID report to FILE"},
    WindowOption{kHideSwitch, "", "start hidden: only the tray icon shows"},
    WindowOption{"--tour", "[=MS]",
                 "show every view for MS milliseconds (2000), logging \"view NAME shown\" for "
                 "each, then end (for unattended pictures and tests)"},
    WindowOption{"--help", "", "print the options and end"},
    WindowOption{"--version", "", "print the version and end"},
};

std::string Term(const WindowOption& option) {
    if (option.argument.empty()) return std::string(option.name);
    if (option.argument.front() == '[')
        return std::string(option.name) + std::string(option.argument);
    return std::string(option.name) + " " + std::string(option.argument);
}

std::string Help() {
    std::string text = "Usage: kestrix [OPTIONS]\n" + std::string(kDescription) + "\n\nOptions:\n";
    for (const WindowOption& option : kOptions) {
        std::string term = "  " + Term(option);
        term.resize(std::max<size_t>(term.size() + 2, 24), ' ');
        text += term + std::string(option.help) + "\n";
    }
    return text;
}

std::string Manual() {
    ManPage page;
    page.name = "kestrix";
    page.version = ProgramVersion();
    page.summary = kSummary;
    page.synopsis = "[OPTIONS]";
    page.description = kDescription;
    ManSection options{"OPTIONS", {}, {}};
    for (const WindowOption& option : kOptions)
        options.items.push_back({Term(option), std::string(option.help)});
    page.sections.push_back(options);
    page.sections.push_back(
        {"SEE ALSO",
         "kestrixctl(1), the command-line front end to the same mice and profiles.",
         {}});
    return RenderManPage(page);
}

}  // namespace

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        if (!text.empty()) text += ' ';
        text += argv[i];
    }
    return text;
}

bool HasHideSwitch(std::string_view commandLine) {
    return commandLine.find(kHideSwitch) != std::string_view::npos;
}

std::span<const WindowOption> WindowOptions() { return kOptions; }

std::optional<std::string> InformationRequest(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") return Help();
        if (argument == "--version") return "kestrix " + std::string(ProgramVersion()) + "\n";
        if (argument == "--man") return Manual();
    }
    return std::nullopt;
}

}  // namespace kestrix
